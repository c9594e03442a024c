#include "platform/JsonText.h"

#include <json/writer.h>

std::string StyledJsonText(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "   ";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value) + "\n";
}
