// Checks raw property-list bytes for shapes that libplist cannot be trusted with, before it
// sees them: it follows binary references without bounding the tree they expand to, and it
// accepts XML cut off in the middle of a value.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::foundation {

// Deepest container nesting accepted; settings files use three levels.
inline constexpr int max_property_list_depth = 256;
// Most values (containers, dictionary keys and scalars alike) a parsed tree may hold.
inline constexpr uint64_t max_property_list_values = uint64_t{1} << 20;
// Most string and data bytes a parsed tree may hold.
inline constexpr uint64_t max_property_list_payload = uint64_t{64} << 20;

// True when a binary property list ("bplist00") is structurally sound: trailer, offsets and
// references in bounds, dictionary keys are strings without NUL characters, and the tree it
// expands to (an object counted each time it is referenced) keeps within the limits above. A
// cycle fails the depth limit.
bool binary_property_list_is_sane(const unsigned char* bytes, size_t length);
// True when XML text is whole: markup at the start and the closing plist tag at the end.
bool xml_property_list_is_whole(const char* bytes, size_t length);

} // namespace platform::foundation
