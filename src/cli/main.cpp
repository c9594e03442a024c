#include "cli/CliContext.h"
#include "platform/DebugLog.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace {

void PrintUsage(std::ostream& os)
{
    os << "usage: gaming-device-cli [--simulate KINDS] [--sim-state FILE] [--trace]\n"
          "                         [--data-root DIR] [--default-data DIR] [--screen WxH] COMMAND [ARGS...]\n"
          "  KINDS       comma list of: mouse, mouse-receiver, keyboard, keyboard-receiver, mousepad, headset\n"
          "              (without --simulate the real hidraw devices are used)\n"
          "  --sim-state emulator memories are loaded from FILE at start (when it exists) and saved to it at exit\n"
          "  --trace     every debug text goes to stderr\n"
          "commands:\n";
    for (const auto& command : RegisteredCliCommands())
        os << command.usage;
}

bool ParseScreen(const std::string& text, CliOptions& options)
{
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    int64_t w = 0;
    int64_t h = 0;
    if (!ParseCliNumber(text.substr(0, x), 1, 65535, w) || !ParseCliNumber(text.substr(x + 1), 1, 65535, h))
        return false;
    options.screenWidth = static_cast<int>(w);
    options.screenHeight = static_cast<int>(h);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    CliOptions options;
    size_t i = 0;
    auto value = [&](const std::string& flag, std::string& into) {
        if (i + 1 >= args.size()) {
            std::cerr << flag << " needs a value\n";
            return false;
        }
        into = args[++i];
        return true;
    };
    for (; i < args.size() && args[i].starts_with("--"); ++i) {
        const std::string& flag = args[i];
        std::string screen;
        if (flag == "--help") {
            PrintUsage(std::cout);
            return 0;
        } else if (flag == "--trace") {
            options.trace = true;
        } else if (flag == "--simulate") {
            if (!value(flag, options.simulate))
                return 2;
        } else if (flag == "--sim-state") {
            if (!value(flag, options.simState))
                return 2;
        } else if (flag == "--data-root") {
            if (!value(flag, options.dataRoot))
                return 2;
        } else if (flag == "--default-data") {
            if (!value(flag, options.defaultData))
                return 2;
        } else if (flag == "--screen") {
            if (!value(flag, screen))
                return 2;
            if (!ParseScreen(screen, options)) {
                std::cerr << "--screen wants WIDTHxHEIGHT, for example 1920x1080\n";
                return 2;
            }
        } else {
            std::cerr << "unknown option " << flag << "\n";
            PrintUsage(std::cerr);
            return 2;
        }
    }
    if (i >= args.size()) {
        PrintUsage(std::cerr);
        return 2;
    }
    const std::string name = args[i];
    const auto& commands = RegisteredCliCommands();
    const auto it = std::find_if(commands.begin(), commands.end(), [&](const CliCommand& c) { return c.name == name; });
    if (it == commands.end()) {
        std::cerr << "unknown command " << name << "\n";
        PrintUsage(std::cerr);
        return 2;
    }
    if (options.trace)
        EnableDebugToStderr();

    CliContext context(std::move(options), std::cout, std::cerr);
    if (!context.Start())
        return 2;
    const int status = it->run(context, std::vector<std::string>(args.begin() + static_cast<long>(i) + 1, args.end()));
    std::cout.flush();
    if (!context.Finish())
        return status == 0 ? 1 : status;
    return status;
}
