#pragma once

#include "hid/DeviceSlot.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class HidBackend;

// What an interface is recognised by.
struct InterfaceIdentity {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;
    uint16_t collectionNumber = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
};

// Decides which slot of the supported table a present interface fills.
class DeviceRecognizer {
public:
    // The interface is worth opening: a table row and a free slot have the
    // vendor, product, interface and collection numbers of its path.
    static bool PreMatch(std::string_view path, const DeviceSlotList& slots);
    // The first table row with the six values of the identity.
    static std::optional<size_t> FullMatch(const InterfaceIdentity& identity);
    // The first free slot with the six values of the identity.
    static std::optional<size_t> ChooseSlot(const InterfaceIdentity& identity, const DeviceSlotList& slots);

    // All of it for one listed path: pre-match, a probe open for reading that
    // replaces vendor and product by the attributes and adds usage page and
    // usage, full match and slot choice. The chosen slot is marked connected
    // with the path; its index is returned.
    static std::optional<size_t> Recognize(const std::string& path, DeviceSlotList& slots, HidBackend& backend);
};
