#include "platform/foundation/NSString.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <locale.h>
#include <system_error>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSError.h"

namespace platform::foundation {

using namespace platform::runtime;

namespace {
Ref<Object> string_with_contents_of_file(Object*, Object* path, uint64_t encoding, Object** error) {
    return NSString::read_file(dynamic_cast<const NSString*>(path), encoding, error);
}
} // namespace

Class NSString::runtime_class() {
    static Class cls =
        ClassBuilder<NSString>("NSString", NSObject::runtime_class())
            .method<&NSString::length>("length")
            .method<&NSString::isEqualToString>("isEqualToString:")
            .method<&NSString::boolValue>("boolValue")
            .method<&NSString::floatValue>("floatValue")
            .method<&NSString::doubleValue>("doubleValue")
            .method<&NSString::componentsSeparatedByString>("componentsSeparatedByString:")
            .class_method<&string_with_contents_of_file>("stringWithContentsOfFile:encoding:error:")
            .get();
    return cls;
}

Ref<NSString> NSString::create(std::string utf8) {
    return make_object<NSString>(std::move(utf8));
}
Ref<NSString> ns(std::string utf8) {
    return NSString::create(std::move(utf8));
}

namespace {

bool is_valid_utf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        size_t extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 4;
        if (extra == 4 || s.size() - i <= extra)
            return false;
        uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[extra] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += extra + 1;
    }
    return true;
}

Ref<NSString> fail(Object** error, NSFileReadError code) {
    if (error)
        *error = NSError::cocoa_error(code);
    return nullptr;
}

} // namespace

Ref<NSString> NSString::read_file(const NSString* device_path, uint64_t encoding, Object** error) {
    if (error)
        *error = nullptr;
    if (!device_path)
        return fail(error, NSFileReadNoSuchFileError);
    auto path = resolve_device_path(device_path->str());
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return fail(error, NSFileReadNoSuchFileError);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return fail(error, NSFileReadUnknownError);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return fail(error, NSFileReadUnknownError);
    if (encoding != NSUTF8StringEncoding || !is_valid_utf8(text))
        return fail(error, NSFileReadInapplicableStringEncodingError);
    return create(std::move(text));
}

const std::string* string_of(const Object* obj) {
    auto* s = dynamic_cast<const NSString*>(obj);
    return s ? &s->str() : nullptr;
}

uint64_t NSString::length() const {
    uint64_t units = 0;
    for (unsigned char c : utf8_) {
        if ((c & 0xC0) == 0x80)
            continue;                 // continuation byte
        units += (c >= 0xF0) ? 2 : 1; // four-byte sequences need a surrogate pair
    }
    return units;
}

namespace {
size_t skip_blanks(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
        ++i;
    return i;
}
} // namespace

bool NSString::boolValue() const {
    size_t i = skip_blanks(utf8_);
    if (i < utf8_.size() && (utf8_[i] == '+' || utf8_[i] == '-'))
        ++i;
    while (i < utf8_.size() && utf8_[i] == '0')
        ++i;
    if (i >= utf8_.size())
        return false;
    char c = utf8_[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

double NSString::doubleValue() const {
    // Only a plain decimal number is read (no hexadecimal, no inf or nan words), in the C locale.
    size_t start = skip_blanks(utf8_);
    size_t i = start;
    auto digits = [&] {
        size_t n = 0;
        while (i < utf8_.size() && std::isdigit(static_cast<unsigned char>(utf8_[i])))
            ++i, ++n;
        return n;
    };
    if (i < utf8_.size() && (utf8_[i] == '+' || utf8_[i] == '-'))
        ++i;
    size_t mantissa = digits();
    if (i < utf8_.size() && utf8_[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return 0.0;
    size_t end = i;
    if (i < utf8_.size() && (utf8_[i] == 'e' || utf8_[i] == 'E')) {
        ++i;
        if (i < utf8_.size() && (utf8_[i] == '+' || utf8_[i] == '-'))
            ++i;
        if (digits() > 0)
            end = i;
    }
    std::string text = utf8_.substr(start, end - start);
    if (!text.empty() && text[0] == '+')
        text.erase(0, 1);
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too large reads as infinity and too small as zero, as strtod gives them in the C locale.
        static locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
        return strtod_l(text.c_str(), nullptr, c_locale);
    }
    return ec == std::errc() ? value : 0.0;
}

Ref<NSArray> NSString::componentsSeparatedByString(const NSString* separator) const {
    std::vector<Ref<Object>> parts;
    if (!separator || separator->utf8_.empty()) {
        parts.emplace_back(ns(utf8_));
        return NSArray::create(std::move(parts));
    }
    const std::string& sep = separator->utf8_;
    size_t from = 0;
    for (size_t at; (at = utf8_.find(sep, from)) != std::string::npos; from = at + sep.size())
        parts.emplace_back(ns(utf8_.substr(from, at - from)));
    parts.emplace_back(ns(utf8_.substr(from)));
    return NSArray::create(std::move(parts));
}

} // namespace platform::foundation
