// A direct reader for plain XML property lists: the shape our writer produces and a careful
// hand-editor keeps. It skips libplist's tree and goes straight to foundation objects.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/runtime/Runtime.h"

namespace platform::foundation {

// The objects libplist would give for `bytes`, when the text is plain enough to be sure of that:
// an optional XML declaration and DOCTYPE, a <plist> root holding one value built from dict,
// key, array, string, integer, real, true and false, whitespace between elements and the five
// predefined entities in text. nullopt means "not plain, ask libplist", never "bad file":
// comments, CDATA, character references, data, dates, attributes, unusual number spellings,
// keys without values, nesting past the depth limit and malformed text all answer nullopt.
std::optional<runtime::Ref<runtime::Object>> read_plain_xml_property_list(const char* bytes, size_t length);

} // namespace platform::foundation
