// Walks two property-list trees side by side to the first place where they differ.
#include "tree_difference.h"

#include <cstring>
#include <typeinfo>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

namespace plist_test {

using namespace platform::foundation;
using platform::runtime::Object;

namespace {

bool same_bits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// What differs between two leaves or container shapes, empty when nothing does (children aside).
std::string node_difference(const Object* a, const Object* b) {
    if (!a || !b)
        return a == b ? "" : "one side is nil";
    if (typeid(*a) != typeid(*b))
        return std::string("classes ") + typeid(*a).name() + " and " + typeid(*b).name();
    if (auto* x = dynamic_cast<const NSDictionary*>(a))
        return x->keys() == static_cast<const NSDictionary*>(b)->keys() ? "" : "dictionary keys";
    if (auto* x = dynamic_cast<const NSArray*>(a))
        return x->count() == static_cast<const NSArray*>(b)->count() ? "" : "array counts";
    if (auto* x = string_of(a))
        return *x == *string_of(b) ? "" : "strings \"" + *x + "\" and \"" + *string_of(b) + "\"";
    if (auto* x = dynamic_cast<const NSNumber*>(a)) {
        auto* y = static_cast<const NSNumber*>(b);
        if (x->kind() != y->kind())
            return "number kinds";
        bool same = x->kind() == NSNumber::Kind::Real ? same_bits(x->doubleValue(), y->doubleValue())
                                                      : x->integerValue() == y->integerValue();
        return same ? ""
                    : "numbers " + std::to_string(x->doubleValue()) + " and " +
                          std::to_string(y->doubleValue());
    }
    if (auto* x = dynamic_cast<const NSData*>(a)) {
        auto* y = static_cast<const NSData*>(b);
        bool same = x->kind() == y->kind() && x->bytes() == y->bytes() && x->seconds() == y->seconds() &&
                    x->microseconds() == y->microseconds();
        return same ? "" : "data";
    }
    return "objects of no property-list kind";
}

std::string difference_at(const std::string& path, const Object* a, const Object* b) {
    std::string here = node_difference(a, b);
    if (!here.empty())
        return (path.empty() ? "/" : path) + ": " + here;
    if (auto* x = dynamic_cast<const NSDictionary*>(a)) {
        auto* y = static_cast<const NSDictionary*>(b);
        for (const auto& key : x->keys()) {
            std::string below = difference_at(path + "/" + key, x->get(key).get(), y->get(key).get());
            if (!below.empty())
                return below;
        }
    } else if (auto* x = dynamic_cast<const NSArray*>(a)) {
        auto* y = static_cast<const NSArray*>(b);
        for (uint64_t i = 0; i < x->count(); ++i) {
            std::string below = difference_at(path + "/" + std::to_string(i), x->objectAtIndex(i).get(),
                                              y->objectAtIndex(i).get());
            if (!below.empty())
                return below;
        }
    }
    return "";
}

} // namespace

std::string first_difference(const Object* a, const Object* b) {
    return difference_at("", a, b);
}

} // namespace plist_test
