// The installed apps a made-up notification may claim to come from: the home screen's apps
// minus the excluded system identifiers, built once per process.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace zimtone::tweak {

using platform::runtime::Object;
using platform::runtime::Ref;

// Pure: keeps the identifiers outside the excluded set, in their order.
std::vector<std::string> eligible_app_identifiers(const std::vector<std::string>& all);

// The list (an immutable NSArray), built on first use.
Ref<Object> allAppIdentifiers();
// One identifier drawn at random; nil when the list is empty.
Ref<Object> randomAppIdentifier();
// A random identifier whose icon the application list has; nil when no listed app has one.
Ref<Object> random_app_identifier_with_icon();
// The same choice over any list and icon test: a bounded number of random draws, then a uniform
// pick among the identifiers that have an icon. Every draw comes from arc4random.
Ref<Object> random_identifier_with_icon(const std::vector<Ref<Object>>& identifiers,
                                        const std::function<bool(Object*)>& has_icon);

} // namespace zimtone::tweak
