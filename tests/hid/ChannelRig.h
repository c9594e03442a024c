#pragma once

#include "hid/CommandChannel.h"
#include "hid/CommandSet.h"

#include "ScriptedDevice.h"
#include "SocketHidBackend.h"
#include "TestDescriptors.h"

#include <memory>

// A product with a cable and a receiver node, each answered by a scripted
// device on its own thread, and a command channel opened on the chosen link.
class ChannelRig {
public:
    static constexpr const char* kCablePath = "sock:cable#vid_320f&pid_221c&mi_01&col04";
    static constexpr const char* kReceiverPath = "sock:receiver#vid_320f&pid_222f&mi_01&col04";

    // The script of the link in use; the other link echoes everything.
    ChannelRig(int mode, ScriptedDevice::Script script = ScriptedDevice::EchoAll(), bool open = true)
    {
        const bool wireless = mode == kChannelWireless;
        m_cable = std::make_unique<ScriptedDevice>(AddNode("sock:cable", 0x221C),
                                                   wireless ? ScriptedDevice::EchoAll() : script);
        m_receiver = std::make_unique<ScriptedDevice>(AddNode("sock:receiver", 0x222F),
                                                      wireless ? script : ScriptedDevice::EchoAll());
        m_opened = channel.Cable().Open(kCablePath, true, true) && channel.Receiver().Open(kReceiverPath, true, true);
        channel.SetMode(mode);
        channel.SetOpen(open);
    }
    ~ChannelRig()
    {
        channel.Cable().Close();
        channel.Receiver().Close();
    }

    bool Opened() const { return m_opened; }
    // What the device of the link in use received.
    std::vector<Report> Received() const { return (channel.IsWireless() ? m_receiver : m_cable)->Received(); }
    std::vector<Report> ReceivedByCable() const { return m_cable->Received(); }
    std::vector<Report> ReceivedByReceiver() const { return m_receiver->Received(); }

    // The (length, address) of every report the link's device received.
    std::vector<std::pair<int, int>> Chunks() const
    {
        std::vector<std::pair<int, int>> chunks;
        for (const auto& r : Received())
            chunks.emplace_back(r[ReportFrame::kLengthOffset], ReportFrame::ReadLe16(&r[ReportFrame::kAddressOffset]));
        return chunks;
    }

private:
    UniqueFd AddNode(const char* devicePath, uint16_t productId)
    {
        HidNode node;
        node.devicePath = devicePath;
        node.vendorId = 0x320F;
        node.productId = productId;
        node.interfaceNumber = 1;
        node.reportDescriptor = TestDescriptors::ProductInterface();
        return m_backend.AddNode(node);
    }

    SocketHidBackend m_backend;

public:
    CommandChannel channel{m_backend};
    CommandSet commands{channel};

private:
    std::unique_ptr<ScriptedDevice> m_cable;
    std::unique_ptr<ScriptedDevice> m_receiver;
    bool m_opened = false;
};
