#include "prefs/SettingsPage.h"

#include "platform/foundation/NotifyCenter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SettingsFile.h"
#include "platform/uikit/controllers/UIAlertController.h"
#include "platform/uikit/controllers/UINavigationController.h"
#include "settings/Keys.h"

namespace zimtone::prefs {

using namespace platform::runtime;
using platform::foundation::NSMutableDictionary;
using platform::uikit::UIAlertAction;
using platform::uikit::UIAlertController;

void post_darwin_notification(const std::string& name) {
    using namespace platform::foundation;
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name.c_str(), nullptr,
                                         nullptr, true);
}

Ref<NSArray> SettingsPage::specifiers() {
    if (!specifiers_ && resource_)
        specifiers_ = loadSpecifiersFromPlistNameTarget(platform::foundation::ns(resource_).get(), this);
    return PSListController::specifiers();
}

Ref<Object> SettingsPage::readPreferenceValue(PSSpecifier* specifier) {
    if (!specifier)
        return nullptr;
    auto file = platform::foundation::read_dictionary_or_empty(zimtone::settings::kSettingsFile);
    return value_to_show(*file, *specifier->properties());
}

void SettingsPage::setPreferenceValueSpecifier(Object* value, PSSpecifier* specifier) {
    const std::string* key_property = specifier ? specifier->string_property("key") : nullptr;
    if (!key_property || !value)
        return; // a row without a key, or no value, has nothing to store
    const std::string key = *key_property;
    auto written = platform::foundation::update_dictionary_file(
        zimtone::settings::kSettingsFile,
        [&](NSMutableDictionary& file) { file.set(key, Ref<Object>(value)); });
    if (!written)
        show_write_failure(key, written.error(),
                           [&](const NSDictionary& file) { return describe_value(file.get(key).get()); });
    if (needs_restart(page_, key))
        respringNeeded();
    if (const std::string* name = specifier->string_property("PostNotification"))
        post_darwin_notification(*name);
}

void SettingsPage::respringNeeded() {
    auto* nav = navigationController();
    if (!nav || nav->stack().size() < 2)
        return;
    Object* below = nav->stack()[nav->stack().size() - 2].get();
    if (msg<bool>(below, "respondsToSelector:"_sel, "respringNeededActivate"_sel))
        msg(below, "respringNeededActivate"_sel);
}

void SettingsPage::show_write_failure(
    const std::string& what, const std::string& error,
    const std::function<std::string(const NSDictionary&)>& describe_stored) {
    using platform::foundation::DictionaryFileReading;
    auto file = platform::foundation::read_dictionary_file_or_problem(zimtone::settings::kSettingsFile);
    std::string message = "Could not save " + what + " (" + error + "). ";
    if (file.outcome == DictionaryFileReading::Outcome::Unreadable)
        message += "The settings file cannot be read, so it was left as it is.";
    else
        message += "The settings file holds " +
                   describe_stored(file.dictionary ? *file.dictionary : *NSDictionary::create()) + ".";
    auto alert = UIAlertController::alertControllerWithTitle("Zimtone 2", message,
                                                             platform::uikit::UIAlertControllerStyleAlert);
    alert->addAction(
        UIAlertAction::actionWithTitle("OK", platform::uikit::UIAlertActionStyleDefault, nullptr));
    presentViewControllerAnimatedCompletion(alert.get(), true, nullptr);
}

} // namespace zimtone::prefs
