#include "platform/preferences/PSSpecifier.h"

#include <array>
#include <utility>

namespace platform::preferences {

using namespace platform::runtime;
using foundation::NSString;

std::optional<int64_t> cell_type_named(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, int64_t>, 11> kNames = {{
        {"PSGroupCell", PSGroupCell},
        {"PSLinkCell", PSLinkCell},
        {"PSLinkListCell", PSLinkListCell},
        {"PSListItemCell", PSListItemCell},
        {"PSTitleValueCell", PSTitleValueCell},
        {"PSSliderCell", PSSliderCell},
        {"PSSwitchCell", PSSwitchCell},
        {"PSStaticTextCell", PSStaticTextCell},
        {"PSEditTextCell", PSEditTextCell},
        {"PSSegmentCell", PSSegmentCell},
        {"PSButtonCell", PSButtonCell},
    }};
    for (auto& [n, type] : kNames)
        if (n == name)
            return type;
    return std::nullopt;
}

namespace {
Ref<Object> specifier_named(Object*, NSString* name, Object* target, SEL set, SEL get, Class detail,
                            int64_t cell, Class edit) {
    return PSSpecifier::preferenceSpecifierNamed(name, target, set, get, detail, cell, edit);
}
} // namespace

Class PSSpecifier::runtime_class() {
    static Class cls =
        ClassBuilder<PSSpecifier>("PSSpecifier", NSObject::runtime_class())
            .class_method<&specifier_named>("preferenceSpecifierNamed:target:set:get:detail:cell:edit:")
            .method<&PSSpecifier::name>("name")
            .method<&PSSpecifier::setName>("setName:")
            .method<&PSSpecifier::target>("target")
            .method<&PSSpecifier::setTarget>("setTarget:")
            .method<&PSSpecifier::cellType>("cellType")
            .method<&PSSpecifier::detailControllerClass>("detailControllerClass")
            .method<&PSSpecifier::buttonAction>("buttonAction")
            .method<&PSSpecifier::setButtonAction>("setButtonAction:")
            .method<&PSSpecifier::properties>("properties")
            .method<&PSSpecifier::propertyForKey>("propertyForKey:")
            .method<&PSSpecifier::setPropertyForKey>("setProperty:forKey:")
            .get();
    return cls;
}

Ref<PSSpecifier> PSSpecifier::preferenceSpecifierNamed(NSString* name, Object* target, SEL set, SEL get,
                                                       Class detail, int64_t cell, Class) {
    auto s = make_object<PSSpecifier>();
    s->name_ = name;
    s->target_ = target;
    s->setter_ = set;
    s->getter_ = get;
    s->detail_ = detail;
    s->cell_type_ = cell;
    return s;
}

Ref<Object> PSSpecifier::propertyForKey(NSString* key) const {
    return key ? properties_->objectForKey(key) : nullptr;
}

void PSSpecifier::setPropertyForKey(Object* value, NSString* key) {
    if (!key)
        return;
    if (value)
        properties_->setObjectForKey(value, key);
    else
        properties_->removeObjectForKey(key);
}

const std::string* PSSpecifier::string_property(const std::string& key) const {
    Ref<Object> value = properties_->get(key);
    return foundation::string_of(value.get());
}

} // namespace platform::preferences
