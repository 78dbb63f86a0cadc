#include "prefs/Zimtone2ApplicationSelector.h"

#include <cstdio>
#include <mutex>

#include "colour/bridge/HexColors.h"
#include "platform/foundation/SettingsFile.h"
#include "platform/uikit/controllers/UIAlertController.h"
#include "prefs/ApplicationColorViewer.h"
#include "prefs/app_colours.h"
#include "prefs/app_list.h"
#include "prefs/hex_entry.h"
#include "settings/Keys.h"

namespace zimtone::prefs {

using namespace platform::runtime;
using platform::foundation::ns;
using platform::foundation::NSMutableDictionary;
using platform::foundation::NSString;
using platform::uikit::UIAlertAction;
using platform::uikit::UIAlertController;

Class Zimtone2ApplicationSelector::runtime_class() {
    static Class cls = [] {
        ClassBuilder<Zimtone2ApplicationSelector> builder("Zimtone2ApplicationSelector",
                                                          PSListController::runtime_class());
        add_page_methods(builder)
            .method<&Zimtone2ApplicationSelector::specifiers>("specifiers")
            .method<&Zimtone2ApplicationSelector::customAppSpecifier>(
                "customAppSpecifierWithDisplayName:andIconImage:andBundleID:")
            .method<&Zimtone2ApplicationSelector::alertID>("alertID:")
            .method<&Zimtone2ApplicationSelector::saveHexForKeyAndHexColor>("saveHexForKey:andHexColor:")
            .method<&Zimtone2ApplicationSelector::tableViewDidSelectRowAtIndexPath>(
                "tableView:didSelectRowAtIndexPath:")
            .method<&Zimtone2ApplicationSelector::clickedIndexPath>("clickedIndexPath")
            .class_method<&Zimtone2ApplicationSelector::allAppIdentifiers>("allAppIdentifiers")
            .function<&Zimtone2ApplicationSelector::allAppIdentifiers>("allAppIdentifiers");
        return builder.get();
    }();
    return cls;
}

Ref<NSArray> Zimtone2ApplicationSelector::allAppIdentifiers(Object*) {
    // Process-wide and immutable once built: apps installed later wait for a restart.
    static std::once_flag once;
    static Ref<NSArray> identifiers;
    std::call_once(once, [] {
        auto list = platform::applist::ALApplicationList::sharedApplicationList();
        auto applications = list->applications();
        std::vector<Ref<Object>> items;
        for (const auto& id : listed_app_identifiers(*applications))
            items.push_back(ns(id));
        identifiers = NSArray::create(std::move(items));
    });
    return identifiers;
}

Ref<NSArray> Zimtone2ApplicationSelector::specifiers() {
    if (specifiers_)
        return specifiers_;
    apps_ = platform::applist::ALApplicationList::sharedApplicationList();
    auto rows = platform::foundation::NSMutableArray::create();
    for (const auto& item : allAppIdentifiers()->items()) {
        auto* id = dynamic_cast<NSString*>(item.get());
        Ref<Object> name = apps_->valueForKeyForDisplayIdentifier(ns("displayName").get(), id);
        auto icon = apps_->iconOfSizeForDisplayIdentifier(29, id);
        rows->addObject(customAppSpecifier(dynamic_cast<NSString*>(name.get()), icon.get(), id));
    }
    specifiers_ = rows;
    return specifiers_;
}

Ref<PSSpecifier> Zimtone2ApplicationSelector::customAppSpecifier(NSString* name,
                                                                 platform::uikit::UIImage* icon,
                                                                 NSString* bundle_id) {
    auto row = PSSpecifier::preferenceSpecifierNamed(name, this, nullptr, nullptr, nullptr,
                                                     platform::preferences::PSStaticTextCell, nullptr);
    row->properties()->set("cellClass", Ref<Object>(objc_getClass("ApplicationColorViewer")));
    if (icon)
        row->properties()->set("iconImage", Ref<Object>(icon));
    if (bundle_id)
        row->properties()->set("bundleID", Ref<Object>(bundle_id));
    row->setButtonAction("alertID:"_sel);
    return row;
}

void Zimtone2ApplicationSelector::tableViewDidSelectRowAtIndexPath(Object* table, PSIndexPath* path) {
    PSListController::tableViewDidSelectRowAtIndexPath(table, path);
    Ref<Object> cell = tableViewCellForRowAtIndexPath(table, path);
    if (dynamic_cast<ApplicationColorViewer*>(cell.get()))
        clicked_ = path;
}

void Zimtone2ApplicationSelector::alertID(PSSpecifier* specifier) {
    if (!specifier)
        return;
    const std::string* bundle = specifier->string_property("bundleID");
    std::string bundle_id = bundle ? *bundle : "";
    auto alert = UIAlertController::alertControllerWithTitle(kHexDialogTitle, bundle_id,
                                                             platform::uikit::UIAlertControllerStyleAlert);
    alert->addTextFieldWithConfigurationHandler([](platform::uikit::UITextField* field) {
        field->setKeyboardType(platform::uikit::UIKeyboardTypeDefault);
    });
    Ref<platform::uikit::UITextField> field = alert->textFields().front();
    alert->addAction(
        UIAlertAction::actionWithTitle("Cancel", platform::uikit::UIAlertActionStyleDefault,
                                       [](UIAlertAction*) { std::fprintf(stderr, "cancel btn\n"); }));
    alert->addAction(UIAlertAction::actionWithTitle(
        "Save", platform::uikit::UIAlertActionStyleDefault, [this, field, bundle_id](UIAlertAction*) {
            std::string text = field->text()->str();
            auto hex = hex_from_entry(text);
            if (NSString(text).length() == 7 && text.size() >= 6)
                field->setText(ns(text.substr(text.size() - 6)).get());
            if (!hex) {
                show_not_hex();
                return;
            }
            saveHexForKeyAndHexColor(ns(bundle_id).get(), ns(*hex).get());
        }));
    presentViewControllerAnimatedCompletion(alert.get(), true, nullptr);
}

void Zimtone2ApplicationSelector::show_not_hex() {
    auto error = UIAlertController::alertControllerWithTitle(kNotHexTitle, kNotHexMessage,
                                                             platform::uikit::UIAlertControllerStyleAlert);
    error->addAction(
        UIAlertAction::actionWithTitle("OK", platform::uikit::UIAlertActionStyleDefault, nullptr));
    presentViewControllerAnimatedCompletion(error.get(), true, nullptr);
}

void Zimtone2ApplicationSelector::saveHexForKeyAndHexColor(NSString* bundle_id, NSString* hex) {
    if (!bundle_id || !hex)
        return;
    const std::string b = bundle_id->str(), h = hex->str();
    auto written = platform::foundation::update_dictionary_file(
        zimtone::settings::kSettingsFile, [&](NSMutableDictionary& file) {
            file.set(zimtone::settings::kPerAppColoursKey,
                     with_app_colour(file.get(zimtone::settings::kPerAppColoursKey).get(), b, h));
        });
    if (!written) {
        show_write_failure(
            "the colour of " + b, written.error(), [&](const NSDictionary& file) -> std::string {
                auto stored = first_app_colour(file.get(zimtone::settings::kPerAppColoursKey).get(), b);
                return stored ? "\"" + *stored + "\"" : "no colour for it";
            });
        return;
    }
    Ref<Object> cell = tableViewCellForRowAtIndexPath(nullptr, clicked_.get());
    msg(cell, "stopUnicorn"_sel);
    Ref<Object> colour = zimtone::colour::bridge::colorWithHexString(hex);
    msg(cell, "changeColorTo:"_sel, static_cast<Object*>(colour.get()));
}

} // namespace zimtone::prefs
