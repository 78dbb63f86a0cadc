#include "platform/foundation/NSAttributedString.h"

#include <algorithm>

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"

namespace platform::foundation {

using namespace platform::runtime;

namespace {

// The byte offset in UTF-8 text at which the given number of UTF-16 units has passed.
size_t utf8_offset(const std::string& text, uint64_t units) {
    size_t i = 0;
    uint64_t seen = 0;
    while (i < text.size() && seen < units) {
        auto lead = static_cast<unsigned char>(text[i]);
        seen += lead >= 0xF0 ? 2 : 1; // four-byte sequences are a surrogate pair
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            ++i;
    }
    return i;
}

Attributes attributes_of(const NSDictionary* dictionary) {
    Attributes attributes;
    if (!dictionary)
        return attributes;
    for (const auto& key : dictionary->keys())
        attributes[key] = dictionary->get(key);
    return attributes;
}

NSRange clamped(NSRange range, uint64_t length) {
    uint64_t start = std::min(range.location, length);
    uint64_t end = range.length > length - start ? length : start + range.length;
    return {start, end - start};
}

} // namespace

Class NSAttributedString::runtime_class() {
    static Class cls =
        ClassBuilder<NSAttributedString>("NSAttributedString", NSObject::runtime_class())
            .method<&NSAttributedString::initWithString>("initWithString:")
            .method<&NSAttributedString::initWithStringAttributes>("initWithString:attributes:")
            .method<&NSAttributedString::string>("string")
            .method<&NSAttributedString::length>("length")
            .method<&NSAttributedString::copy>("copy")
            .method<&NSAttributedString::mutableCopy>("mutableCopy")
            .get();
    return cls;
}

Class NSMutableAttributedString::runtime_class() {
    static Class cls = ClassBuilder<NSMutableAttributedString>("NSMutableAttributedString",
                                                               NSAttributedString::runtime_class())
                           .method<&NSMutableAttributedString::addAttribute>("addAttribute:value:range:")
                           .method<&NSMutableAttributedString::removeAttribute>("removeAttribute:range:")
                           .method<&NSMutableAttributedString::setAttributes>("setAttributes:range:")
                           .get();
    return cls;
}

Ref<NSAttributedString> NSAttributedString::create(std::string text, Attributes attributes) {
    auto s = make_object<NSAttributedString>();
    s->assign(std::move(text), std::move(attributes));
    return s;
}

Ref<NSMutableAttributedString> NSMutableAttributedString::create(std::string text, Attributes attributes) {
    auto s = make_object<NSMutableAttributedString>();
    s->assign(std::move(text), std::move(attributes));
    return s;
}

void NSAttributedString::assign(std::string text, Attributes attributes) {
    text_ = std::move(text);
    length_ = NSString(text_).length();
    runs_.clear();
    if (length_ > 0)
        runs_.push_back({{0, length_}, std::move(attributes)});
}

Ref<Object> NSAttributedString::initWithString(const NSString* text) {
    assign(text ? text->str() : std::string(), {});
    return Ref<Object>(this);
}

Ref<Object> NSAttributedString::initWithStringAttributes(const NSString* text,
                                                         const NSDictionary* attributes) {
    assign(text ? text->str() : std::string(), attributes_of(attributes));
    return Ref<Object>(this);
}

Ref<NSString> NSAttributedString::string() const {
    return ns(text_);
}

const Attributes& NSAttributedString::attributes_at(uint64_t index, NSRange* effective) const {
    static const Attributes none;
    for (const auto& run : runs_) {
        if (index < run.range.end()) {
            if (effective)
                *effective = run.range;
            return run.attributes;
        }
    }
    if (effective)
        *effective = {length_, 0};
    return none;
}

Object* NSAttributedString::attribute_at(const std::string& name, uint64_t index) const {
    const auto& attributes = attributes_at(index);
    auto it = attributes.find(name);
    return it == attributes.end() ? nullptr : it->second.get();
}

std::string NSAttributedString::substring(NSRange range) const {
    range = clamped(range, length_);
    size_t from = utf8_offset(text_, range.location);
    size_t to = utf8_offset(text_, range.end());
    return text_.substr(from, to - from);
}

Ref<NSAttributedString> NSAttributedString::copy() const {
    auto s = make_object<NSAttributedString>();
    s->text_ = text_;
    s->length_ = length_;
    s->runs_ = runs_;
    return s;
}

Ref<NSMutableAttributedString> NSAttributedString::mutableCopy() const {
    auto s = make_object<NSMutableAttributedString>();
    s->text_ = text_;
    s->length_ = length_;
    s->runs_ = runs_;
    return s;
}

void NSAttributedString::split_at(uint64_t index) {
    for (size_t i = 0; i < runs_.size(); ++i) {
        Run& run = runs_[i];
        if (index <= run.range.location || index >= run.range.end())
            continue;
        Run tail{{index, run.range.end() - index}, run.attributes};
        run.range.length = index - run.range.location;
        runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
        return;
    }
}

void NSAttributedString::merge_equal_neighbours() {
    std::vector<Run> merged;
    for (auto& run : runs_) {
        if (!merged.empty() && merged.back().attributes == run.attributes)
            merged.back().range.length += run.range.length;
        else
            merged.push_back(std::move(run));
    }
    runs_ = std::move(merged);
}

template <class Edit> void NSAttributedString::edit_range(NSRange range, Edit edit) {
    range = clamped(range, length_);
    if (range.length == 0)
        return;
    split_at(range.location);
    split_at(range.end());
    for (auto& run : runs_)
        if (run.range.location >= range.location && run.range.end() <= range.end())
            edit(run.attributes);
    merge_equal_neighbours();
}

void NSMutableAttributedString::add_attribute(const std::string& name, Ref<Object> value, NSRange range) {
    if (!value)
        return;
    edit_range(range, [&](Attributes& attributes) { attributes[name] = value; });
}

void NSMutableAttributedString::addAttribute(const NSString* name, Object* value, NSRange range) {
    if (name)
        add_attribute(name->str(), Ref<Object>(value), range);
}

void NSMutableAttributedString::removeAttribute(const NSString* name, NSRange range) {
    if (!name)
        return;
    edit_range(range, [&](Attributes& attributes) { attributes.erase(name->str()); });
}

void NSMutableAttributedString::set_attributes(const Attributes& attributes, NSRange range) {
    edit_range(range, [&](Attributes& current) { current = attributes; });
}

void NSMutableAttributedString::setAttributes(const NSDictionary* attributes, NSRange range) {
    set_attributes(attributes_of(attributes), range);
}

} // namespace platform::foundation
