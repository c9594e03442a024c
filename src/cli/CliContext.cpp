#include "cli/CliContext.h"

#include "hid/SysfsHidBackend.h"
#include "sim/SimHidBackend.h"

#include <QCoreApplication>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <system_error>

CliContext::CliContext(CliOptions options, std::ostream& out, std::ostream& err)
    : m_options(std::move(options)), m_out(out), m_err(err)
{
}

CliContext::~CliContext() = default;

bool CliContext::Start()
{
    if (m_options.simulate.empty()) {
        m_real = std::make_unique<SysfsHidBackend>();
        return true;
    }
    std::string error;
    auto kinds = SimHidBackend::ParseKinds(m_options.simulate, &error);
    if (!kinds) {
        m_err << error << '\n';
        return false;
    }
    m_sim = std::make_unique<SimHidBackend>(*kinds);
    if (!m_options.simState.empty() && std::filesystem::exists(m_options.simState)
        && !m_sim->LoadState(m_options.simState, &error)) {
        m_err << error << '\n';
        return false;
    }
    return true;
}

bool CliContext::Finish()
{
    if (!m_sim || m_options.simState.empty())
        return true;
    std::string error;
    if (!m_sim->SaveState(m_options.simState, &error)) {
        m_err << error << '\n';
        return false;
    }
    return true;
}

HidBackend& CliContext::Backend()
{
    if (m_sim)
        return *m_sim;
    return *m_real;
}

SimHidBackend* CliContext::Simulator() { return m_sim.get(); }

std::string CliContext::ExecutableFolder()
{
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return ".";
    return self.parent_path().string();
}

namespace {
std::vector<CliCommand>& Registry()
{
    static std::vector<CliCommand> commands;
    return commands;
}
} // namespace

CliCommandRegistrar::CliCommandRegistrar(std::string name, std::string usage, CliCommandFn run)
{
    Registry().push_back({std::move(name), std::move(usage), std::move(run)});
}

const std::vector<CliCommand>& RegisteredCliCommands() { return Registry(); }

bool ParseCliNumber(const std::string& text, int64_t min, int64_t max, int64_t& value)
{
    if (text.empty())
        return false;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.c_str() + (hex ? 2 : 0);
    if (*begin == '\0' || *begin == '-' || *begin == '+' || *begin == ' ')
        return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(begin, &end, hex ? 16 : 10);
    if (errno == ERANGE || *end != '\0' || v < min || v > max)
        return false;
    value = v;
    return true;
}
