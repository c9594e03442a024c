// The "update-check" command: asks the update server about the program and
// the products present, and prints the update list.
#include "cli/CliContext.h"

#include "hid/HidBackend.h"
#include "platform/AppSettings.h"
#include "update/ProgramVersion.h"
#include "update/UpdateItemBuilder.h"
#include "update/UpdatePaths.h"
#include "update/UpdateThread.h"

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int RunUpdateCheck(CliContext& context, const std::vector<std::string>& args)
{
    AppSettings settings;
    if (!settings.Load())
        context.Err() << "the settings file " << settings.Path().string() << " is not valid JSON and was ignored\n";
    std::string server = settings.UpdateServer();
    std::string caFile = settings.UpdateCaFile();
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--update-server" && hasValue) {
            server = args[++i];
        } else if (args[i] == "--ca-file" && hasValue) {
            caFile = args[++i];
        } else {
            context.Err() << "update-check: unknown or incomplete option " << args[i] << "\n";
            return kExitUsage;
        }
    }
    if (!caFile.empty() && !std::ifstream(caFile)) {
        context.Err() << "the certificate file " << caFile << " cannot be read\n";
        return kExitUsage;
    }
    if (server.empty())
        context.Err() << "no update server is set: give --update-server URL or set \"" << AppSettings::kUpdateServer
                      << "\" in " << settings.Path().string() << "\n";

    std::vector<PresentProduct> present;
    for (const HidNode& node : context.Backend().ListNodes())
        present.push_back({node.vendorId, node.productId, node.version});
    const std::vector<UpdateItem> items = ItemsToQuery(BuildUpdateItems(present, ProgramVersion()));

    UpdateCheckConfig config;
    config.baseUrl = server;
    config.http.extraCaFile = caFile;
    const std::string& dataRoot = context.Options().dataRoot;
    config.dataFolder = dataRoot.empty() ? UpdatePaths::DefaultDataFolder() : std::filesystem::path(dataRoot);

    UpdateThread thread(config);
    thread.Start(items);
    thread.Wait();
    const UpdateListModel model = thread.Snapshot();
    for (const UpdateRow& row : model.Rows())
        context.Out() << row.name << " " << row.currentVersionText << " " << row.serverVersionText << " "
                      << static_cast<uint32_t>(row.state) << "\n";
    context.Out() << "state " << static_cast<uint32_t>(model.State()) << "\n";
    for (const std::string& error : thread.Errors())
        context.Err() << "update server not reached for " << error << "\n";
    return model.State() == UpdateState::NoInfo ? kExitFailed : kExitOk;
}

const CliCommandRegistrar kUpdateCheck("update-check",
    "  update-check [--update-server URL] [--ca-file FILE]\n"
    "              asks the update server about the program and the products present and prints one line\n"
    "              per row \"<name> <current version> <server version> <state>\" and \"state <overall state>\";\n"
    "              FILE is one more certificate (PEM) to trust for an HTTPS server\n",
    RunUpdateCheck);

} // namespace
