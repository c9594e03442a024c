#include "LocalHttpServer.h"

#include "update/ProgramVersion.h"
#include "update/UpdateItemBuilder.h"
#include "update/UpdatePaths.h"
#include "update/UpdateQuery.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class UpdateQueryTest : public ::testing::Test {
protected:
    void SetUp() override { ClearProxyVariables(); }
};

TEST_F(UpdateQueryTest, RequestCarriesTheAppKeyAndVersionOfTheItem)
{
    const std::vector<UpdateItem> items = BuildUpdateItems({{0x320F, 0x221C, 0x0105}}, ReadProgramVersion("1.0.0.5"));
    struct Case {
        size_t row;
        const char* body;
    };
    const Case cases[] = {
        {0, "app_key=MIRVA_1_QX27M58R_MS_1&version=105"},  // firmware 0x0105 in hex
        {3, "app_key=MIRVA_0_ALL_MS_1&version=1005"},      // program 1.0.0.5 in decimal
    };
    LocalHttpServer server;
    HttpClient client;
    UpdateQuery query(client, server.BaseUrl());
    for (const auto& c : cases) {
        const UpdateItem& item = items[c.row];
        query.QueryUpdate(MakeAppKey(item), item.version, item.hexFlag);
    }
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    for (size_t i = 0; i < requests.size(); ++i) {
        SCOPED_TRACE(cases[i].body);
        EXPECT_EQ(requests[i].requestLine, "POST /updates HTTP/1.1");
        // The length sent counts the terminating zero byte.
        EXPECT_EQ(requests[i].body, std::string(cases[i].body) + '\0');
        EXPECT_EQ(requests[i].Header("Content-Length"), std::vector<std::string>{std::to_string(requests[i].body.size())});
    }
}

TEST_F(UpdateQueryTest, BaseUrlWithoutTrailingSlashStillReachesUpdates)
{
    LocalHttpServer server;
    HttpClient client;
    std::string base = server.BaseUrl();
    base.pop_back();
    UpdateQuery(client, base).QueryUpdate("K", 1, 1);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].requestLine, "POST /updates HTTP/1.1");
}

TEST_F(UpdateQueryTest, ReplyIsComparedWithTheLocalVersion)
{
    struct Case {
        const char* reply;
        uint32_t version;
        uint32_t hexFlag;
        uint32_t status;
        const char* current;
        const char* server;
    };
    const Case cases[] = {
        {R"({"name":"MS","version":"0106","version_name":"1.6","path":"http://h/ms.bin","device_id":5})", 0x0105, 1, 1, "V0105", "V0106"},
        {R"({"name":"MS","version":"0105"})", 0x0105, 1, 7, "V0105", "V0105"},
        {R"({"name":"MS","version":"0a00"})", 0x0105, 1, 1, "V0105", "V0a00"},  // read as hex
        {R"({"name":"AP","version":"1006","version_name":"1.0.0.6"})", 1005, 0, 1, "V1005", "1.0.0.6"},
        {R"({"name":"AP","version":"1005","version_name":"1.0.0.5"})", 1005, 0, 7, "V1005", "1.0.0.5"},
        {R"({"name":"AP","version":"999"})", 1005, 0, 7, "V1005", ""},
        {R"({"name":"MS"})", 0x0105, 1, 7, "V0105", "V"},  // missing members read as empty or 0
        {R"({"name":"MS","version":"99999999999"})", 0x0105, 1, 1, "V0105", "V99999999999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        UpdateInfo info;
        ASSERT_TRUE(UpdateQuery::ParseReply(c.reply, c.version, c.hexFlag, info));
        EXPECT_EQ(info.status, c.status);
        EXPECT_EQ(info.currentVersionText, c.current);
        EXPECT_EQ(info.serverVersionText, c.server);
    }
    UpdateInfo info;
    ASSERT_TRUE(UpdateQuery::ParseReply(cases[0].reply, 0x0105, 1, info));
    EXPECT_EQ(info.name, "MS");
    EXPECT_EQ(info.downloadPath, "http://h/ms.bin");
    EXPECT_EQ(info.serverVersionName, "1.6");
    EXPECT_EQ(info.deviceId, 5);
}

TEST_F(UpdateQueryTest, ReplyThatIsNoJsonObjectLeavesTheInfoAlone)
{
    for (const char* reply : {"not json", "[1,2]", "\"MS\"", "42", "", "{\"name\":"}) {
        SCOPED_TRACE(reply);
        UpdateInfo info;
        EXPECT_FALSE(UpdateQuery::ParseReply(reply, 0x0105, 1, info));
        EXPECT_EQ(info.status, UpdateInfo::kNoNewer);
        EXPECT_TRUE(info.name.empty());
    }
}

TEST_F(UpdateQueryTest, InstallerPathIsBuiltOnlyFromAPlainFileName)
{
    struct Case {
        const char* name;
        bool plain;
    };
    const Case cases[] = {
        {"MS", true}, {"KB v2", true}, {"../../etc/evil", false}, {"..", false}, {".", false},
        {"sub/name", false}, {"C:\\\\x", false}, {"/abs", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateInfo info;
        const std::string reply = std::string(R"({"version":"1","name":")") + c.name + "\"}";
        ASSERT_TRUE(UpdateQuery::ParseReply(reply, 1, 1, info));
        if (c.plain) {
            EXPECT_EQ(info.installerPath, (UpdatePaths::InstallerFolder() / (std::string(c.name) + ".exe")).string());
        } else {
            EXPECT_EQ(info.installerPath, "");
        }
    }
}

TEST_F(UpdateQueryTest, FailedOrOversizedRepliesGiveNoNews)
{
    LocalHttpServer server;
    // A reply beyond the buffer is cut at its capacity and then does not parse.
    server.SetReply(R"({"name":"MS","version":"9999","pad":")" + std::string(200000, 'x') + "\"}");
    HttpClient client;
    UpdateInfo info = UpdateQuery(client, server.BaseUrl()).QueryUpdate("K", 0x0105, 1);
    EXPECT_EQ(info.name, "");
    EXPECT_EQ(info.status, UpdateInfo::kNoNewer);

    const std::string closed = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/";
    info = UpdateQuery(client, closed).QueryUpdate("K", 0x0105, 1);
    EXPECT_EQ(info.name, "NO_LINK_SERVER");

    // No server set: nothing is sent and the query fails the same way.
    info = UpdateQuery(client, "").QueryUpdate("K", 0x0105, 1);
    EXPECT_EQ(info.name, "NO_LINK_SERVER");
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(UpdateItems, VersionsComeFromThePresentProductsAndTheProgram)
{
    struct Case {
        const char* what;
        std::vector<PresentProduct> present;
        std::vector<uint32_t> versions;  // mouse, keyboard, mouse pad, program
    };
    const Case cases[] = {
        {"nothing", {}, {0, 0, 0, 1005}},
        {"mouse by cable and pad", {{0x320F, 0x221C, 0x0105}, {0x320F, 0x1004, 0x0101}}, {0x0105, 0, 0x0101, 1005}},
        {"mouse receiver only", {{0x320F, 0x222F, 0x0102}}, {0x0102, 0, 0, 1005}},
        {"keyboard, headset ignored", {{0x320F, 0x0000, 0x0107}, {0x0C76, 0x1630, 0x0100}}, {0, 0x0107, 0, 1005}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<UpdateItem> items = BuildUpdateItems(c.present, ProgramVersion());
        ASSERT_EQ(items.size(), 4u);
        for (size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(items[i].version, c.versions[i]) << i;
        const auto wanted = ItemsToQuery(items);
        EXPECT_EQ(wanted.size(), static_cast<size_t>(std::count_if(c.versions.begin(), c.versions.end(), [](uint32_t v) { return v != 0; })));
        EXPECT_EQ(wanted.back().name, "AP");
        EXPECT_EQ(wanted.back().versionText, "V1005");
    }
}

TEST(UpdateItems, AppKeysAndProgramVersions)
{
    std::vector<UpdateItem> items = UpdateItemTable();
    EXPECT_EQ(MakeAppKey(items[2]), "NULL");  // absent
    items[2].version = 0x0101;
    EXPECT_EQ(MakeAppKey(items[2]), "MIRVA_2_QX27M40R_1_T62_1");
    items[1].version = 0x0107;
    EXPECT_EQ(MakeAppKey(items[1]), "MIRVA_1_QX27M93R_KB_1");

    struct Case {
        const char* text;
        uint32_t version;
    };
    for (const Case& c : {Case{"1.0.0.5", 1005}, Case{"2.1", 21}, Case{"", 0}, Case{"1.0.x", 0}, Case{"...", 0}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadProgramVersion(c.text), c.version);
    }
    EXPECT_EQ(ProgramVersion(), 1005u);  // the build's project version 1.0.0.5
}

} // namespace
