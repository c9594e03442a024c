#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// HID interface paths: "<node>#vid_320f&pid_221c&mi_01&col04". The markers
// are found in any letter case; a missing marker reads as 0.
class HidPath {
public:
    static uint16_t VendorId(std::string_view path);
    static uint16_t ProductId(std::string_view path);
    static uint16_t InterfaceNumber(std::string_view path);
    static uint16_t CollectionNumber(std::string_view path);

    // The node part before the first '#' (the whole path when there is none).
    static std::string_view NodePart(std::string_view path);

    // collection 0 leaves "&col" out.
    static std::string Make(std::string_view node, uint16_t vendorId, uint16_t productId, uint16_t interfaceNumber,
                            uint16_t collection);

private:
    static uint16_t HexAfter(std::string_view path, std::string_view marker);
};
