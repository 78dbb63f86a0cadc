// Attributed strings: text whose UTF-16 ranges carry named attributes (colour, font, ...).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace platform::foundation {

using platform::runtime::Class;
using platform::runtime::Object;
using platform::runtime::Ref;
class NSDictionary;
class NSString;
class NSMutableAttributedString;

// A range of UTF-16 code units, passed by value in messages.
struct NSRange {
    uint64_t location{0};
    uint64_t length{0};
    bool operator==(const NSRange&) const = default;
    uint64_t end() const { return location + length; }
};

inline NSRange NSMakeRange(uint64_t location, uint64_t length) {
    return NSRange{location, length};
}

// The attribute names the platform's text drawing understands.
inline constexpr const char* NSForegroundColorAttributeName = "NSColor";
inline constexpr const char* NSFontAttributeName = "NSFont";

// Attribute name to value; ordered so that dumps and comparisons are stable.
using Attributes = std::map<std::string, Ref<Object>>;

// Immutable attributed string. The text is kept as UTF-8; every index and range counts UTF-16
// code units, as the platform does. The runs cover the whole text, and neighbouring runs
// whose attributes hold the same objects are merged.
class NSAttributedString : public runtime::NSObject {
  public:
    struct Run {
        NSRange range;
        Attributes attributes;
    };

    static Class runtime_class();
    static Ref<NSAttributedString> create(std::string text, Attributes attributes = {});

    NSAttributedString() = default;

    // Initialisers for instances made with class_createInstance; a nil string reads as empty.
    Ref<Object> initWithString(const NSString* text);
    Ref<Object> initWithStringAttributes(const NSString* text, const NSDictionary* attributes);

    const std::string& str() const { return text_; }
    Ref<NSString> string() const;
    uint64_t length() const { return length_; }

    // The attributes at a UTF-16 index (empty past the end); *effective receives the run's range.
    const Attributes& attributes_at(uint64_t index, NSRange* effective = nullptr) const;
    // One attribute at an index, nil when absent.
    Object* attribute_at(const std::string& name, uint64_t index) const;
    const std::vector<Run>& runs() const { return runs_; }
    // The UTF-8 text of a range, cut at the end of the string.
    std::string substring(NSRange range) const;

    Ref<NSAttributedString> copy() const;
    Ref<NSMutableAttributedString> mutableCopy() const;

  protected:
    void assign(std::string text, Attributes attributes);
    // Calls edit on the attribute set of every run inside the range (cut at the end), splitting
    // runs at its ends and merging equal neighbours afterwards.
    template <class Edit> void edit_range(NSRange range, Edit edit);

    std::string text_;
    uint64_t length_{0};
    std::vector<Run> runs_;

  private:
    void split_at(uint64_t index);
    void merge_equal_neighbours();
};

// An attributed string whose attributes can change; its text stays as created.
class NSMutableAttributedString : public NSAttributedString {
  public:
    static Class runtime_class();
    static Ref<NSMutableAttributedString> create(std::string text, Attributes attributes = {});

    NSMutableAttributedString() = default;

    // Sets one attribute over the range; other attributes stay. A nil name or value changes nothing.
    void addAttribute(const NSString* name, Object* value, NSRange range);
    void add_attribute(const std::string& name, Ref<Object> value, NSRange range);
    void removeAttribute(const NSString* name, NSRange range);
    // Replaces every attribute over the range.
    void setAttributes(const NSDictionary* attributes, NSRange range);
    void set_attributes(const Attributes& attributes, NSRange range);
};

} // namespace platform::foundation

namespace platform::runtime {
template <> struct TypeEncoding<foundation::NSRange> {
    static constexpr const char* value = "{_NSRange=QQ}";
};
} // namespace platform::runtime
