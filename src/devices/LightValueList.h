#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// The effect codes of one model: the "value" of each entry of the model's row
// of "DefaultLightName" in "default_light.json". A device sends the code at
// the effect index and reads a code back into its position.
class LightValueList {
public:
    void Load(const std::filesystem::path& defaultLightFile, int modelIndex);
    void Set(std::vector<int> codes) { m_codes = std::move(codes); }
    const std::vector<int>& Codes() const { return m_codes; }

    // The code at the index; the index itself when the list has no such entry.
    uint8_t CodeOf(unsigned index) const;
    // The position of the code; the code itself when it is not in the list.
    uint8_t IndexOf(uint8_t code) const;

private:
    std::vector<int> m_codes;
};
