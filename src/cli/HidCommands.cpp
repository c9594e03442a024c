// The "list" and "raw" commands: the supported HID interfaces present, and
// single device commands sent over a product's command interface.
#include "cli/CliContext.h"
#include "cli/CliTargets.h"

#include "devices/DeviceAttach.h"
#include "hid/CommandChannel.h"
#include "hid/CommandSet.h"
#include "platform/HexText.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// A product's command interface: its supported-table row.
std::string Hex4(uint16_t v)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", v);
    return text;
}

int RunList(CliContext& context, const std::vector<std::string>& args)
{
    if (!args.empty()) {
        context.Err() << "list takes no arguments\n";
        return kExitUsage;
    }
    const DeviceSlotList slots = DeviceAttach::Scan(context.Backend());
    for (size_t i = 0; i < slots.size(); ++i) {
        const auto& slot = slots[i];
        if (!slot.connected)
            continue;
        context.Out() << i << ' ' << static_cast<unsigned>(slot.kind) << ' ' << slot.role << ' '
                      << Hex4(slot.vendorId) << ':' << Hex4(slot.productId) << ' ' << slot.path << '\n';
    }
    return kExitOk;
}

struct Outcome {
    int result = kResultNoReply;
    std::optional<std::vector<uint8_t>> data;  // reads
};

using Action = std::function<Outcome(CommandSet&, CommandChannel&)>;

class RawParser {
public:
    RawParser(const std::vector<std::string>& args, std::ostream& err) : m_args(args), m_err(err) {}

    // The action for args[1...], or nullopt with the reason printed.
    std::optional<Action> Parse()
    {
        const std::string& name = m_args[1];
        if (name == "CMD_CONFIG_BEGIN" && Count(0))
            return Action([](CommandSet& c, CommandChannel&) { return Outcome{c.CMD_CONFIG_BEGIN(), {}}; });
        if (name == "CMD_CONFIG_END" && Count(0))
            return Action([](CommandSet& c, CommandChannel&) { return Outcome{c.CMD_CONFIG_END(0), {}}; });
        if (name == "CMD_LIGHT_CONTROL" && Count(0))
            return Action([](CommandSet& c, CommandChannel&) { return Outcome{c.CMD_LIGHT_CONTROL(), {}}; });
        if (name == "CMD_LINK_STATUS" && Count(0))
            return Action([](CommandSet& c, CommandChannel&) { return Outcome{c.CMD_LINK_STATUS() ? 1 : 0, {}}; });
        if (name == "CMD_READ_INFO" && Count(0))
            return Read([](CommandSet& c, CommandChannel&, std::vector<uint8_t>& d) {
                d.resize(CommandSet::kInfoSize);
                return c.CMD_READ_INFO(d.data());
            });
        if (name == "CMD_READ_KEYMAP" && Count(0))
            return Read([](CommandSet& c, CommandChannel& ch, std::vector<uint8_t>& d) {
                d.resize(ch.BlockSize());
                return c.CMD_READ_KEYMAP(d.data());
            });
        if (name == "CMD_READ_LED_MAP" && Count(0))
            return Read([](CommandSet& c, CommandChannel& ch, std::vector<uint8_t>& d) {
                d.resize(ch.BlockSize() / 3u);
                return c.CMD_READ_LED_MAP(d.data());
            });
        if (name == "CMD_READ_PARAMS" && Count(2)) {
            const auto n = Number(2, "N", 0, 0xFFFF);
            const auto base = Number(3, "BASE", 0, 0xFFFF);
            if (!n || !base)
                return std::nullopt;
            return Read([n = *n, base = *base](CommandSet& c, CommandChannel&, std::vector<uint8_t>& d) {
                d.resize(n);
                return c.CMD_READ_PARAMS(d.data(), d.size(), static_cast<uint16_t>(base));
            });
        }
        if (name == "CMD_READ_POWER" && Count(2)) {
            const auto n = Number(2, "N", 0, 56);
            const auto address = Number(3, "ADDR", 0, 0xFFFF);
            if (!n || !address)
                return std::nullopt;
            return Read([n = *n, address = *address](CommandSet& c, CommandChannel&, std::vector<uint8_t>& d) {
                d.resize(n);
                return c.CMD_READ_POWER(d.data(), d.size(), static_cast<uint16_t>(address));
            });
        }
        if (name == "CMD_WRITE_PARAMS" && Count(2)) {
            const auto base = Number(2, "BASE", 0, 0xFFFF);
            const auto data = Hex(3);
            if (!base || !data)
                return std::nullopt;
            return Write([base = *base, data = *data](CommandSet& c, CommandChannel&) {
                return c.CMD_WRITE_PARAMS(data.data(), data.size(), static_cast<uint16_t>(base));
            });
        }
        if (name == "CMD_WRITE_KEYMAP" && Count(2)) {
            const auto page = Number(2, "PAGE", 0, 0xFFFF);
            const auto data = Hex(3);
            if (!page || !data)
                return std::nullopt;
            if (data->size() > CommandChannel::kMaxBlockSize) {
                m_err << "CMD_WRITE_KEYMAP: HEX is longer than the key table (" << CommandChannel::kMaxBlockSize
                      << " bytes)\n";
                return std::nullopt;
            }
            return Write([page = *page, data = *data](CommandSet& c, CommandChannel& ch) {
                if (data.size() > ch.BlockSize())
                    return static_cast<int>(kResultNoReply);
                std::vector<uint8_t> block(data);
                block.resize(ch.BlockSize(), 0);
                return c.CMD_WRITE_KEYMAP(block.data(), static_cast<unsigned>(page));
            });
        }
        if (name == "CMD_WRITE_KEY_COLORS" && Count(3)) {
            const auto page = Number(2, "PAGE", 0, 0xFFFF);
            const auto stride = Number(3, "STRIDE", 0, 0xFFFF);
            const auto data = Hex(4);
            if (!page || !stride || !data)
                return std::nullopt;
            return Write([page = *page, stride = *stride, data = *data](CommandSet& c, CommandChannel&) {
                return c.CMD_WRITE_KEY_COLORS(data.data(), data.size(), static_cast<unsigned>(page),
                                              static_cast<unsigned>(stride));
            });
        }
        if ((name == "CMD_WRITE_MACROS" || name == "CMD_WRITE_SHOOT" || name == "CMD_LIGHT_FRAME") && Count(1)) {
            const auto data = Hex(2);
            if (!data)
                return std::nullopt;
            if (name == "CMD_WRITE_MACROS")
                return Write([data = *data](CommandSet& c, CommandChannel&) {
                    return c.CMD_WRITE_MACROS(data.data(), data.size());
                });
            if (name == "CMD_WRITE_SHOOT")
                return Write([data = *data](CommandSet& c, CommandChannel&) {
                    return c.CMD_WRITE_SHOOT(data.data(), data.size());
                });
            return Write([data = *data](CommandSet& c, CommandChannel&) {
                return c.CMD_LIGHT_FRAME(data.data(), data.size());
            });
        }
        if (!m_countError)
            m_err << "unknown device command " << name << "\n";
        return std::nullopt;
    }

private:
    using ReadFn = std::function<int(CommandSet&, CommandChannel&, std::vector<uint8_t>&)>;
    using WriteFn = std::function<int(CommandSet&, CommandChannel&)>;

    static Action Read(ReadFn read)
    {
        return [read](CommandSet& c, CommandChannel& ch) {
            std::vector<uint8_t> data;
            Outcome outcome;
            outcome.result = read(c, ch, data);
            if (outcome.result == kResultOk)
                outcome.data = std::move(data);
            return outcome;
        };
    }
    static Action Write(WriteFn write)
    {
        return [write](CommandSet& c, CommandChannel& ch) { return Outcome{write(c, ch), {}}; };
    }

    // The command takes exactly n arguments.
    bool Count(size_t n)
    {
        if (m_args.size() == n + 2)
            return true;
        m_err << m_args[1] << " takes " << n << (n == 1 ? " argument" : " arguments") << ", got "
              << m_args.size() - 2 << "\n";
        m_countError = true;
        return false;
    }

    std::optional<int64_t> Number(size_t index, const char* what, int64_t min, int64_t max)
    {
        int64_t value = 0;
        if (ParseCliNumber(m_args[index], min, max, value))
            return value;
        m_err << m_args[1] << ": " << what << " must be a number from " << min << " to " << max
              << " (decimal or 0x-hex), not \"" << m_args[index] << "\"\n";
        return std::nullopt;
    }

    std::optional<std::vector<uint8_t>> Hex(size_t index)
    {
        if (auto bytes = ParseHexText(m_args[index]))
            return bytes;
        m_err << m_args[1] << ": HEX must be pairs of hex digits without spaces, not \"" << m_args[index] << "\"\n";
        return std::nullopt;
    }

    const std::vector<std::string>& m_args;
    std::ostream& m_err;
    bool m_countError = false;
};

int RunRaw(CliContext& context, const std::vector<std::string>& args)
{
    if (args.size() < 2) {
        context.Err() << "raw needs a TARGET and a COMMAND\n";
        return kExitUsage;
    }
    const CliTarget* target = FindCliTarget(args[0], context.Err());
    if (!target)
        return kExitUsage;
    RawParser parser(args, context.Err());
    const auto action = parser.Parse();
    if (!action)
        return kExitUsage;

    HidBackend& backend = context.Backend();
    const auto slot = DeviceAttach::FindCommandSlot(DeviceAttach::Scan(backend), target->tableRow, target->name);
    if (!slot) {
        context.Err() << "no " << target->name << " is connected\n";
        return kExitFailed;
    }
    CommandChannel channel(backend);
    if (!DeviceAttach::Attach(channel, *slot)) {
        context.Err() << "cannot open " << slot->path << " for reading and writing\n";
        return kExitFailed;
    }
    CommandSet commands(channel);
    const Outcome outcome = (*action)(commands, channel);
    context.Out() << "result " << outcome.result << '\n';
    if (outcome.data)
        context.Out() << "data " << HexText(*outcome.data) << '\n';
    return outcome.result == kResultOk ? kExitOk : kExitFailed;
}

const CliCommandRegistrar kList("list",
                                "  list        the supported HID interfaces present, one line each in slot order:\n"
                                "              \"<slot> <kind> <role> <vid>:<pid> <path>\"\n",
                                RunList);

const CliCommandRegistrar kRaw(
    "raw",
    "  raw TARGET COMMAND [ARGS...]\n"
    "              sends one device command to TARGET (mouse, mouse-receiver, keyboard, keyboard-receiver,\n"
    "              mousepad, headset); numbers are decimal or 0x-hex, HEX is bytes as hex digits:\n"
    "                CMD_CONFIG_BEGIN | CMD_CONFIG_END | CMD_LIGHT_CONTROL | CMD_LINK_STATUS | CMD_READ_INFO\n"
    "                CMD_READ_PARAMS N BASE | CMD_WRITE_PARAMS BASE HEX | CMD_READ_KEYMAP | CMD_WRITE_KEYMAP PAGE HEX\n"
    "                CMD_WRITE_MACROS HEX | CMD_WRITE_SHOOT HEX | CMD_READ_POWER N ADDR | CMD_READ_LED_MAP\n"
    "                CMD_WRITE_KEY_COLORS PAGE STRIDE HEX | CMD_LIGHT_FRAME HEX\n"
    "              prints \"result <code>\" and, for a read that succeeded, \"data <hex>\"\n",
    RunRaw);

} // namespace
