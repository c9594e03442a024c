#include "update/UpdateTimeFile.h"

#include "platform/AtomicFile.h"
#include "platform/JsonText.h"

#include <json/reader.h>
#include <json/value.h>
#include <json/writer.h>

#include <exception>
#include <fstream>
#include <sstream>

UpdateTimeFile::UpdateTimeFile(std::filesystem::path dataFolder) : m_path(std::move(dataFolder) / "updatetime.config") {}

std::string UpdateTimeFile::Read() const
{
    std::ifstream in(m_path, std::ios::binary);
    if (!in)
        return {};
    std::stringstream text;
    text << in.rdbuf();
    const Json::Value root = ParseJsonText(text.str());
    if (!root.isObject())
        return {};
    const Json::Value& last = root["updatelasttime"];
    if (!last.isObject() || !last["value"].isString())
        return {};
    return last["value"].asString();
}

std::string UpdateTimeFile::ReadOrCreate() const
{
    std::string date = Read();
    if (date.empty()) {
        date = FormatDate(std::time(nullptr));
        Write(date);
    }
    return date;
}

bool UpdateTimeFile::WriteToday() const
{
    return Write(FormatDate(std::time(nullptr)));
}

bool UpdateTimeFile::Write(const std::string& date) const
{
    Json::Value root(Json::objectValue);
    root["updatelasttime"]["value"] = date;
    return WriteFileAtomicallyCreatingFolder(m_path, StyledJsonText(root));
}

std::string UpdateTimeFile::FormatDate(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    return std::to_string(local.tm_year + 1900) + "-" + std::to_string(local.tm_mon + 1) + "-" + std::to_string(local.tm_mday);
}
