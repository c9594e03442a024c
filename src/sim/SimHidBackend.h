#pragma once

#include "hid/HidBackend.h"
#include "sim/SimProduct.h"
#include "sim/SimProductKind.h"
#include "sim/SimService.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The HID backend of the emulator: emulated products shown as HID nodes with
// the paths "sim:<kind name>". Every product exists for the backend's whole
// life; plugging and unplugging switch whether its node is present. A receiver
// talks to the same memory as its cable product.
//
// Constructing the backend ignores SIGPIPE in the process (when it is at its
// default), so that a write to a node that was unplugged fails with EPIPE as a
// write to a removed hidraw device fails, instead of ending the program.
class SimHidBackend : public HidBackend {
public:
    explicit SimHidBackend(const std::vector<SimProductKind>& plugged = {});
    ~SimHidBackend() override;

    // "mouse,keyboard-receiver" -> kinds; nullopt with a user-readable *error
    // on an unknown or repeated name.
    static std::optional<std::vector<SimProductKind>> ParseKinds(std::string_view list, std::string* error);
    static std::string NodePath(SimProductKind kind);

    bool LoadState(const std::string& file, std::string* error);
    bool SaveState(const std::string& file, std::string* error) const;

    std::vector<HidNode> ListNodes() override;
    std::optional<HidNode> QueryNode(const std::string& devicePath) override;
    UniqueFd OpenNode(const std::string& devicePath, bool read, bool write) override;
    bool SetOutputReport(int fd, const uint8_t* report, size_t length) override;

    // Hot-plug, from any thread. False when already in that state.
    bool Plug(SimProductKind kind);
    bool Unplug(SimProductKind kind);
    bool IsPlugged(SimProductKind kind) const;

    // The product's model: firmware, memory, fault plan, trace.
    SimProduct& Product(SimProductKind kind);
    SimMemory& Memory(SimProductKind kind);

    // An input report with a 16-bit event code on the product's consumer
    // collection, to every descriptor open on its node. False when unplugged.
    bool InjectEvent(SimProductKind kind, uint16_t code);
    // Any input report (report ID first) to every descriptor open on the node.
    bool SendInputReport(SimProductKind kind, const uint8_t* report, size_t length);

    // Every product's memory back to its factory contents.
    void ResetToFactory();

private:
    SimProduct* Find(const std::string& devicePath);

    std::array<std::unique_ptr<SimProduct>, kAllSimProductKinds.size()> m_products;
    // Last: its thread stops before the products go.
    std::unique_ptr<SimService> m_service;
};
