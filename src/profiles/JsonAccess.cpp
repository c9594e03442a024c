#include "profiles/JsonAccess.h"

#include <cmath>
#include <limits>

const Json::Value& JsonMember(const Json::Value& value, const char* key)
{
    if (!value.isObject())
        return Json::Value::nullSingleton();
    const Json::Value* found = value.find(key, key + std::char_traits<char>::length(key));
    return found ? *found : Json::Value::nullSingleton();
}

const Json::Value& JsonAt(const Json::Value& value, Json::ArrayIndex index)
{
    if (!value.isArray() || index >= value.size())
        return Json::Value::nullSingleton();
    return value[index];
}

Json::ArrayIndex JsonSize(const Json::Value& value) { return value.isArray() ? value.size() : 0; }

int64_t JsonInt(const Json::Value& value)
{
    switch (value.type()) {
    case Json::intValue:
        return value.asInt64();
    case Json::uintValue:
        return static_cast<int64_t>(value.asUInt64());
    case Json::booleanValue:
        return value.asBool() ? 1 : 0;
    case Json::realValue: {
        const double d = value.asDouble();
        if (!std::isfinite(d) || d <= static_cast<double>(std::numeric_limits<int64_t>::min())
            || d >= static_cast<double>(std::numeric_limits<int64_t>::max()))
            return 0;
        return static_cast<int64_t>(d);
    }
    default:
        return 0;
    }
}

bool JsonFlag(const Json::Value& value)
{
    if (value.isBool())
        return value.asBool();
    if (value.isDouble() && !value.isIntegral())
        return value.asDouble() != 0.0;
    return JsonInt(value) != 0;
}

std::string JsonText(const Json::Value& value) { return value.isString() ? value.asString() : std::string(); }

Json::Value& JsonSlot(Json::Value& value, const char* key)
{
    if (!value.isObject())
        value = Json::Value(Json::objectValue);
    return value[key];
}

Json::Value& JsonSlot(Json::Value& value, Json::ArrayIndex index)
{
    if (!value.isArray())
        value = Json::Value(Json::arrayValue);
    return value[index];
}
