#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class HidBackend;
class SimHidBackend;

// The global options of gaming-device-cli.
struct CliOptions {
    std::string simulate;    // comma list of emulated products; empty: the real hidraw devices
    std::string simState;    // emulator state file
    bool trace = false;
    std::string dataRoot;    // application data root; empty: the default location
    std::string defaultData; // "DefaultData" folder; empty: beside the executable
    int screenWidth = 1920;
    int screenHeight = 1080;
};

// What a command gets to work with.
class CliContext {
public:
    CliContext(CliOptions options, std::ostream& out, std::ostream& err);
    ~CliContext();
    CliContext(const CliContext&) = delete;
    CliContext& operator=(const CliContext&) = delete;

    const CliOptions& Options() const { return m_options; }
    std::ostream& Out() { return m_out; }
    std::ostream& Err() { return m_err; }

    // Sets up the HID backend the options ask for; false (with the reason
    // printed) when the emulator list or its state file is unusable.
    bool Start();
    // Saves the emulator state where one was asked for.
    bool Finish();

    HidBackend& Backend();
    // The emulator, or nullptr when the real devices are used.
    SimHidBackend* Simulator();

    // The folder of the running executable.
    static std::string ExecutableFolder();

private:
    CliOptions m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    std::unique_ptr<SimHidBackend> m_sim;
    std::unique_ptr<HidBackend> m_real;
};

// One command of the command line, registered by the file that implements it.
using CliCommandFn = std::function<int(CliContext&, const std::vector<std::string>& args)>;

struct CliCommand {
    std::string name;
    std::string usage;  // the usage lines shown by --help
    CliCommandFn run;
};

class CliCommandRegistrar {
public:
    CliCommandRegistrar(std::string name, std::string usage, CliCommandFn run);
};

const std::vector<CliCommand>& RegisteredCliCommands();

// Parses a decimal or 0x-hex number; false when the text is not one or is out of range.
bool ParseCliNumber(const std::string& text, int64_t min, int64_t max, int64_t& value);
