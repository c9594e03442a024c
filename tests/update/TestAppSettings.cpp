#include "LocalHttpServer.h"

#include "platform/AppSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(AppSettings, KeysSurviveAWriteAndUnknownKeysAreKept)
{
    TempFolder folder;
    const auto path = std::filesystem::path(folder.PathText()) / "Gaming device" / "settings.json";
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << R"({"LANGUAGE":"2","Other":{"x":1}})";

    AppSettings settings(path);
    ASSERT_TRUE(settings.Load());
    EXPECT_EQ(settings.Text(AppSettings::kLanguage), "2");
    settings.SetText(AppSettings::kUpdateServer, "https://updates.local/api/");
    settings.SetText(AppSettings::kUpdateCaFile, "/etc/own.crt");
    ASSERT_TRUE(settings.Save());

    AppSettings again(path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.UpdateServer(), "https://updates.local/api/");
    EXPECT_EQ(again.UpdateCaFile(), "/etc/own.crt");
    EXPECT_NE(ReadAll(path).find("\"Other\""), std::string::npos);
    // Only the file itself is left in the folder: the temporary file was renamed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()), {}), 1);
}

TEST(AppSettings, MissingOrBrokenFilesReadAsNoSettings)
{
    TempFolder folder;
    struct Case {
        const char* what;
        const char* content;  // nullptr: no file
        bool valid;
    };
    const Case cases[] = {
        {"missing", nullptr, true},
        {"not JSON", "{\"UpdateServer\":", false},
        {"not an object", "[\"UpdateServer\"]", false},
        {"wrong type", R"({"UpdateServer":5})", true},
    };
    const auto path = std::filesystem::path(folder.PathText()) / "settings.json";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(path);
        if (c.content)
            std::ofstream(path) << c.content;
        AppSettings settings(path);
        EXPECT_EQ(settings.Load(), c.valid);
        EXPECT_EQ(settings.UpdateServer(), "");
    }
}

TEST(AppSettings, DefaultPathFollowsTheConfigHome)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(AppSettings::DefaultPath(), std::filesystem::path("/tmp/cfg/Gaming device/settings.json"));
    ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(AppSettings::DefaultPath(), std::filesystem::path("/home/u/.config/Gaming device/settings.json"));
    if (saved)
        ::setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
