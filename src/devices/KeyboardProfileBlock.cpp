#include "devices/KeyboardProfileBlock.h"

namespace {
uint8_t Low(uint16_t v) { return static_cast<uint8_t>(v); }
} // namespace

KeyboardProfileBlock::Bytes KeyboardProfileBlock::Build(const LightInfoRecord& light,
                                                        const KeyboardSystemRecord& system,
                                                        const LightValueList& effectCodes)
{
    Bytes b{};
    const uint8_t code = effectCodes.CodeOf(light.selectItem);
    b[1] = (code == 29 || code == 30) ? kHostEffect : code;
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

void KeyboardProfileBlock::ReadBack(Bytes& block, uint8_t profile, const LightValueList& effectCodes,
                                    LightInfoRecord& light, KeyboardSystemRecord& system)
{
    block[0] = profile;
    block[1] = block[1] == kHostEffect ? light.selectItem : effectCodes.IndexOf(block[1]);
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
