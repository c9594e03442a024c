#pragma once

#include <cstddef>
#include <cstdint>

// The 64-byte command and reply report spoken on the vendor collection.
namespace ReportFrame {

constexpr size_t kSize = 64;
constexpr uint8_t kReportId = 0x04;

constexpr size_t kReportIdOffset = 0;
constexpr size_t kChecksumOffset = 1;  // 2 bytes, little-endian
constexpr size_t kCommandOffset = 3;
constexpr size_t kLengthOffset = 4;
constexpr size_t kAddressOffset = 5;   // 2 bytes, little-endian
constexpr size_t kStatusOffset = 7;
constexpr size_t kDataOffset = 8;
constexpr size_t kMaxData = kSize - kDataOffset;  // 56

constexpr uint8_t kStatusFailed = 0xFF;
constexpr uint8_t kStatusRejected = 0xFE;
constexpr uint8_t kUnreachable = 0xAA;  // byte 3 of a receiver's reply when the product is out of reach

// Sum of bytes 3..63 as unsigned bytes, low 16 bits.
inline uint16_t Checksum(const uint8_t* report)
{
    unsigned sum = 0;
    for (size_t i = kCommandOffset; i < kSize; ++i)
        sum += report[i];
    return static_cast<uint16_t>(sum);
}

inline void StoreChecksum(uint8_t* report)
{
    const uint16_t sum = Checksum(report);
    report[kChecksumOffset] = static_cast<uint8_t>(sum & 0xFF);
    report[kChecksumOffset + 1] = static_cast<uint8_t>(sum >> 8);
}

inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline void WriteLe16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>(v >> 8);
}

} // namespace ReportFrame

// Command codes of the configuration protocol.
enum CommandCode : uint8_t {
    kCmdConfigBegin = 0x01,
    kCmdConfigEnd = 0x02,
    kCmdReadInfo = 0x03,
    kCmdReadParams = 0x05,
    kCmdWriteParams = 0x06,
    kCmdReadKeymap = 0x07,
    kCmdWriteKeymap = 0x09,
    kCmdWriteKeyColors = 0x0B,
    kCmdLightFrame = 0x12,
    kCmdWriteMacros = 0x15,
    kCmdWriteShoot = 0x17,
    kCmdReadPower = 0x1A,
    kCmdReadLedMap = 0x1B,
    kCmdLightControl = 0x1C,
    kCmdLinkStatus = 0xAA,
};
