#include "devices/KeyColourImage.h"

KeyColourImage::Bytes KeyColourImage::Build(const LedColourList& leds, std::span<const uint8_t> ledNumbers, bool scaled)
{
    Bytes image{};
    for (size_t key = 0; key < ledNumbers.size() && key < leds.Size(); ++key) {
        const size_t at = static_cast<size_t>(ledNumbers[key]) * 3;
        if (ledNumbers[key] == 0xFF || at + 3 > kSize)
            continue;
        const LedColour c = leds.Get(key);
        const auto channel = [&](uint8_t v) { return scaled ? static_cast<uint8_t>(v * c.level / 256) : v; };
        image[at] = channel(c.r);
        image[at + 1] = channel(c.g);
        image[at + 2] = channel(c.b);
    }
    return image;
}
