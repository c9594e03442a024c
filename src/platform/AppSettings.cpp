#include "platform/AppSettings.h"

#include "platform/AtomicFile.h"
#include "platform/JsonText.h"
#include "platform/UserFolders.h"

#include <json/reader.h>
#include <json/writer.h>

#include <cstdlib>
#include <exception>
#include <fstream>
#include <sstream>

std::filesystem::path AppSettings::DefaultPath()
{
    return UserFolders::ConfigFolder() / "settings.json";
}

AppSettings::AppSettings(std::filesystem::path path) : m_path(std::move(path)) {}

bool AppSettings::Load()
{
    m_root = Json::Value(Json::objectValue);
    std::ifstream in(m_path, std::ios::binary);
    if (!in)
        return true;
    std::stringstream text;
    text << in.rdbuf();
    Json::Value root = ParseJsonText(text.str());
    if (!root.isObject())
        return false;
    m_root = std::move(root);
    return true;
}

bool AppSettings::Save() const
{
    return WriteFileAtomicallyCreatingFolder(m_path, StyledJsonText(m_root));
}

std::string AppSettings::Text(const char* key) const
{
    const Json::Value& value = m_root[key];
    return value.isString() ? value.asString() : std::string();
}

void AppSettings::SetText(const char* key, const std::string& value)
{
    m_root[key] = value;
}

void AppSettings::Remove(const char* key)
{
    m_root.removeMember(key);
}
