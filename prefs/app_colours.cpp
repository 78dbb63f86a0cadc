#include "prefs/app_colours.h"

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"

namespace zimtone::prefs {

using platform::foundation::NSArray;
using platform::foundation::NSDictionary;
using platform::foundation::NSMutableDictionary;

Ref<NSMutableArray> with_app_colour(const Object* stored, const std::string& bundle_id,
                                    const std::string& hex) {
    auto result = NSMutableArray::create();
    bool replaced = false;
    if (auto* array = dynamic_cast<const NSArray*>(stored)) {
        for (const auto& entry : array->items()) {
            auto* dictionary = dynamic_cast<NSDictionary*>(entry.get());
            if (!replaced && dictionary && dictionary->get(bundle_id)) {
                auto updated = dictionary->mutableCopy();
                updated->set(bundle_id, platform::foundation::ns(hex));
                result->addObject(updated);
                replaced = true;
            } else {
                result->addObject(entry.get());
            }
        }
    }
    if (!replaced) {
        auto entry = NSMutableDictionary::create();
        entry->set(bundle_id, platform::foundation::ns(hex));
        result->addObject(entry);
    }
    return result;
}

std::optional<std::string> first_app_colour(const Object* stored, const std::string& bundle_id) {
    auto* array = dynamic_cast<const NSArray*>(stored);
    if (!array)
        return std::nullopt;
    for (const auto& entry : array->items())
        if (auto* dictionary = dynamic_cast<NSDictionary*>(entry.get()))
            if (Ref<Object> value = dictionary->get(bundle_id)) {
                auto* text = platform::foundation::string_of(value.get());
                return text ? *text : std::string(); // present but not text: no colour decodes
            }
    return std::nullopt;
}

} // namespace zimtone::prefs
