#include "settings/Loaders.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"

namespace zimtone::settings {

using namespace platform::runtime;
using namespace platform::foundation;

namespace {

// A value of another type is read through boolValue / floatValue all the same; a value that
// answers neither (an array or dictionary where a switch belongs) counts as absent, where the
// device would have thrown an unrecognized-selector exception inside the home screen.
void read_key(SettingsState& s, const KeyInfo& info, const Object* value) {
    Field field = field_of(info.key);
    if (auto* b = std::get_if<bool SettingsState::*>(&field)) {
        bool v = info.default_value != 0;
        if (value && msg<bool>(value, "respondsToSelector:"_sel, "boolValue"_sel))
            v = msg<bool>(value, "boolValue"_sel);
        s.*(*b) = v;
    } else {
        double v = info.default_value;
        if (value && msg<bool>(value, "respondsToSelector:"_sel, "floatValue"_sel))
            v = static_cast<double>(msg<float>(value, "floatValue"_sel));
        s.*std::get<double SettingsState::*>(field) = v;
    }
}

// Element by element: the identifier is the first of the element's keys and the colour its
// string value. Elements the pane would never write (not a dictionary, empty, a value that is
// not a string) are skipped. A "Specific_App_Color" that is not an array holds no colours.
Ref<NSMutableDictionary> per_app_colours_from(const Object* value) {
    auto colours = NSMutableDictionary::create();
    auto* array = dynamic_cast<const NSArray*>(value);
    if (!array)
        return colours;
    for (auto& element : array->items()) {
        auto* entry = dynamic_cast<const NSDictionary*>(element.get());
        if (!entry || entry->count() == 0)
            continue;
        const std::string& identifier = entry->keys().front();
        auto colour = entry->get(identifier);
        if (!string_of(colour.get()))
            continue;
        colours->set(identifier, colour);
    }
    return colours;
}

} // namespace

void apply_group(SettingsState& s, Group group, const NSDictionary* dictionary) {
    for (auto& info : keys_of(group))
        read_key(s, info, dictionary ? dictionary->get(std::string(info.key)).get() : nullptr);
    if (group != Group::Banner || !dictionary)
        return;
    // An absent key leaves the colours of the last load that found it in force.
    if (auto value = dictionary->get(kPerAppColoursKey))
        s.per_app_colours = per_app_colours_from(value.get());
}

void load_group(Group group) {
    auto& s = state();
    s.dictionary = NSDictionary::dictionaryWithContentsOfFile(kSettingsFile);
    apply_group(s, group, s.dictionary.get());
}

void loadBannerSettings(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
    load_group(Group::Banner);
}
void loadNotificationCenterSettings(CFNotificationCenterRef, void*, CFStringRef, const void*,
                                    CFDictionaryRef) {
    load_group(Group::NotificationCenter);
}
void loadLockscreenSettings(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
    load_group(Group::Lockscreen);
}
void loadRequests(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
    load_group(Group::Requests);
}

} // namespace zimtone::settings
