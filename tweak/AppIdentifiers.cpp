#include "tweak/AppIdentifiers.h"

#include <mutex>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/Random.h"
#include "settings/ExcludedApps.h"
#include "tweak/ApplicationList.h"

namespace zimtone::tweak {

using namespace platform::runtime;
using namespace platform::foundation;

// Random draws before collecting the apps that have an icon: enough that one is found at random
// whenever most have one, and bounded when few or none have.
constexpr int kRandomDraws = 64;

std::vector<std::string> eligible_app_identifiers(const std::vector<std::string>& all) {
    std::vector<std::string> kept;
    for (auto& id : all)
        if (!settings::is_excluded_system_app(id))
            kept.push_back(id);
    return kept;
}

Ref<Object> allAppIdentifiers() {
    static std::once_flag once;
    static Ref<NSArray>* list = nullptr;
    std::call_once(once, [] {
        auto controller = msg<Ref<Object>>(objc_getClass("SBApplicationController"), "sharedInstance"_sel);
        auto identifiers = msg<Ref<NSArray>>(controller, "allBundleIdentifiers"_sel);
        std::vector<std::string> all;
        if (identifiers)
            for (auto& item : identifiers->items())
                if (auto* s = string_of(item.get()))
                    all.push_back(*s);
        std::vector<Ref<Object>> items;
        for (auto& id : eligible_app_identifiers(all))
            items.emplace_back(ns(id));
        list = new Ref<NSArray>(NSArray::create(std::move(items))); // process lifetime
    });
    return *list;
}

Ref<Object> randomAppIdentifier() {
    auto* array = dynamic_cast<NSArray*>(allAppIdentifiers().get());
    if (!array || array->count() == 0)
        return nullptr;
    return array->objectAtIndex(platform::foundation::arc4random() % array->count());
}

Ref<Object> random_identifier_with_icon(const std::vector<Ref<Object>>& identifiers,
                                        const std::function<bool(Object*)>& has_icon) {
    if (identifiers.empty())
        return nullptr;
    for (int i = 0; i < kRandomDraws; ++i) {
        const auto& id = identifiers[platform::foundation::arc4random() % identifiers.size()];
        if (has_icon(id.get()))
            return id;
    }
    // Drawing among those with an icon keeps every such app equally likely when they are few.
    std::vector<Ref<Object>> with_icon;
    for (const auto& id : identifiers)
        if (has_icon(id.get()))
            with_icon.push_back(id);
    if (with_icon.empty())
        return nullptr;
    return with_icon[platform::foundation::arc4random() % with_icon.size()];
}

Ref<Object> random_app_identifier_with_icon() {
    auto* array = dynamic_cast<NSArray*>(allAppIdentifiers().get());
    if (!array)
        return nullptr;
    return random_identifier_with_icon(array->items(), [](Object* id) { return bool(small_icon(id)); });
}

} // namespace zimtone::tweak
