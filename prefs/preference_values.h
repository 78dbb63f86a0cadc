// What a settings page shows for a row and which of its keys ask for a restart: plain functions
// of the settings file's dictionary and the row's properties.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"

namespace zimtone::prefs {

using platform::foundation::NSDictionary;
using platform::runtime::Object;
using platform::runtime::Ref;

enum class Page { Root, Banner, Lockscreen, NotificationCenter, Requests };

// The file's value under the row's "key" whatever it is (false and 0 included), else the row's
// "default", else nil.
Ref<Object> value_to_show(const NSDictionary& file, const NSDictionary& row_properties);

// The keys after whose change the page asks for a restart of the home screen.
std::span<const std::string_view> restart_keys(Page page);
bool needs_restart(Page page, std::string_view key);

// A value as a person reads it in a message: "YES", "0.5", "\"text\"" or "nothing".
std::string describe_value(const Object* value);

} // namespace zimtone::prefs
