// Deep identity of two property-list trees, stricter than equality of their values: used to hold
// the direct XML reader to what the libplist path gives for the same bytes.
#pragma once

#include <string>

#include "platform/runtime/Runtime.h"

namespace plist_test {

// The first place where two trees differ, as a path ("/Key/2") with what differs there; empty
// when they are identical: objects of the same classes in the same places, numbers of the same
// kind (bool, integer, real) with the same integer or the same double bits, strings and data
// byte for byte, dictionaries with the same keys in the same order, arrays item for item.
std::string first_difference(const platform::runtime::Object* a, const platform::runtime::Object* b);

} // namespace plist_test
