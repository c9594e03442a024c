#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

// The areas of a product's memory that the command set addresses.
enum class SimRegion {
    Info,        // 34-byte information block (CMD_READ_INFO)
    Params,      // configuration memory (CMD_READ_PARAMS / CMD_WRITE_PARAMS)
    Keymap,      // key table, 3 bytes per key (CMD_READ_KEYMAP / CMD_WRITE_KEYMAP)
    LedMap,      // LED number per key-table position (CMD_READ_LED_MAP)
    Macros,      // macro image (CMD_WRITE_MACROS)
    Shoot,       // recoil image (CMD_WRITE_SHOOT)
    Power,       // power record (CMD_READ_POWER)
    KeyColors,   // per-key colour groups of 512 bytes (CMD_WRITE_KEY_COLORS)
    LightFrame,  // last streamed light frame (CMD_LIGHT_FRAME)
    Lights,      // headset light registers: 2 banks x 6 registers x 7 channels
};

constexpr size_t kSimRegionCount = 10;

std::string_view SimRegionName(SimRegion region);
std::optional<SimRegion> SimRegionFromName(std::string_view name);

// Sizes of every region; 0 means the product has no such area.
using SimMemoryLayout = std::array<size_t, kSimRegionCount>;

// The memory of one physical product, shared by its cable and receiver links.
// Thread-safe; every access is bounds-checked.
class SimMemory {
public:
    explicit SimMemory(const SimMemoryLayout& layout);

    size_t Size(SimRegion region) const;

    // False (nothing copied) when [address, address + length) leaves the region.
    bool Read(SimRegion region, size_t address, uint8_t* out, size_t length) const;
    bool Write(SimRegion region, size_t address, const uint8_t* data, size_t length);

    // Whole-region access for tests and the state file.
    std::vector<uint8_t> Bytes(SimRegion region) const;
    // False when the size differs from the region's.
    bool SetBytes(SimRegion region, const std::vector<uint8_t>& bytes);

    uint8_t At(SimRegion region, size_t address) const;

    // Copies every region of another memory with the same layout.
    bool Assign(const SimMemory& other);

private:
    static bool InRange(size_t size, size_t address, size_t length);

    mutable std::mutex m_mutex;
    std::array<std::vector<uint8_t>, kSimRegionCount> m_regions;
};
