#include "sim/hosts/SettingsHostPane.h"

#include <dlfcn.h>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/PropertyList.h"
#include "platform/preferences/SLComposeViewController.h"
#include "platform/preferences/control_values.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/ViewDump.h"
#include "platform/uikit/controllers/UIAlertController.h"
#include "platform/uikit/controllers/UINavigationItem.h"

namespace zimtone::sim {

using namespace platform::runtime;
using nlohmann::json;
using platform::foundation::Failure;
using platform::foundation::NSArray;
using platform::foundation::NSNumber;
using platform::foundation::NSString;
using platform::foundation::Result;
using platform::preferences::PSIndexPath;
using platform::preferences::PSListController;
using platform::preferences::PSSpecifier;
using platform::preferences::PSTableCell;
using platform::uikit::UIAlertController;
using platform::uikit::UIBarButtonItem;
using platform::uikit::UIViewController;

Result<void> SettingsHostPane::load() {
    std::string bundle = kPaneBundleDir;
    auto info = platform::foundation::read_dictionary_file(bundle + "/Info.plist");
    const std::string* executable =
        info ? platform::foundation::string_of(info->get("CFBundleExecutable").get()) : nullptr;
    const std::string* principal =
        info ? platform::foundation::string_of(info->get("NSPrincipalClass").get()) : nullptr;
    if (!executable || !principal)
        return Failure{"no preference bundle at " + bundle +
                       " (Info.plist with CFBundleExecutable and NSPrincipalClass)"};
    std::string library = platform::foundation::resolve_device_path(bundle + "/" + *executable).string();
    library_ = dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!library_)
        return Failure{std::string("cannot load the pane: ") + dlerror()};
    Ref<Object> instance = class_createInstance(objc_getClass(principal->c_str()));
    Ref<Object> root = msg<Ref<Object>>(instance, "init"_sel);
    auto* page = dynamic_cast<PSListController*>(root.get());
    if (!page)
        return Failure{"the bundle's principal class " + *principal + " is no settings page"};
    page->set_bundle_path(bundle);
    navigation_ = platform::uikit::UINavigationController::with_root(page);
    auto resource = platform::foundation::read_dictionary_file(bundle + "/Zimtone2.plist");
    const std::string* title =
        resource ? platform::foundation::string_of(resource->get("title").get()) : nullptr;
    titles_ = {title ? *title : *principal};
    return {};
}

PSListController* SettingsHostPane::top() const {
    return navigation_ ? dynamic_cast<PSListController*>(navigation_->topViewController()) : nullptr;
}

// The root page asks for a respring with the button at its left; a page above it shows the same
// button, so that a change that needs one says so where it was made.
UIBarButtonItem* SettingsHostPane::respring_button() const {
    if (!navigation_)
        return nullptr;
    return navigation_->stack().front()->navigationItem()->leftBarButtonItem();
}

UIViewController* SettingsHostPane::presented() const {
    if (!navigation_)
        return nullptr;
    if (auto* shown = navigation_->topmost_presented())
        return shown;
    auto* page = top();
    return page ? page->topmost_presented() : nullptr;
}

namespace {

json value_json(const Object* value) {
    if (auto* number = dynamic_cast<const NSNumber*>(value)) {
        if (number->kind() == NSNumber::Kind::Bool)
            return number->boolValue();
        return number->doubleValue();
    }
    if (auto* text = platform::foundation::string_of(value))
        return *text;
    return nullptr;
}

const char* cell_name(int64_t type) {
    switch (type) {
    case platform::preferences::PSGroupCell:
        return "group";
    case platform::preferences::PSLinkCell:
        return "link";
    case platform::preferences::PSSliderCell:
        return "slider";
    case platform::preferences::PSSwitchCell:
        return "switch";
    case platform::preferences::PSStaticTextCell:
        return "static";
    case platform::preferences::PSEditTextCell:
        return "text";
    case platform::preferences::PSButtonCell:
        return "button";
    default:
        return "other";
    }
}

std::string bundle_file_url(const platform::uikit::UIImage* image, const std::string* name) {
    return image && name ? "/bundle/" + *name : "";
}

// What the custom cells hold, read from their views as the screen would draw them.
void describe_cell(PSTableCell* cell, json& out) {
    if (!cell)
        return;
    std::string cls = class_getName(cell->isa());
    out["cellClass"] = cls;
    PSSpecifier* item = cell->specifier();
    if (cls == "ApplicationColorViewer") {
        auto* disc = dynamic_cast<platform::uikit::UIImageView*>(
            msg<Ref<Object>>(cell, "applicationIconView"_sel).get());
        if (disc && disc->image() && !disc->image()->image().pixels.empty()) {
            const auto& p = disc->image()->image().pixels;
            out["disc"] = {p[0], p[1], p[2], p[3]};
        }
        out["cycling"] = object_getIvarNamed(cell, "timer") != nullptr;
        if (const std::string* id = item ? item->string_property("bundleID") : nullptr) {
            out["bundleID"] = *id;
            if (cell->iconImageView())
                out["icon"] = "/icons/" + *id;
        }
    } else if (cls == "ZimtoneHeaderTable") {
        auto* gradient =
            dynamic_cast<platform::uikit::CAGradientLayer*>(object_getIvarNamed(cell, "gradient"));
        json colours = json::array();
        if (gradient)
            for (const auto* c : gradient->colour_list())
                colours.push_back(platform::uikit::dump_colour(c));
        out["gradient"] = colours;
        auto* mask = dynamic_cast<platform::uikit::CALayer*>(object_getIvarNamed(cell, "maskLayer"));
        out["mask"] = bundle_file_url(mask ? mask->contents() : nullptr,
                                      item ? item->string_property("headerImage") : nullptr);
    } else if (cls == "CreditCell") {
        for (auto [ivar, field] :
             {std::pair{"_devNameLabel", "name"}, {"_twitterLabel", "handle"}, {"_jobLabel", "job"}}) {
            auto* label = dynamic_cast<platform::uikit::UILabel*>(object_getIvarNamed(cell, ivar));
            out[field] = label && label->text() ? label->text()->str() : "";
        }
        auto* portrait =
            dynamic_cast<platform::uikit::UIImageView*>(object_getIvarNamed(cell, "_devImageView"));
        out["portrait"] = bundle_file_url(portrait ? portrait->image() : nullptr,
                                          item ? item->string_property("devImage") : nullptr);
    }
}

} // namespace

json SettingsHostPane::row(PSListController* page, int64_t index) const {
    auto item = page->specifier_at(index);
    json out = {{"index", index}, {"cell", cell_name(item->cellType())}};
    if (item->name())
        out["label"] = item->name()->str();
    for (const char* property : {"key", "footerText", "min", "max", "height"})
        if (Ref<Object> v = item->properties()->get(property))
            out[property] = value_json(v.get());
    if (item->getter() && item->target())
        out["value"] = value_json(
            msg<Ref<Object>>(item->target(), item->getter(), static_cast<Object*>(item.get())).get());
    if (item->buttonAction())
        out["action"] = sel_getName(item->buttonAction());
    if (item->detailControllerClass())
        out["detail"] = class_getName(item->detailControllerClass());
    if (item->properties()->get("cellClass")) {
        Ref<Object> cell =
            msg<Ref<Object>>(page, "tableView:cellForRowAtIndexPath:"_sel, static_cast<Object*>(nullptr),
                             static_cast<Object*>(PSIndexPath::indexPathForRow(index, 0).get()));
        describe_cell(dynamic_cast<PSTableCell*>(cell.get()), out);
    }
    return out;
}

json SettingsHostPane::page() const {
    if (!navigation_)
        return {{"error", "the pane is not loaded"}};
    PSListController* page = top();
    json rows = json::array();
    auto list = msg<Ref<NSArray>>(page, "specifiers"_sel);
    for (uint64_t i = 0; list && i < list->count(); ++i)
        if (dynamic_cast<PSSpecifier*>(list->objectAtIndex(i).get()))
            rows.push_back(row(page, static_cast<int64_t>(i)));
    auto* root_item = navigation_->stack().front()->navigationItem();
    auto* left = respring_button();
    json out = {{"title", titles_.back()},
                {"depth", navigation_->stack().size()},
                {"class", class_getName(page->isa())},
                {"rows", rows},
                {"respring", left && left->title() ? json(left->title()->str()) : json(nullptr)},
                {"heart", page == navigation_->stack().front().get() && root_item->rightBarButtonItems() &&
                              root_item->rightBarButtonItems()->count() > 0},
                {"openedURLs", platform::uikit::UIApplication::shared().opened_urls}};
    if (auto* shown = presented()) {
        if (auto* alert = dynamic_cast<UIAlertController*>(shown)) {
            json fields = json::array(), actions = json::array();
            for (auto& f : alert->textFields())
                fields.push_back(f->text()->str());
            for (auto& a : alert->actions())
                actions.push_back(a->title() ? a->title()->str() : "");
            out["alert"] = {{"title", alert->title() ? alert->title()->str() : ""},
                            {"message", alert->message() ? alert->message()->str() : ""},
                            {"textFields", fields},
                            {"actions", actions}};
        } else if (auto* sheet = dynamic_cast<platform::preferences::SLComposeViewController*>(shown)) {
            out["share"] = {
                {"service", sheet->service_type()}, {"text", sheet->initial_text()}, {"urls", sheet->urls()}};
        }
    }
    return out;
}

namespace {
Ref<Object> object_from_json(const json& v) {
    if (v.is_boolean())
        return NSNumber::numberWithBool(v.get<bool>());
    if (v.is_number())
        return NSNumber::numberWithDouble(v.get<double>());
    if (v.is_string())
        return platform::foundation::ns(v.get<std::string>());
    return nullptr;
}
// A value as the error shows it: short whatever was sent, and cut between characters so that the
// error stays valid UTF-8.
std::string excerpt(const json& value) {
    std::string text = value.dump();
    size_t shown = 40;
    if (text.size() <= shown)
        return text;
    while (shown > 0 && (static_cast<unsigned char>(text[shown]) & 0xC0) == 0x80)
        --shown;
    return text.substr(0, shown) + "... (" + std::to_string(text.size()) + " bytes)";
}
std::string row_name(const PSSpecifier& item, int64_t index) {
    const std::string* key = item.string_property("key");
    return "row " + std::to_string(index) + (key ? " (" + *key + ")" : "");
}
int64_t index_of(const json& action, const char* field) {
    auto it = action.find(field);
    return it != action.end() && it->is_number_integer() ? it->get<int64_t>() : -1;
}
} // namespace

Result<void> SettingsHostPane::tap(const json& action) {
    int64_t index = index_of(action, "row");
    auto item = top()->specifier_at(index);
    if (!item)
        return Failure{"no row " + std::to_string(index) + " on this page"};
    size_t depth = navigation_->stack().size();
    msg(top(), "tableView:didSelectRowAtIndexPath:"_sel, static_cast<Object*>(nullptr),
        static_cast<Object*>(PSIndexPath::indexPathForRow(index, 0).get()));
    if (navigation_->stack().size() > depth)
        titles_.push_back(item->name() ? item->name()->str() : "");
    return {};
}

Result<void> SettingsHostPane::set(const json& action) {
    int64_t index = index_of(action, "row");
    auto item = top()->specifier_at(index);
    if (!item)
        return Failure{"no row " + std::to_string(index) + " on this page"};
    Ref<Object> value = action.contains("value") ? object_from_json(action["value"]) : nullptr;
    if (!value)
        return Failure{"a value must be true, false, a number or a text"};
    if (!item->setter() || !item->target())
        return Failure{"row " + std::to_string(index) + " has no value to set"};
    if (auto accepted =
            platform::preferences::refused_control_value(item->cellType(), *item->properties(), value.get()))
        return Failure{row_name(*item, index) + " accepts " + *accepted + ", not " +
                       excerpt(action["value"])};
    msg(item->target(), item->setter(), static_cast<Object*>(value.get()), static_cast<Object*>(item.get()));
    return {};
}

Result<void> SettingsHostPane::back(const json&) {
    if (navigation_->stack().size() < 2)
        return Failure{"already on the first page"};
    navigation_->popViewControllerAnimated(true);
    titles_.pop_back();
    return {};
}

Result<void> SettingsHostPane::respring(const json&) {
    UIBarButtonItem* button = respring_button();
    if (!button)
        return Failure{"no Respring button is shown"};
    button->tap();
    return {};
}

Result<void> SettingsHostPane::heart(const json&) {
    auto* items = navigation_->stack().front()->navigationItem()->rightBarButtonItems();
    if (top() != navigation_->stack().front().get() || !items || items->count() == 0)
        return Failure{"no heart button is shown"};
    if (auto* button = dynamic_cast<UIBarButtonItem*>(items->objectAtIndex(items->count() - 1).get()))
        button->tap();
    return {};
}

Result<void> SettingsHostPane::alert(const json& action) {
    auto* alert = dynamic_cast<UIAlertController*>(presented());
    if (!alert)
        return Failure{"no dialog is open"};
    if (auto texts = action.find("texts"); texts != action.end() && texts->is_array())
        for (size_t i = 0; i < texts->size() && i < alert->textFields().size(); ++i)
            if ((*texts)[i].is_string())
                alert->textFields()[i]->setText(
                    platform::foundation::ns((*texts)[i].get<std::string>()).get());
    int64_t index = index_of(action, "action");
    if (index < 0 || !alert->tap_action(static_cast<size_t>(index)))
        return Failure{"the dialog has no such button"};
    return {};
}

Result<void> SettingsHostPane::share(const json&) {
    auto* sheet = dynamic_cast<platform::preferences::SLComposeViewController*>(presented());
    if (!sheet)
        return Failure{"no share sheet is open"};
    sheet->dismissViewControllerAnimatedCompletion(true, nullptr);
    return {};
}

namespace {
// Each action a person can take on the pane; only the dialog's own ones are taken while a dialog
// or sheet is up, as on the device.
struct PaneAction {
    std::string_view type;
    Result<void> (SettingsHostPane::*run)(const json&);
    bool answers_dialog;
};
} // namespace

Result<json> SettingsHostPane::act(const json& action) {
    static constexpr PaneAction kActions[] = {
        {"tap", &SettingsHostPane::tap, false},     {"set", &SettingsHostPane::set, false},
        {"back", &SettingsHostPane::back, false},   {"respring", &SettingsHostPane::respring, false},
        {"heart", &SettingsHostPane::heart, false}, {"alert", &SettingsHostPane::alert, true},
        {"share", &SettingsHostPane::share, true},
    };
    if (!navigation_)
        return Failure{"the pane is not loaded"};
    std::string type = action.is_object() && action.contains("type") && action["type"].is_string()
                           ? action["type"].get<std::string>()
                           : "";
    const PaneAction* found = nullptr;
    for (const auto& candidate : kActions)
        if (candidate.type == type)
            found = &candidate;
    if (presented() && !(found && found->answers_dialog))
        return Failure{"a dialog is open; answer it first"};
    if (!found)
        return Failure{"unknown action '" + type + "'"};
    if (auto done = (this->*found->run)(action); !done)
        return Failure{done.error()};
    return page();
}

} // namespace zimtone::sim
