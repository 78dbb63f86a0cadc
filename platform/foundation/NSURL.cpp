#include "platform/foundation/NSURL.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/foundation/NSString.h"

namespace platform::foundation {

using namespace platform::runtime;

namespace {

bool is_scheme_char(unsigned char c) {
    return std::isalnum(c) || c == '+' || c == '-' || c == '.';
}

// Unreserved, reserved and percent characters; anything else (blanks, quotes, braces, bytes
// beyond ASCII) makes the text no URL.
bool is_url_char(unsigned char c) {
    static constexpr std::string_view allowed = "-._~:/?#[]@!$&'()*+,;=%";
    return c < 0x80 && (std::isalnum(c) || allowed.find(static_cast<char>(c)) != std::string_view::npos);
}

bool valid_escapes(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
            !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
            return false;
        i += 2;
    }
    return true;
}

Ref<Object> URLWithStringMessage(Object*, Object* text) {
    auto* s = string_of(text);
    return s ? Ref<Object>(NSURL::URLWithString(*s)) : nullptr;
}

} // namespace

Class NSURL::runtime_class() {
    static Class cls = ClassBuilder<NSURL>("NSURL", NSObject::runtime_class())
                           .method<&NSURL::absoluteString>("absoluteString")
                           .method<&NSURL::scheme>("scheme")
                           .class_method<&URLWithStringMessage>("URLWithString:")
                           .get();
    return cls;
}

std::optional<std::string> NSURL::scheme_of(const std::string& text) {
    size_t colon = text.find(':');
    if (colon == 0 || colon == std::string::npos)
        return std::nullopt;
    if (!std::isalpha(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    for (size_t i = 0; i < colon; ++i)
        if (!is_scheme_char(static_cast<unsigned char>(text[i])))
            return std::nullopt;
    if (!std::all_of(text.begin(), text.end(),
                     [](char c) { return is_url_char(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    if (!valid_escapes(text))
        return std::nullopt;
    return text.substr(0, colon);
}

Ref<NSURL> NSURL::URLWithString(const std::string& text) {
    auto scheme = scheme_of(text);
    if (!scheme)
        return nullptr;
    auto url = make_object<NSURL>();
    url->text_ = text;
    url->scheme_ = std::move(*scheme);
    return url;
}

Ref<NSString> NSURL::absoluteString() const {
    return ns(text_);
}
Ref<NSString> NSURL::scheme() const {
    return ns(scheme_);
}

} // namespace platform::foundation
