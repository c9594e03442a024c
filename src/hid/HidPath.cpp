#include "hid/HidPath.h"

#include "platform/HexText.h"

#include <algorithm>
#include <cstdio>

namespace {

// ASCII only: paths and their markers are ASCII, and no locale lookup per character.
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

uint16_t HidPath::HexAfter(std::string_view path, std::string_view marker)
{
    const auto it = std::search(path.begin(), path.end(), marker.begin(), marker.end(),
                                [](char a, char b) { return Lower(a) == Lower(b); });
    if (it == path.end())
        return 0;
    unsigned value = 0;
    for (auto p = it + static_cast<std::ptrdiff_t>(marker.size()); p != path.end(); ++p) {
        const int digit = HexDigitValue(*p);
        if (digit < 0)
            break;
        value = ((value << 4) | static_cast<unsigned>(digit)) & 0xFFFFFu;  // keeps the low 16 bits in reach
    }
    return static_cast<uint16_t>(value & 0xFFFF);
}

uint16_t HidPath::VendorId(std::string_view path) { return HexAfter(path, "vid_"); }
uint16_t HidPath::ProductId(std::string_view path) { return HexAfter(path, "pid_"); }
uint16_t HidPath::InterfaceNumber(std::string_view path) { return HexAfter(path, "&mi_"); }
uint16_t HidPath::CollectionNumber(std::string_view path) { return HexAfter(path, "&col"); }

std::string_view HidPath::NodePart(std::string_view path)
{
    return path.substr(0, path.find('#'));
}

std::string HidPath::Make(std::string_view node, uint16_t vendorId, uint16_t productId, uint16_t interfaceNumber,
                          uint16_t collection)
{
    char identity[64];
    if (collection != 0)
        std::snprintf(identity, sizeof identity, "#vid_%04x&pid_%04x&mi_%02x&col%02x", vendorId, productId,
                      interfaceNumber, collection);
    else
        std::snprintf(identity, sizeof identity, "#vid_%04x&pid_%04x&mi_%02x", vendorId, productId,
                      interfaceNumber);
    std::string path(node);
    path += identity;
    return path;
}
