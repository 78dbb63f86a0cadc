// Preference items: one row of a settings page, its cell type, target, accessors, action and
// the property dictionary that the page's code reads ("key", "default", "PostNotification" ...).
#pragma once

#include <optional>
#include <string_view>

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"

namespace platform::preferences {

using platform::runtime::Class;
using platform::runtime::Object;
using platform::runtime::Ref;
using platform::runtime::SEL;

enum PSCellType : int64_t {
    PSGroupCell = 0,
    PSLinkCell = 1,
    PSLinkListCell = 2,
    PSListItemCell = 3,
    PSTitleValueCell = 4,
    PSSliderCell = 5,
    PSSwitchCell = 6,
    PSStaticTextCell = 7,
    PSEditTextCell = 8,
    PSSegmentCell = 9,
    PSButtonCell = 13,
};

// The cell type named by a rows resource ("PSSwitchCell" ...); nullopt for an unknown name.
std::optional<int64_t> cell_type_named(std::string_view name);

// The target is not retained: it is the page whose list holds the item.
class PSSpecifier : public runtime::NSObject {
  public:
    static Class runtime_class();
    static Ref<PSSpecifier> preferenceSpecifierNamed(foundation::NSString* name, Object* target, SEL set,
                                                     SEL get, Class detail, int64_t cell, Class edit);

    foundation::NSString* name() const { return name_.get(); }
    void setName(foundation::NSString* name) { name_ = name; }
    Object* target() const { return target_; }
    void setTarget(Object* target) { target_ = target; }
    int64_t cellType() const { return cell_type_; }
    SEL setter() const { return setter_; }
    SEL getter() const { return getter_; }
    Class detailControllerClass() const { return detail_; }
    SEL buttonAction() const { return action_; }
    void setButtonAction(SEL action) { action_ = action; }
    foundation::NSMutableDictionary* properties() const { return properties_.get(); }
    Ref<Object> propertyForKey(foundation::NSString* key) const;
    void setPropertyForKey(Object* value, foundation::NSString* key);
    // The property as a string, nullptr when absent or not a string.
    const std::string* string_property(const std::string& key) const;

  private:
    Ref<foundation::NSString> name_;
    Object* target_{nullptr};
    SEL setter_{nullptr};
    SEL getter_{nullptr};
    Class detail_{nullptr};
    int64_t cell_type_{PSGroupCell};
    SEL action_{nullptr};
    Ref<foundation::NSMutableDictionary> properties_{foundation::NSMutableDictionary::create()};
};

} // namespace platform::preferences
