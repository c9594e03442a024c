#pragma once

#include "platform/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One HID node as the operating system shows it (a hidraw device, or an
// emulated product). A node carries one or more top-level collections; the
// enumeration turns each collection into one HID interface path.
struct HidNode {
    std::string devicePath;  // "/dev/hidraw3", or "sim:<name>" for an emulated product
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;          // firmware version number of the product
    uint16_t interfaceNumber = 0;  // the USB interface the node belongs to
    std::vector<uint8_t> reportDescriptor;
};

// Where HID nodes come from and how they are opened. The real backend walks
// sysfs and opens /dev/hidraw*; the emulator serves its products over sockets.
class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Every node present now; a node that cannot be read is left out.
    virtual std::vector<HidNode> ListNodes() = 0;

    // Fresh facts about one node, nullopt when it is not present.
    virtual std::optional<HidNode> QueryNode(const std::string& devicePath) = 0;

    // A non-blocking descriptor that moves one report per read() and write().
    // A write starts with the report ID byte (0 when the node uses none); a
    // read starts with the report ID only when the node uses report IDs, as
    // hidraw does. Invalid on failure, with errno set.
    virtual UniqueFd OpenNode(const std::string& devicePath, bool read, bool write) = 0;

    // Sends an output report over the control pipe where the transport has one
    // (HIDIOCSOUTPUT on hidraw), else as a plain write. report[0] is the report ID.
    virtual bool SetOutputReport(int fd, const uint8_t* report, size_t length) = 0;
};
