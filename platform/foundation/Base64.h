// Base64 (RFC 4648, with padding), as NSData's base64EncodedStringWithOptions: gives it: how
// pictures travel inside JSON answers and HTML pages.
#pragma once

#include <string>
#include <string_view>

namespace platform::foundation {

std::string base64_encoded(std::string_view bytes);

} // namespace platform::foundation
