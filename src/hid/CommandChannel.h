#pragma once

#include "hid/HidInterface.h"
#include "hid/ReportFrame.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

class HidBackend;

enum ChannelMode : int { kChannelCable = 1, kChannelWireless = 2 };

// Result codes of exchanges and commands.
enum CommandResult : int {
    kResultOk = 1,
    kResultNoReply = 0,          // channel not open, or the reply read failed
    kResultWriteFailed = -1,
    kResultUnreachable = -101,   // the receiver cannot reach its product
    kResultStatusFailed = -102,  // reply status 0xFF
    kResultStatusRejected = -103,  // reply status 0xFE
    kResultInvalidPage = -201,
};

// The cable and receiver interfaces of one product and the exchange of one
// 64-byte command report for one 64-byte reply.
class CommandChannel {
public:
    static constexpr uint16_t kMaxBlockSize = 512;
    static constexpr uint32_t kCableTimeLimitMs = 1000;
    static constexpr uint32_t kWirelessTimeLimitMs = 5000;

    CommandChannel();  // interfaces on DefaultHidBackend()
    explicit CommandChannel(HidBackend& backend);
    ~CommandChannel();
    CommandChannel(const CommandChannel&) = delete;
    CommandChannel& operator=(const CommandChannel&) = delete;

    HidInterface& Cable() { return m_cable; }
    HidInterface& Receiver() { return m_receiver; }

    // Held around each write and the reading step of one exchange, and by
    // whoever opens, closes or switches the interfaces.
    std::mutex& ExchangeLock() { return m_exchangeLock; }
    // Held by event readers while they open or close the receiver interface.
    std::mutex& SecondHandleLock() { return m_secondHandleLock; }
    // Held by commands around one whole report.
    std::mutex& CommandLock() { return m_commandLock; }
    // Held around each report of lighting traffic.
    std::mutex& LightingLock() { return m_lightingLock; }

    // Mode 2 is the receiver link (chunk 24); anything else the cable (chunk 56).
    void SetMode(int mode);
    bool SetBlockSize(unsigned size);
    uint16_t BlockSize() const { return m_blockSize.load(); }
    uint8_t ChunkSize() const { return m_chunkSize.load(); }

    bool IsOpen() const { return m_open.load() != 0; }
    void SetOpen(bool open) { m_open.store(open ? 1 : 0); }
    bool IsWireless() const { return m_wireless.load() != 0; }
    void SetWireless(bool wireless) { m_wireless.store(wireless ? 1 : 0); }
    bool IsBusy() const { return m_busy.load() != 0; }
    bool PreviewHold() const { return m_previewHold.load() != 0; }
    void SetPreviewHold(bool hold) { m_previewHold.store(hold ? 1 : 0); }

    // One command report out, its reply in; at most two reads, the second
    // when the first reply does not echo the command code.
    int Exchange(const uint8_t* command, size_t commandLength, uint8_t* reply, size_t replyLength,
                 size_t& bytesRead);
    // Cable only, one read, no debug output, busy untouched: lighting frames.
    int QuickExchange(const uint8_t* command, size_t commandLength, uint8_t* reply, size_t replyLength,
                      size_t& bytesRead);

private:
    static void Frame(const uint8_t* command, size_t length, uint8_t* out);

    HidInterface m_cable;
    HidInterface m_receiver;
    std::mutex m_exchangeLock;
    std::mutex m_secondHandleLock;
    std::mutex m_commandLock;
    std::mutex m_lightingLock;
    std::atomic<uint16_t> m_blockSize{kMaxBlockSize};
    std::atomic<uint8_t> m_busy{0};
    std::atomic<uint32_t> m_open{0};
    std::atomic<uint32_t> m_previewHold{0};
    std::atomic<uint32_t> m_wireless{0};
    std::atomic<uint8_t> m_chunkSize{24};
};
