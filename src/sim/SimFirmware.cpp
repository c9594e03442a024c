#include "sim/SimFirmware.h"

#include <cstring>
#include <optional>

namespace {

struct DataCommand {
    SimRegion region;
    bool write;
};

std::optional<DataCommand> DataCommandOf(uint8_t command)
{
    switch (command) {
    case kCmdReadInfo: return DataCommand{SimRegion::Info, false};
    case kCmdReadParams: return DataCommand{SimRegion::Params, false};
    case kCmdWriteParams: return DataCommand{SimRegion::Params, true};
    case kCmdReadKeymap: return DataCommand{SimRegion::Keymap, false};
    case kCmdWriteKeymap: return DataCommand{SimRegion::Keymap, true};
    case kCmdWriteKeyColors: return DataCommand{SimRegion::KeyColors, true};
    case kCmdLightFrame: return DataCommand{SimRegion::LightFrame, true};
    case kCmdWriteMacros: return DataCommand{SimRegion::Macros, true};
    case kCmdWriteShoot: return DataCommand{SimRegion::Shoot, true};
    case kCmdReadPower: return DataCommand{SimRegion::Power, false};
    case kCmdReadLedMap: return DataCommand{SimRegion::LedMap, false};
    default: return std::nullopt;
    }
}

} // namespace

SimFirmware::SimFirmware(std::shared_ptr<SimMemory> memory, bool receiver)
    : m_memory(std::move(memory)), m_receiver(receiver)
{
}

void SimFirmware::TakeOtherReport(const uint8_t*, size_t) {}

bool SimFirmware::Answer(const uint8_t* report, size_t length, bool linkDown, uint8_t forcedStatus, SimFrame& reply)
{
    using namespace ReportFrame;
    if (length != kSize || report[kReportIdOffset] != kReportId) {
        TakeOtherReport(report, length);
        return false;
    }
    reply.fill(0);
    reply[kReportIdOffset] = kReportId;
    std::memcpy(reply.data() + kCommandOffset, report + kCommandOffset, kStatusOffset - kCommandOffset);
    const uint8_t command = report[kCommandOffset];

    if (forcedStatus != 0) {
        reply[kStatusOffset] = forcedStatus;
    } else if (command != kCmdLinkStatus && (linkDown || !LinkReachable())) {
        reply[kCommandOffset] = kUnreachable;
    } else if (command == kCmdLinkStatus && linkDown) {
        // Link query answered, product absent: byte 8 stays 0.
    } else {
        Execute(report, reply);
    }
    StoreChecksum(reply.data());
    return true;
}

void SimFirmware::Execute(const uint8_t* frame, SimFrame& reply)
{
    using namespace ReportFrame;
    const uint16_t checksum = ReadLe16(frame + kChecksumOffset);
    const uint8_t length = frame[kLengthOffset];
    if (checksum != Checksum(frame) || length > kMaxData) {
        reply[kStatusOffset] = kStatusRejected;
        return;
    }
    const uint8_t command = frame[kCommandOffset];
    const size_t address = ReadLe16(frame + kAddressOffset);
    switch (command) {
    case kCmdConfigBegin:
        m_inConfig = true;
        ++m_configBegins;
        return;
    case kCmdConfigEnd:
        m_inConfig = false;
        ++m_configEnds;
        return;
    case kCmdLightControl:
        ++m_lightControls;
        return;
    case kCmdLinkStatus:
        reply[kDataOffset] = LinkReachable() ? 0xFF : 0x00;
        return;
    default:
        break;
    }
    const auto data = DataCommandOf(command);
    bool done = false;
    if (data && data->write)
        done = m_memory->Write(data->region, address, frame + kDataOffset, length);
    else if (data)
        done = m_memory->Read(data->region, address, reply.data() + kDataOffset, length);
    if (!done)
        reply[kStatusOffset] = kStatusFailed;
}
