// Reads plain XML property lists into foundation objects in one pass, without libplist's tree.
// Every rule here is narrower than libplist 2.2's own reading, so that what is taken comes out
// exactly as the libplist path gives it; anything else is handed back to that path.
#include "platform/foundation/PlainXmlPropertyList.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/PropertyListShape.h"

namespace platform::foundation {

using namespace platform::runtime;

namespace {

using Value = std::optional<Ref<Object>>;

// The whitespace libplist skips between elements and around numbers.
bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Replaces the five predefined entities. Anything else after '&' (a character reference, an
// unknown name, a bare ampersand) is refused: libplist reads some of those loosely, by prefix.
bool decode_entities(std::string_view raw, std::string& out) {
    out.clear();
    out.reserve(raw.size());
    for (size_t at = 0; at < raw.size();) {
        size_t amp = raw.find('&', at);
        if (amp == std::string_view::npos) {
            out.append(raw.substr(at));
            break;
        }
        out.append(raw.substr(at, amp - at));
        std::string_view rest = raw.substr(amp + 1);
        if (rest.starts_with("amp;"))
            out += '&', at = amp + 5;
        else if (rest.starts_with("lt;"))
            out += '<', at = amp + 4;
        else if (rest.starts_with("gt;"))
            out += '>', at = amp + 4;
        else if (rest.starts_with("quot;"))
            out += '"', at = amp + 6;
        else if (rest.starts_with("apos;"))
            out += '\'', at = amp + 6;
        else
            return false;
    }
    return true;
}

class PlainReader {
  public:
    PlainReader(const char* bytes, size_t length) : at_(bytes), end_(bytes + length) {}

    Value document() {
        skip_space();
        if (take("<?xml") && !skip_declaration())
            return std::nullopt;
        skip_space();
        if (take("<!DOCTYPE") && !skip_doctype())
            return std::nullopt;
        skip_space();
        if (!take("<plist") || !plist_attributes())
            return std::nullopt;
        skip_space();
        Value root = value(1);
        if (!root)
            return std::nullopt;
        skip_space();
        if (!take("</plist>"))
            return std::nullopt;
        skip_space();
        if (at_ != end_)
            return std::nullopt;
        return root;
    }

  private:
    void skip_space() {
        while (at_ < end_ && is_space(*at_))
            ++at_;
    }

    bool take(std::string_view word) {
        if (static_cast<size_t>(end_ - at_) < word.size() || std::memcmp(at_, word.data(), word.size()) != 0)
            return false;
        at_ += word.size();
        return true;
    }

    // After "<?xml": libplist skips to the first "?>" outside double quotes, which is the first
    // "?>" of all when an even number of quotes comes before it.
    bool skip_declaration() {
        if (at_ == end_ || !is_space(*at_))
            return false;
        size_t quotes = 0;
        for (; end_ - at_ >= 2; ++at_) {
            if (at_[0] == '?' && at_[1] == '>') {
                at_ += 2;
                return quotes % 2 == 0;
            }
            if (*at_ == '"')
                ++quotes;
            else if (*at_ == '\0')
                return false;
        }
        return false;
    }

    // After "<!DOCTYPE": the same reasoning for '>', and no internal subset ('[').
    bool skip_doctype() {
        if (at_ == end_ || !is_space(*at_))
            return false;
        size_t quotes = 0;
        for (; at_ < end_; ++at_) {
            if (*at_ == '>') {
                ++at_;
                return quotes % 2 == 0;
            }
            if (*at_ == '"')
                ++quotes;
            else if (*at_ == '[' || *at_ == '\0')
                return false;
        }
        return false;
    }

    // After "<plist": ">" or the version attribute our writer puts there.
    bool plist_attributes() {
        if (take(">"))
            return true;
        if (at_ == end_ || !is_space(*at_))
            return false;
        skip_space();
        if (!take("version=\"1.0\""))
            return false;
        skip_space();
        return take(">");
    }

    Value value(int depth) {
        if (end_ - at_ < 2 || *at_ != '<')
            return std::nullopt;
        switch (at_[1]) {
        case 'd':
            if (take("<dict>"))
                return dictionary(depth);
            if (take("<dict/>"))
                return empty(depth, NSMutableDictionary::create());
            break;
        case 'a':
            if (take("<array>"))
                return array(depth);
            if (take("<array/>"))
                return empty(depth, NSMutableArray::create());
            break;
        case 's':
            if (take("<string>")) {
                if (!text("</string>", scratch_))
                    return std::nullopt;
                return Ref<Object>(ns(std::move(scratch_)));
            }
            if (take("<string/>"))
                return Ref<Object>(ns(std::string()));
            break;
        case 'i':
            if (take("<integer>"))
                return integer();
            break;
        case 'r':
            if (take("<real>"))
                return real();
            break;
        case 't':
            if (take("<true/>"))
                return Ref<Object>(NSNumber::numberWithBool(true));
            break;
        case 'f':
            if (take("<false/>"))
                return Ref<Object>(NSNumber::numberWithBool(false));
            break;
        }
        return std::nullopt;
    }

    // Containers nested too deep make the libplist path give nil, so they are left to it.
    template <class Container> static Value empty(int depth, Ref<Container> container) {
        if (depth > max_property_list_depth)
            return std::nullopt;
        return Ref<Object>(std::move(container));
    }

    // A key always followed by its value; a later duplicate replaces the value in the first
    // one's place, as libplist's dictionary insert does.
    Value dictionary(int depth) {
        if (depth > max_property_list_depth)
            return std::nullopt;
        auto dict = NSMutableDictionary::create();
        std::string key;
        for (;;) {
            skip_space();
            if (take("</dict>"))
                return Ref<Object>(std::move(dict));
            if (!take("<key>") || !text("</key>", key))
                return std::nullopt;
            skip_space();
            Value item = value(depth + 1);
            if (!item)
                return std::nullopt;
            dict->set(key, std::move(*item));
        }
    }

    Value array(int depth) {
        if (depth > max_property_list_depth)
            return std::nullopt;
        auto list = NSMutableArray::create();
        for (;;) {
            skip_space();
            if (take("</array>"))
                return Ref<Object>(std::move(list));
            Value item = value(depth + 1);
            if (!item)
                return std::nullopt;
            list->addObject(item->get());
        }
    }

    // Text up to the closing tag, whitespace kept. A NUL byte is refused: libplist's copy stops
    // at it and pads with zeros.
    bool text(std::string_view closing, std::string& out) {
        const char* start = at_;
        bool entities = false;
        for (; at_ < end_ && *at_ != '<'; ++at_) {
            if (*at_ == '&')
                entities = true;
            else if (*at_ == '\0')
                return false;
        }
        std::string_view raw(start, static_cast<size_t>(at_ - start));
        if (!entities)
            out.assign(raw);
        else if (!decode_entities(raw, out))
            return false;
        return take(closing);
    }

    // -?(0|[1-9][0-9]*) between optional whitespace, within the signed 64-bit range. libplist
    // reads with strtoull in base 0, so a leading zero means octal and "0x" hex; those, a '+',
    // and values it would wrap or saturate are left to it.
    Value integer() {
        skip_space();
        bool negative = take("-");
        const uint64_t limit = negative ? uint64_t{1} << 63 : std::numeric_limits<int64_t>::max();
        const char* digits = at_;
        uint64_t magnitude = 0;
        for (; at_ < end_ && is_digit(*at_); ++at_) {
            auto digit = static_cast<uint64_t>(*at_ - '0');
            if (magnitude > (limit - digit) / 10)
                return std::nullopt;
            magnitude = magnitude * 10 + digit;
        }
        size_t count = static_cast<size_t>(at_ - digits);
        if (count == 0 || (count > 1 && *digits == '0'))
            return std::nullopt;
        skip_space();
        if (!take("</integer>"))
            return std::nullopt;
        // Two's complement negation, as libplist does; -2^63 comes out as INT64_MIN.
        auto bits = negative ? uint64_t{0} - magnitude : magnitude;
        return Ref<Object>(NSNumber::numberWithInteger(static_cast<int64_t>(bits)));
    }

    // -?digits(.digits)?([eE][+-]?digits)? between optional whitespace. The number is read by
    // strtod, the function libplist's atof calls, in the same locale, so both agree to the bit;
    // the spelling excludes what strtod reads beyond it (hex, inf, nan, a leading '+').
    Value real() {
        skip_space();
        const char* start = at_;
        take("-");
        if (!skip_digits())
            return std::nullopt;
        if (take(".") && !skip_digits())
            return std::nullopt;
        if (take("e") || take("E")) {
            if (!take("+"))
                take("-");
            if (!skip_digits())
                return std::nullopt;
        }
        char spelling[64];
        auto length = static_cast<size_t>(at_ - start);
        if (length >= sizeof spelling)
            return std::nullopt;
        std::memcpy(spelling, start, length);
        spelling[length] = '\0';
        double number = std::strtod(spelling, nullptr);
        skip_space();
        if (!take("</real>"))
            return std::nullopt;
        return Ref<Object>(NSNumber::numberWithDouble(number));
    }

    bool skip_digits() {
        const char* start = at_;
        while (at_ < end_ && is_digit(*at_))
            ++at_;
        return at_ != start;
    }

    const char* at_;
    const char* end_;
    std::string scratch_;
};

} // namespace

std::optional<Ref<Object>> read_plain_xml_property_list(const char* bytes, size_t length) {
    if (!bytes || length == 0 || length > max_property_list_file_size)
        return std::nullopt;
    return PlainReader(bytes, length).document();
}

} // namespace platform::foundation
