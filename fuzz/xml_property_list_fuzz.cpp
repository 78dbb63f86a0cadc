// Differential check of the direct XML reader: whenever it takes an input, the objects it gives
// must be identical to what libplist alone reads from the same bytes. Any difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/foundation/PlainXmlPropertyList.h"
#include "platform/foundation/PropertyList.h"
#include "tests/foundation_plist/tree_difference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto* bytes = reinterpret_cast<const char*>(data);
    auto plain = platform::foundation::read_plain_xml_property_list(bytes, size);
    if (!plain)
        return 0;
    if (!*plain) {
        std::fprintf(stderr, "the plain reader took the input but gave nil\n");
        std::abort();
    }
    auto reference = platform::foundation::parse_xml_property_list_with_libplist(bytes, size);
    std::string difference = plist_test::first_difference(plain->get(), reference.get());
    if (!difference.empty()) {
        std::fprintf(stderr, "the plain reader and libplist differ at %s\n", difference.c_str());
        std::abort();
    }
    return 0;
}
