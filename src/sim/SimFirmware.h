#pragma once

#include "hid/ReportFrame.h"
#include "sim/SimMemory.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

using SimFrame = std::array<uint8_t, ReportFrame::kSize>;

// The firmware of one product as the command protocol sees it: the dispatch of
// command frames onto the product's memory. Kinds differ in their factory
// memory and in reports other than command frames.
//
// Replies echo bytes 3..6 of the command, carry read data from byte 8 and a
// status in byte 7: 0 done; 0xFE (rejected) for a frame with a bad checksum or
// a data length above 56; 0xFF (failed) for an unknown command or an address
// range outside the addressed area. A rejected or failed command changes
// nothing.
class SimFirmware {
public:
    SimFirmware(std::shared_ptr<SimMemory> memory, bool receiver);
    virtual ~SimFirmware() = default;
    SimFirmware(const SimFirmware&) = delete;
    SimFirmware& operator=(const SimFirmware&) = delete;

    // Handles one output report (report ID first). Returns true with the reply
    // in `reply` when the report is a command frame; other reports are taken
    // without a reply. `linkDown` answers as an unreachable receiver would;
    // a non-zero `forcedStatus` answers with that status without executing.
    bool Answer(const uint8_t* report, size_t length, bool linkDown, uint8_t forcedStatus, SimFrame& reply);

    // Puts the factory contents back into the memory.
    virtual void ResetToFactory() = 0;

    SimMemory& Memory() { return *m_memory; }
    const SimMemory& Memory() const { return *m_memory; }
    const std::shared_ptr<SimMemory>& SharedMemory() const { return m_memory; }

    bool IsReceiver() const { return m_receiver; }
    // A receiver whose product is out of reach answers every command but
    // CMD_LINK_STATUS with 0xAA in byte 3. Cable products ignore this.
    void SetLinkReachable(bool reachable) { m_linkReachable.store(reachable); }
    bool LinkReachable() const { return !m_receiver || m_linkReachable.load(); }

    bool InConfig() const { return m_inConfig.load(); }
    uint32_t ConfigBegins() const { return m_configBegins.load(); }
    uint32_t ConfigEnds() const { return m_configEnds.load(); }
    uint32_t LightControls() const { return m_lightControls.load(); }

protected:
    // Reports that are not command frames (the headset's light reports).
    virtual void TakeOtherReport(const uint8_t* report, size_t length);

private:
    void Execute(const uint8_t* frame, SimFrame& reply);

    std::shared_ptr<SimMemory> m_memory;
    const bool m_receiver;
    std::atomic<bool> m_linkReachable{true};
    std::atomic<bool> m_inConfig{false};
    std::atomic<uint32_t> m_configBegins{0};
    std::atomic<uint32_t> m_configEnds{0};
    std::atomic<uint32_t> m_lightControls{0};
};
