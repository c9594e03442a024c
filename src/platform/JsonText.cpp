#include "platform/JsonText.h"

#include <json/reader.h>
#include <json/writer.h>

#include <exception>
#include <memory>

std::string StyledJsonText(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "   ";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value) + "\n";
}

Json::Value ParseJsonText(std::string_view text)
{
    Json::CharReaderBuilder builder;
    builder["allowComments"] = true;
    builder["collectComments"] = false;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    std::string errors;
    try {
        if (!reader->parse(text.data(), text.data() + text.size(), &value, &errors))
            return Json::Value();
    } catch (const std::exception&) {
        return Json::Value();
    }
    return value;
}
