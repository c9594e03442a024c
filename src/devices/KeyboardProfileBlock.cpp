#include "devices/KeyboardProfileBlock.h"

#include <algorithm>

namespace {
uint8_t Low(uint16_t v) { return static_cast<uint8_t>(v); }
} // namespace

KeyboardProfileBlock::Bytes KeyboardProfileBlock::Build(const LightInfoRecord& light,
                                                        const KeyboardSystemRecord& system,
                                                        std::span<const int> effectCodes)
{
    Bytes b{};
    const int code = light.selectItem < effectCodes.size() ? effectCodes[light.selectItem] : 0;
    b[1] = (code == 29 || code == 30) ? kHostEffect : static_cast<uint8_t>(code);
    b[2] = light.light;
    b[3] = static_cast<uint8_t>(4 - light.speed);
    b[4] = light.fx;
    b[5] = light.multiColor;
    b[6] = light.red;
    b[7] = light.green;
    b[8] = light.blue;
    b[18] = light.zzccLedMode;
    b[19] = Low(system.wFlag);
    b[20] = Low(system.key6Flag);
    b[21] = Low(system.winFlag);
    b[22] = PollingRate(system.pollingRate);
    b[25] = light.customGroup;
    return b;
}

void KeyboardProfileBlock::ReadBack(Bytes& block, uint8_t profile, std::span<const int> effectCodes,
                                    LightInfoRecord& light, KeyboardSystemRecord& system)
{
    block[0] = profile;
    if (block[1] == kHostEffect) {
        block[1] = light.selectItem;
    } else {
        const auto it = std::find(effectCodes.begin(), effectCodes.end(), static_cast<int>(block[1]));
        if (it != effectCodes.end())
            block[1] = static_cast<uint8_t>(it - effectCodes.begin());
    }
    block[16] = 0;
    light.selectItem = block[1];
    light.light = block[2];
    light.speed = static_cast<uint8_t>(block[3] <= 4 ? 4 - block[3] : 0);
    light.fx = block[4];
    light.multiColor = block[5];
    light.red = block[6];
    light.green = block[7];
    light.blue = block[8];
    light.zzccLedMode = block[18];
    light.customGroup = block[25];
    system.wFlag = block[19];
    system.key6Flag = block[20];
    system.winFlag = block[21];
}
