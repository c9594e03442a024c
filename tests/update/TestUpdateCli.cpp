// Runs the built gaming-device-cli's update-check against a local server.
#include "CliRun.h"
#include "LocalHttpServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class UpdateCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearProxyVariables();
        // Keep the user's own settings and data out of the run.
        ::setenv("XDG_CONFIG_HOME", (folder.PathText() + "/config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (folder.PathText() + "/data").c_str(), 1);
    }

    TempFolder folder;
};

TEST_F(UpdateCliTest, PrintsOneLinePerRowAndTheOverallState)
{
    LocalHttpServer server;
    server.SetReplyFn([](const RecordedRequest& request) -> std::string {
        if (request.body.starts_with("app_key=MIRVA_1_QX27M58R_MS_1&version=105"))
            return R"({"name":"MS","version":"0106"})";
        return R"({"name":"AP","version":"1005","version_name":"1.0.0.5"})";
    });
    const CliRun run = RunCliLine("--simulate mouse,headset --data-root " + folder.PathText() + "/root update-check --update-server " +
        server.BaseUrl());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "MS V0105 V0106 1\nAP V1005  7\nstate 1\n");
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[1].body, std::string("app_key=MIRVA_0_ALL_MS_1&version=1005") + '\0');
    EXPECT_TRUE(std::filesystem::exists(folder.PathText() + "/root/updatetime.config"));
}

TEST_F(UpdateCliTest, ServerAndCertificateComeFromTheSettingsFile)
{
    const TestCertificate cert = MakeSelfSignedCertificate(folder.PathText(), "server");
    LocalHttpServer server(cert);
    server.SetReplyFn([](const RecordedRequest& request) -> std::string {
        if (request.body.find("_ALL_") != std::string::npos)
            return R"({"name":"AP","version":"1006","version_name":"1.0.0.6"})";
        return R"({"name":"T62","version":"0101"})";
    });
    std::filesystem::create_directories(folder.PathText() + "/config/Gaming device");
    std::ofstream(folder.PathText() + "/config/Gaming device/settings.json")
        << "{\"UpdateServer\":\"" << server.BaseUrl() << "\",\"UpdateCaFile\":\"" << cert.certFile.string() << "\"}";

    CliRun run = RunCliLine("--simulate mousepad update-check");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "T62 V0101  7\nAP V1005 1.0.0.6 1\nstate 1\n");

    // Without the extra certificate the server's own is not trusted.
    run = RunCliLine("--simulate mousepad update-check --ca-file /dev/null");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "T62 V0101  7\nAP V1005  7\nstate 2\n");
    EXPECT_NE(run.err.find("update server not reached"), std::string::npos) << run.err;
}

TEST_F(UpdateCliTest, WithoutAServerEveryItemFails)
{
    const CliRun run = RunCliLine("--simulate keyboard update-check");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "KB V0107  7\nAP V1005  7\nstate 2\n");
    EXPECT_NE(run.err.find("no update server is set"), std::string::npos) << run.err;
}

TEST_F(UpdateCliTest, UnreadableCertificateFileIsReported)
{
    const CliRun run = RunCliLine("--simulate mouse update-check --update-server https://127.0.0.1:1/ --ca-file " + folder.PathText() + "/none.crt");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("cannot be read"), std::string::npos) << run.err;
}

} // namespace
