// Arbitrary bytes typed into the colour dialog. An accepted entry is one character the platform
// counts as a single UTF-16 unit (malformed bytes aside, which the platform's string drops)
// followed by the six hex digits returned, exactly as typed; any seven ASCII characters ending
// in six hex digits are accepted.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "prefs/hex_entry.h"

namespace {
bool is_hex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The number of code points in well-formed UTF-8, or -1 when it is not well formed.
int code_points(std::string_view text) {
    int count = 0;
    for (size_t i = 0; i < text.size(); ++count) {
        unsigned char lead = text[i];
        size_t length = lead < 0x80           ? 1
                        : (lead >> 5) == 0x6  ? 2
                        : (lead >> 4) == 0xE  ? 3
                        : (lead >> 3) == 0x1E ? 4
                                              : 0;
        if (length == 0 || i + length > text.size())
            return -1;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return -1;
        i += length;
    }
    return count;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto digits = zimtone::prefs::hex_from_entry(text);

    bool plain_ascii = std::all_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x80; });
    bool hex_tail = size >= 7 && std::all_of(text.end() - 6, text.end(), is_hex);
    if (plain_ascii && size == 7 && hex_tail && !digits)
        std::abort();
    if (!digits)
        return 0;
    if (!hex_tail || size < 7 || *digits != text.substr(size - 6))
        std::abort();
    // Malformed bytes are the platform string's to drop; well-formed text must start with one
    // character of one to three bytes (a four-byte one is two UTF-16 units).
    std::string_view first = text.substr(0, size - 6);
    if (code_points(first) != -1 && (code_points(first) != 1 || first.size() > 3))
        std::abort();
    return 0;
}
