#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

class CommandChannel;

// The commands spoken to a product over its command channel. Each returns a
// result code (CommandResult) except CMD_LINK_STATUS. Transfers longer than
// one report go in chunks of the channel's chunk size; the lock of a command
// is held around each report, never across chunks.
class CommandSet {
public:
    static constexpr size_t kInfoSize = 34;
    static constexpr uint16_t kKeymapPageSize = 512;

    explicit CommandSet(CommandChannel& channel) : m_channel(channel) {}

    int CMD_CONFIG_BEGIN();
    int CMD_CONFIG_END(int unused = 0);  // sent 10 ms after the call
    int CMD_LIGHT_CONTROL();

    // Copies the 34 bytes only when every report succeeded.
    int CMD_READ_INFO(uint8_t* destination);
    int CMD_READ_PARAMS(uint8_t* destination, size_t length, uint16_t base);
    int CMD_WRITE_PARAMS(const uint8_t* source, size_t length, uint16_t base);
    // Block size bytes.
    int CMD_READ_KEYMAP(uint8_t* destination);
    // Block size bytes to page × 512; only page 0 exists (-201 otherwise, nothing sent).
    int CMD_WRITE_KEYMAP(const uint8_t* source, unsigned page);
    int CMD_WRITE_KEY_COLORS(const uint8_t* source, size_t length, unsigned page, unsigned stride);
    // Chunks are dropped while another exchange runs and skipped on the receiver link.
    int CMD_LIGHT_FRAME(const uint8_t* source, size_t length);
    int CMD_WRITE_MACROS(const uint8_t* source, size_t length);
    // Always 56-byte chunks, no lock.
    int CMD_WRITE_SHOOT(const uint8_t* source, size_t length);
    // One report; length is at most 56.
    int CMD_READ_POWER(uint8_t* destination, size_t length, uint16_t address);
    // Block size ÷ 3 bytes.
    int CMD_READ_LED_MAP(uint8_t* destination);
    // True on the cable link without asking; through the receiver, whether
    // the product answers as present.
    bool CMD_LINK_STATUS();

private:
    enum class Lock { None, Command, Lighting };
    struct Chunking {
        uint8_t code;
        Lock lock;
        uint32_t base;
        size_t chunk;
    };

    std::mutex* LockFor(Lock lock);
    // One report of this length at this address; reply receives the 64-byte reply.
    int Send(uint8_t code, size_t length, uint32_t address, const uint8_t* data, Lock lock, uint8_t* reply);
    int Transfer(const Chunking& how, size_t total, const uint8_t* source, uint8_t* destination);
    size_t ChannelChunk() const;

    CommandChannel& m_channel;
};
