// Structural checks of raw property-list bytes, run before libplist parses them.
#include "platform/foundation/PropertyListShape.h"

#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace platform::foundation {

namespace {

constexpr size_t kMagicLength = 8;
constexpr size_t kTrailerLength = 32;

uint64_t read_big_endian(const unsigned char* p, size_t width) {
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value = (value << 8) | p[i];
    return value;
}

// What one object is, as far as the walk needs to know.
struct ObjectHeader {
    enum class Shape { Scalar, Data, String, Array, Dictionary };
    Shape shape{Shape::Scalar};
    uint64_t count{0};   // references of a container (dictionaries: per half), or string units
    size_t unit_size{1}; // bytes per string unit: 1 for ASCII, 2 for UTF-16
    size_t body{0};      // offset of the first payload byte or reference
    uint64_t payload{0};
};

// Walks the tree a binary property list expands to, depth first, without building it.
class BinaryWalk {
  public:
    BinaryWalk(const unsigned char* bytes, size_t length) : bytes_(bytes), length_(length) {}

    bool run() {
        if (!read_trailer())
            return false;
        struct Frame {
            ObjectHeader header;
            uint64_t next;
        };
        std::vector<Frame> stack;
        uint64_t values = 0;
        uint64_t payload = 0;
        auto visit = [&](uint64_t index, bool is_key) {
            auto header = header_of(index);
            if (!header || (is_key && !usable_as_key(*header)))
                return false;
            payload += header->payload;
            if (++values > max_property_list_values || payload > max_property_list_payload)
                return false;
            if (header->shape == ObjectHeader::Shape::Array ||
                header->shape == ObjectHeader::Shape::Dictionary) {
                if (stack.size() >= static_cast<size_t>(max_property_list_depth))
                    return false;
                stack.push_back({*header, 0});
            }
            return true;
        };
        if (!visit(root_, false))
            return false;
        while (!stack.empty()) {
            Frame& top = stack.back();
            bool dictionary = top.header.shape == ObjectHeader::Shape::Dictionary;
            uint64_t references = dictionary ? 2 * top.header.count : top.header.count;
            if (top.next == references) {
                stack.pop_back();
                continue;
            }
            uint64_t position = top.next++;
            bool is_key = dictionary && position < top.header.count;
            uint64_t child = read_big_endian(bytes_ + top.header.body + position * ref_size_, ref_size_);
            if (child >= object_count_ || !visit(child, is_key))
                return false;
        }
        return true;
    }

  private:
    // libplist aborts on a dictionary key with a NUL inside, so such keys are refused here.
    bool usable_as_key(const ObjectHeader& header) const {
        if (header.shape != ObjectHeader::Shape::String)
            return false;
        for (uint64_t i = 0; i < header.count; ++i) {
            const unsigned char* unit = bytes_ + header.body + i * header.unit_size;
            if (unit[0] == 0 && (header.unit_size == 1 || unit[1] == 0))
                return false;
        }
        return true;
    }

    bool read_trailer() {
        if (length_ < kMagicLength + 1 + kTrailerLength)
            return false;
        const unsigned char* trailer = bytes_ + length_ - kTrailerLength;
        offset_size_ = trailer[6];
        ref_size_ = trailer[7];
        object_count_ = read_big_endian(trailer + 8, 8);
        root_ = read_big_endian(trailer + 16, 8);
        table_offset_ = read_big_endian(trailer + 24, 8);
        if (offset_size_ < 1 || offset_size_ > 8 || ref_size_ < 1 || ref_size_ > 8)
            return false;
        if (object_count_ < 1 || object_count_ > max_property_list_values || root_ >= object_count_)
            return false;
        size_t table_end = length_ - kTrailerLength;
        if (table_offset_ <= kMagicLength || table_offset_ > table_end)
            return false;
        return object_count_ * offset_size_ <= table_end - table_offset_;
    }

    // Reads a length that follows a marker whose low nibble is 0xF: an integer object of 1 to 8 bytes.
    std::optional<uint64_t> read_count(uint8_t low_nibble, size_t& position) const {
        if (low_nibble != 0xF)
            return low_nibble;
        if (position >= table_offset_)
            return std::nullopt;
        uint8_t marker = bytes_[position];
        if ((marker >> 4) != 0x1 || (marker & 0xF) > 3)
            return std::nullopt;
        size_t width = size_t{1} << (marker & 0xF);
        if (width > table_offset_ - position - 1)
            return std::nullopt;
        uint64_t count = read_big_endian(bytes_ + position + 1, width);
        position += 1 + width;
        return count;
    }

    // Decodes the header of object `index`, checking that all of it lies before the offset table.
    std::optional<ObjectHeader> header_of(uint64_t index) const {
        uint64_t offset = read_big_endian(bytes_ + table_offset_ + index * offset_size_, offset_size_);
        if (offset < kMagicLength || offset >= table_offset_)
            return std::nullopt;
        uint8_t marker = bytes_[offset];
        uint8_t kind = marker >> 4, low = marker & 0xF;
        size_t position = static_cast<size_t>(offset) + 1;
        size_t room = table_offset_ - position;
        ObjectHeader header;
        header.body = position;
        auto fixed_width = [&](size_t width) -> std::optional<ObjectHeader> {
            if (width > room)
                return std::nullopt;
            return header;
        };
        switch (kind) {
        case 0x0: // false and true; null and fill have no value to give
            if (low != 0x8 && low != 0x9)
                return std::nullopt;
            return header;
        case 0x1: // integer of 1, 2, 4, 8 or 16 bytes
            if (low > 4)
                return std::nullopt;
            return fixed_width(size_t{1} << low);
        case 0x2: // real of 4 or 8 bytes
            if (low != 2 && low != 3)
                return std::nullopt;
            return fixed_width(size_t{1} << low);
        case 0x3: // date, an 8-byte real
            if (low != 3)
                return std::nullopt;
            return fixed_width(8);
        case 0x4:   // data
        case 0x5:   // ASCII string
        case 0x6: { // UTF-16 string
            auto count = read_count(low, position);
            size_t unit = kind == 0x6 ? 2 : 1;
            if (!count || *count > (table_offset_ - position) / unit)
                return std::nullopt;
            header.shape = kind == 0x4 ? ObjectHeader::Shape::Data : ObjectHeader::Shape::String;
            header.count = *count;
            header.unit_size = unit;
            header.body = position;
            header.payload = kind == 0x6 ? *count * 3 : *count; // UTF-16 grows up to 3 bytes a unit in UTF-8
            return header;
        }
        case 0xA:   // array
        case 0xD: { // dictionary: all keys, then all values
            auto count = read_count(low, position);
            uint64_t halves = kind == 0xD ? 2 : 1;
            if (!count || *count > (table_offset_ - position) / ref_size_ / halves)
                return std::nullopt;
            header.shape = kind == 0xD ? ObjectHeader::Shape::Dictionary : ObjectHeader::Shape::Array;
            header.count = *count;
            header.body = position;
            return header;
        }
        default: // sets, UIDs and reserved markers never occur in settings
            return std::nullopt;
        }
    }

    const unsigned char* bytes_;
    size_t length_;
    size_t offset_size_{0};
    size_t ref_size_{0};
    uint64_t object_count_{0};
    uint64_t root_{0};
    uint64_t table_offset_{0};
};

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

bool binary_property_list_is_sane(const unsigned char* bytes, size_t length) {
    if (length < kMagicLength || std::memcmp(bytes, "bplist00", kMagicLength) != 0)
        return false;
    return BinaryWalk(bytes, length).run();
}

bool xml_property_list_is_whole(const char* bytes, size_t length) {
    std::string_view text(bytes, length);
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text.starts_with('<') && text.ends_with("</plist>");
}

} // namespace platform::foundation
