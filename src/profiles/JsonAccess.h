#pragma once

#include <json/value.h>

#include <cstdint>
#include <string>

// Readers that never throw: a member or element of an unexpected JSON type
// reads as absent (null), a number read from anything but a number is 0 and a
// string read from anything but a string is empty. Hand-edited or hostile files
// can therefore not crash the program.

const Json::Value& JsonMember(const Json::Value& value, const char* key);
const Json::Value& JsonAt(const Json::Value& value, Json::ArrayIndex index);
// Number of elements of an array, 0 for anything else.
Json::ArrayIndex JsonSize(const Json::Value& value);

// Integers as written; a boolean reads 0 or 1; a finite decimal is truncated;
// anything else reads 0. Callers truncate to their field width.
int64_t JsonInt(const Json::Value& value);
// Any non-zero number, or true.
bool JsonFlag(const Json::Value& value);
std::string JsonText(const Json::Value& value);

template <typename T>
T JsonField(const Json::Value& value)
{
    return static_cast<T>(JsonInt(value));
}

// A member of an object read as JsonField<T>, and as a 0/1 byte by JsonFlag.
template <typename T>
T JsonMemberField(const Json::Value& object, const char* key)
{
    return JsonField<T>(JsonMember(object, key));
}
inline uint8_t JsonMemberFlag(const Json::Value& object, const char* key)
{
    return JsonFlag(JsonMember(object, key)) ? 1 : 0;
}

// Writers: the slot is created, replacing a value of the wrong type.
Json::Value& JsonSlot(Json::Value& value, const char* key);
Json::Value& JsonSlot(Json::Value& value, Json::ArrayIndex index);
