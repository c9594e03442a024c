#pragma once

#include <cstdint>

// The lighting state of a profile ("LightInfo") and the form of each
// "LightList" entry, fourteen bytes in this order.
struct LightInfoRecord {
    uint8_t selectItem = 0; // effect position / LightList mode
    uint8_t light = 0;
    uint8_t speed = 0;
    uint8_t fx = 0;
    uint8_t multiColor = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t spare = 0;
    uint8_t clColor = 0;
    uint8_t present = 0; // LightList only: the entry was in the file
    uint8_t zzccLedMode = 0;
    uint8_t customGroup = 0;
    uint8_t oldLedMode = 0;
    bool operator==(const LightInfoRecord&) const = default;
};

struct AudioLightRecord {
    uint8_t audioMode = 0;
    uint8_t bkRed = 0;
    uint8_t bkGreen = 0;
    uint8_t bkBlue = 0;
    uint8_t fgRed = 0;
    uint8_t fgGreen = 0;
    uint8_t fgBlue = 0;
    uint8_t sevenColorFlag = 0;
    uint8_t colorTypeFlag = 0;
    bool operator==(const AudioLightRecord&) const = default;
};

struct KeyColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;
    bool operator==(const KeyColor&) const = default;
};

struct CustomEffectStep {
    uint8_t mode = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t multiColor = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    int32_t time = 0;
    int32_t cycles = 0;
    bool operator==(const CustomEffectStep&) const = default;
};
