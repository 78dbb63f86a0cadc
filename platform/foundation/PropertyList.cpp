// Conversion between property-list bytes (through libplist) and foundation objects.
#include "platform/foundation/PropertyList.h"

#include <plist/plist.h>
#include <pthread.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListShape.h"

namespace platform::foundation {

using namespace platform::runtime;

namespace {

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistTree = std::unique_ptr<void, PlistFree>;

template <class Visit> void for_each_array_item(plist_t array, Visit&& visit) {
    plist_array_iter iter = nullptr;
    plist_array_new_iter(array, &iter);
    for (plist_t item = nullptr;;) {
        plist_array_next_item(array, iter, &item);
        if (!item)
            break;
        visit(item);
    }
    std::free(iter);
}

template <class Visit> void for_each_dict_entry(plist_t dict, Visit&& visit) {
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(dict, &iter);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(dict, iter, &key, &value);
        if (!value) {
            std::free(key);
            break;
        }
        visit(std::string(key ? key : ""), value);
        std::free(key);
    }
    std::free(iter);
}

// libplist 2.2 keeps every integer as 64 bits and tells a negative one (-1) from an unsigned one
// above INT64_MAX (2^64-1) only by an internal width, which node comparison takes into account:
// a fresh node of the same bits has the signed width, so it equals the parsed node only when that
// one was signed.
int64_t integer_of(plist_t node) {
    uint64_t bits = 0;
    plist_get_uint_val(node, &bits);
    if (bits <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
        return static_cast<int64_t>(bits);
    PlistTree probe(plist_new_uint(bits));
    if (plist_compare_node_value(node, probe.get()))
        return static_cast<int64_t>(bits);
    return std::numeric_limits<int64_t>::max();
}

// Converts a parsed node. nullopt when the tree is nested deeper than allowed; nil for a value
// that has no object form here (a UID), which its container then leaves out.
std::optional<Ref<Object>> object_from_node(plist_t node, int depth) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return Ref<Object>(NSNumber::numberWithBool(value != 0));
    }
    case PLIST_UINT:
        return Ref<Object>(NSNumber::numberWithInteger(integer_of(node)));
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return Ref<Object>(NSNumber::numberWithDouble(value));
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return Ref<Object>(ns(text ? std::string(text, length) : std::string()));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return Ref<Object>(NSData::dataWithBytes(bytes ? std::string(bytes, length) : std::string()));
    }
    case PLIST_DATE: {
        int32_t seconds = 0, microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return Ref<Object>(NSData::dateWithSeconds(seconds, microseconds));
    }
    case PLIST_ARRAY: {
        if (depth > max_property_list_depth)
            return std::nullopt;
        auto array = NSMutableArray::create();
        bool whole = true;
        for_each_array_item(node, [&](plist_t item) {
            if (!whole)
                return;
            auto value = object_from_node(item, depth + 1);
            if (!value)
                whole = false;
            else
                array->addObject(value->get());
        });
        if (!whole)
            return std::nullopt;
        return Ref<Object>(array);
    }
    case PLIST_DICT: {
        if (depth > max_property_list_depth)
            return std::nullopt;
        auto dict = NSMutableDictionary::create();
        bool whole = true;
        for_each_dict_entry(node, [&](const std::string& key, plist_t item) {
            if (!whole)
                return;
            auto value = object_from_node(item, depth + 1);
            if (!value)
                whole = false;
            else
                dict->set(key, *value);
        });
        if (!whole)
            return std::nullopt;
        return Ref<Object>(dict);
    }
    default:
        return Ref<Object>();
    }
}

// Nesting depth of a parsed tree, measured without recursion.
size_t tree_depth(plist_t root) {
    std::vector<std::pair<plist_t, size_t>> pending{{root, 1}};
    size_t deepest = 0;
    while (!pending.empty()) {
        // Plain variables, not a structured binding: clang 14 cannot capture those in the lambdas.
        const plist_t node = pending.back().first;
        const size_t depth = pending.back().second;
        pending.pop_back();
        deepest = std::max(deepest, depth);
        if (plist_get_node_type(node) == PLIST_ARRAY)
            for_each_array_item(node, [&](plist_t item) { pending.emplace_back(item, depth + 1); });
        else if (plist_get_node_type(node) == PLIST_DICT)
            for_each_dict_entry(
                node, [&](const std::string&, plist_t item) { pending.emplace_back(item, depth + 1); });
    }
    return deepest;
}

// plist_free recurses once per level, so a tree too deep for an ordinary stack is freed on a
// thread whose stack fits it. When no such thread can be made the tree is leaked, not crashed on.
void free_deep_tree(plist_t root) {
    constexpr size_t kStackPerLevel = 128; // libplist takes about 40 bytes a level
    size_t stack = std::max<size_t>((tree_depth(root) + 4096) * kStackPerLevel, PTHREAD_STACK_MIN);
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
        return;
    pthread_t thread;
    auto free_tree = [](void* node) -> void* {
        plist_free(node);
        return nullptr;
    };
    if (pthread_attr_setstacksize(&attributes, stack) == 0 &&
        pthread_create(&thread, &attributes, free_tree, root) == 0)
        pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

// Length of the well-formed UTF-8 sequence at `at`, 0 when it is malformed, overlong or a surrogate.
size_t utf8_sequence_length(std::string_view text, size_t at) {
    auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return 1;
    size_t length;
    uint32_t code, least;
    if ((lead & 0xE0) == 0xC0)
        length = 2, code = lead & 0x1F, least = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, code = lead & 0x0F, least = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, code = lead & 0x07, least = 0x10000;
    else
        return 0;
    if (length > text.size() - at)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// libplist writes a binary file it cannot read back when a string is not UTF-8, so broken bytes
// become U+FFFD before they reach it.
std::string valid_utf8(const std::string& text) {
    std::string clean;
    clean.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        size_t length = utf8_sequence_length(text, at);
        if (length)
            clean.append(text, at, length), at += length;
        else
            clean += "\xEF\xBF\xBD", at += 1;
    }
    return clean;
}

plist_t number_node(const NSNumber& number) {
    switch (number.kind()) {
    case NSNumber::Kind::Bool:
        return plist_new_bool(number.boolValue());
    case NSNumber::Kind::Integer:
        return plist_new_uint(static_cast<uint64_t>(number.integerValue()));
    case NSNumber::Kind::Real:
        return plist_new_real(number.doubleValue());
    }
    return nullptr;
}

// Builds a libplist tree; nullptr for an object with no property-list form, or past the depth
// limit (which is also how a container that holds itself ends).
plist_t node_from_object(const Object* object, int depth) {
    if (auto* dict = dynamic_cast<const NSDictionary*>(object)) {
        if (depth > max_property_list_depth)
            return nullptr;
        PlistTree node(plist_new_dict());
        for (const auto& key : dict->keys()) {
            plist_t value = node_from_object(dict->get(key).get(), depth + 1);
            if (!value)
                return nullptr;
            plist_dict_set_item(node.get(), valid_utf8(key).c_str(), value);
        }
        return node.release();
    }
    if (auto* array = dynamic_cast<const NSArray*>(object)) {
        if (depth > max_property_list_depth)
            return nullptr;
        PlistTree node(plist_new_array());
        for (const auto& item : array->items()) {
            plist_t value = node_from_object(item.get(), depth + 1);
            if (!value)
                return nullptr;
            plist_array_append_item(node.get(), value);
        }
        return node.release();
    }
    if (auto* text = string_of(object))
        return plist_new_string(valid_utf8(*text).c_str());
    if (auto* number = dynamic_cast<const NSNumber*>(object))
        return number_node(*number);
    if (auto* data = dynamic_cast<const NSData*>(object)) {
        if (data->kind() == NSData::Kind::Date)
            return plist_new_date(data->seconds(), data->microseconds());
        return plist_new_data(data->bytes().data(), data->bytes().size());
    }
    return nullptr;
}

// Converts a parsed tree and frees it; nil for no tree or one nested too deep.
Ref<Object> object_from_tree(plist_t root) {
    if (!root)
        return nullptr;
    auto object = object_from_node(root, 1);
    if (!object) {
        free_deep_tree(root);
        return nullptr;
    }
    plist_free(root);
    return *object;
}

} // namespace

Ref<Object> parse_property_list(const char* bytes, size_t length) {
    if (!bytes || length == 0 || length > max_property_list_file_size)
        return nullptr;
    auto* raw = reinterpret_cast<const unsigned char*>(bytes);
    if (std::string_view(bytes, length).starts_with("bplist")) {
        if (!binary_property_list_is_sane(raw, length))
            return nullptr;
        plist_t root = nullptr;
        plist_from_bin(bytes, static_cast<uint32_t>(length), &root);
        return object_from_tree(root);
    }
    if (!xml_property_list_is_whole(bytes, length))
        return nullptr;
    plist_t root = nullptr;
    plist_from_xml(bytes, static_cast<uint32_t>(length), &root);
    return object_from_tree(root);
}

std::string serialise_property_list(const Object* root, PlistFormat format) {
    PlistTree tree(node_from_object(root, 1));
    if (!tree)
        return {};
    char* bytes = nullptr;
    uint32_t length = 0;
    std::string out;
    if (format == PlistFormat::XML) {
        plist_to_xml(tree.get(), &bytes, &length);
        if (bytes)
            out.assign(bytes, length);
        plist_to_xml_free(bytes);
    } else {
        plist_to_bin(tree.get(), &bytes, &length);
        if (bytes)
            out.assign(bytes, length);
        plist_to_bin_free(bytes);
    }
    return out;
}

} // namespace platform::foundation
