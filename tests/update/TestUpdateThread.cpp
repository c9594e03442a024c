#include "LocalHttpServer.h"

#include "update/UpdateItemBuilder.h"
#include "update/UpdateThread.h"
#include "update/UpdateTimeFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

struct Line {
    std::string name;
    std::string current;
    std::string server;
    UpdateRowState state;
    bool operator==(const Line&) const = default;
};

std::vector<Line> Lines(const UpdateListModel& model)
{
    std::vector<Line> lines;
    for (const auto& row : model.Rows())
        lines.push_back({row.name, row.currentVersionText, row.serverVersionText, row.state});
    return lines;
}

class UpdateThreadTest : public ::testing::Test {
protected:
    void SetUp() override { ClearProxyVariables(); }

    UpdateCheckConfig Config(const std::string& url) const { return {url, {}, folder.PathText()}; }
    std::vector<UpdateItem> Items() const
    {
        return ItemsToQuery(BuildUpdateItems({{0x320F, 0x221C, 0x0105}, {0x320F, 0x1004, 0x0101}}, 1005));
    }

    TempFolder folder;
};

TEST_F(UpdateThreadTest, EveryItemIsAskedAndListed)
{
    LocalHttpServer server;
    server.SetReplyFn([](const RecordedRequest& request) -> std::string {
        if (request.body.starts_with("app_key=MIRVA_1_QX27M58R_MS_1&"))
            return R"({"name":"MS_fw","version":"0106","path":"http://h/ms"})";
        if (request.body.starts_with("app_key=MIRVA_2_"))
            return R"({"name":"T62","version":"0101"})";
        return "<html>not found</html>";  // the program row: a reply that does not parse
    });
    UpdateThread thread(Config(server.BaseUrl()));
    int changes = 0;
    thread.Start(Items(), [&] { ++changes; });
    thread.Wait();

    const UpdateListModel model = thread.Snapshot();
    EXPECT_EQ(Lines(model), (std::vector<Line>{
                                {"MS", "V0105", "V0106", UpdateRowState::NeedUpdate},
                                {"T62", "V0101", "", UpdateRowState::UpdateOk},
                                {"AP", "V1005", "", UpdateRowState::UpdateOk},
                            }));
    EXPECT_EQ(model.Rows()[0].downloadPath, "http://h/ms");
    EXPECT_TRUE(model.Rows()[0].installerPath.ends_with("/UpdateData/MS_fw.exe"));
    EXPECT_EQ(model.State(), UpdateState::HaveUpdates);
    EXPECT_GT(changes, 0);
    EXPECT_TRUE(thread.Errors().empty());
    ASSERT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(UpdateTimeFile(folder.PathText()).Read(), UpdateTimeFile::FormatDate(std::time(nullptr)));
}

TEST_F(UpdateThreadTest, UnreachableOrUnsetServerFailsEveryItem)
{
    for (const std::string& url : {std::string(), "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/"}) {
        SCOPED_TRACE(url);
        UpdateThread thread(Config(url));
        thread.Start(Items());
        thread.Wait();
        const UpdateListModel model = thread.Snapshot();
        EXPECT_EQ(model.State(), UpdateState::NoInfo);
        for (const auto& row : model.Rows())
            EXPECT_EQ(row.state, UpdateRowState::UpdateOk);
        EXPECT_EQ(thread.Errors().size(), 3u);
    }
}

TEST_F(UpdateThreadTest, EqualVersionsAreUpToDate)
{
    LocalHttpServer server;
    server.SetReplyFn([](const RecordedRequest& request) -> std::string {
        return request.body.find("version=1005") != std::string::npos ? R"({"name":"AP","version":"1005","version_name":"1.0.0.5"})"
                                                                         : R"({"name":"X","version":"0105"})";
    });
    UpdateThread thread(Config(server.BaseUrl()));
    thread.Start(ItemsToQuery(BuildUpdateItems({{0x320F, 0x221C, 0x0105}}, 1005)));
    thread.Wait();
    const UpdateListModel model = thread.Snapshot();
    EXPECT_EQ(Lines(model), (std::vector<Line>{
                                {"MS", "V0105", "", UpdateRowState::UpdateOk},
                                {"AP", "V1005", "", UpdateRowState::UpdateOk},
                            }));
    EXPECT_EQ(model.State(), UpdateState::UpToDate);
}

TEST_F(UpdateThreadTest, StopEndsACheckWaitingOnASilentServer)
{
    LocalHttpServer server;
    server.SetSilent(true);
    UpdateThread thread(Config(server.BaseUrl()));  // the default 30 s limits
    thread.Start(Items());
    while (server.Requests().empty())
        std::this_thread::sleep_for(10ms);
    const auto start = std::chrono::steady_clock::now();
    thread.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(thread.Snapshot().State(), UpdateState::Checking);
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(UpdateThreadTest, LastCheckDateIsTheStoredOneOrToday)
{
    const std::string today = UpdateTimeFile::FormatDate(std::time(nullptr));
    struct Case {
        const char* what;
        const char* content;  // nullptr: no file
        std::string shown;
    };
    const Case cases[] = {
        {"no file", nullptr, today},
        {"stored date", R"({"updatelasttime":{"value":"2024-1-9"}})", "2024-1-9"},
        {"no value", R"({"updatelasttime":{}})", today},
        {"not JSON", "garbage", today},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = std::filesystem::path(folder.PathText()) / "updatetime.config";
        std::filesystem::remove(file);
        if (c.content)
            std::ofstream(file) << c.content;
        UpdateThread thread(Config(""));
        thread.Start({});
        thread.Wait();
        EXPECT_EQ(thread.Snapshot().LastCheckDate(), c.shown);
        EXPECT_EQ(UpdateTimeFile(folder.PathText()).Read(), c.content && c.shown != today ? c.shown : today);
    }
}

TEST(UpdateTimeFile, DateHasNoLeadingZeros)
{
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 7;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    EXPECT_EQ(UpdateTimeFile::FormatDate(std::mktime(&local)), "2026-3-7");
}

} // namespace
