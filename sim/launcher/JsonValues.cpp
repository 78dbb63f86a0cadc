#include "sim/launcher/JsonValues.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

namespace zimtone::sim {

using namespace platform::foundation;
using platform::runtime::Object;
using platform::runtime::Ref;

Ref<Object> object_from_json(const nlohmann::json& value) {
    switch (value.type()) {
    case nlohmann::json::value_t::boolean:
        return NSNumber::numberWithBool(value.get<bool>());
    case nlohmann::json::value_t::number_integer:
    case nlohmann::json::value_t::number_unsigned:
    case nlohmann::json::value_t::number_float:
        return NSNumber::numberWithDouble(value.get<double>());
    case nlohmann::json::value_t::string:
        return ns(value.get<std::string>());
    case nlohmann::json::value_t::array: {
        std::vector<Ref<Object>> items;
        for (auto& item : value)
            if (auto o = object_from_json(item))
                items.push_back(o);
        return NSArray::create(std::move(items));
    }
    case nlohmann::json::value_t::object: {
        auto d = NSMutableDictionary::create();
        for (auto& [k, v] : value.items())
            d->set(k, object_from_json(v));
        return d;
    }
    default:
        return nullptr;
    }
}

} // namespace zimtone::sim
