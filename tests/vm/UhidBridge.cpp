// Shows emulated products to the kernel as real HID devices through /dev/uhid,
// so the hidraw path can be exercised against the kernel's HID stack.
//   gd-uhid-bridge KINDS SECONDS
#include "sim/SimHidBackend.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct BridgedNode {
    UniqueFd uhid;
    UniqueFd sim;
};

bool SendEvent(int fd, const uhid_event& ev)
{
    return ::write(fd, &ev, sizeof ev) == static_cast<ssize_t>(sizeof ev);
}

bool CreateDevice(int fd, const HidNode& node)
{
    uhid_event ev{};
    ev.type = UHID_CREATE2;
    std::snprintf(reinterpret_cast<char*>(ev.u.create2.name), sizeof ev.u.create2.name, "emulated %s",
                  node.devicePath.c_str());
    std::snprintf(reinterpret_cast<char*>(ev.u.create2.phys), sizeof ev.u.create2.phys, "gd-uhid-bridge/input%u",
                  node.interfaceNumber);
    if (node.reportDescriptor.size() > sizeof ev.u.create2.rd_data)
        return false;
    ev.u.create2.rd_size = static_cast<uint16_t>(node.reportDescriptor.size());
    std::memcpy(ev.u.create2.rd_data, node.reportDescriptor.data(), node.reportDescriptor.size());
    ev.u.create2.bus = 0x03;  // BUS_USB
    ev.u.create2.vendor = node.vendorId;
    ev.u.create2.product = node.productId;
    ev.u.create2.version = node.version;
    return SendEvent(fd, ev);
}

// One event from the kernel: output reports go to the emulator.
void HandleKernelEvent(BridgedNode& node)
{
    uhid_event ev{};
    if (::read(node.uhid.Get(), &ev, sizeof ev) <= 0)
        return;
    switch (ev.type) {
    case UHID_OUTPUT:
        (void)!::write(node.sim.Get(), ev.u.output.data, ev.u.output.size);
        break;
    case UHID_SET_REPORT: {
        (void)!::write(node.sim.Get(), ev.u.set_report.data, ev.u.set_report.size);
        uhid_event reply{};
        reply.type = UHID_SET_REPORT_REPLY;
        reply.u.set_report_reply.id = ev.u.set_report.id;
        reply.u.set_report_reply.err = 0;
        SendEvent(node.uhid.Get(), reply);
        break;
    }
    case UHID_GET_REPORT: {
        uhid_event reply{};
        reply.type = UHID_GET_REPORT_REPLY;
        reply.u.get_report_reply.id = ev.u.get_report.id;
        reply.u.get_report_reply.err = EIO;
        SendEvent(node.uhid.Get(), reply);
        break;
    }
    default:
        break;
    }
}

// One input report from the emulator goes to the kernel.
void HandleSimReport(BridgedNode& node)
{
    uhid_event ev{};
    ev.type = UHID_INPUT2;
    const ssize_t n = ::read(node.sim.Get(), ev.u.input2.data, sizeof ev.u.input2.data);
    if (n <= 0)
        return;
    ev.u.input2.size = static_cast<uint16_t>(n);
    SendEvent(node.uhid.Get(), ev);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: gd-uhid-bridge KINDS SECONDS\n");
        return 2;
    }
    std::string error;
    const auto kinds = SimHidBackend::ParseKinds(argv[1], &error);
    if (!kinds) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    const int seconds = std::atoi(argv[2]);
    SimHidBackend sim(*kinds);
    std::vector<BridgedNode> nodes;
    for (const HidNode& info : sim.ListNodes()) {
        BridgedNode node{UniqueFd(::open("/dev/uhid", O_RDWR | O_CLOEXEC)), sim.OpenNode(info.devicePath, true, true)};
        if (!node.uhid || !node.sim || !CreateDevice(node.uhid.Get(), info)) {
            std::fprintf(stderr, "cannot create %s: %s\n", info.devicePath.c_str(), std::strerror(errno));
            return 1;
        }
        std::printf("created %s %04x:%04x interface %u\n", info.devicePath.c_str(), info.vendorId, info.productId,
                    info.interfaceNumber);
        nodes.push_back(std::move(node));
    }
    std::fflush(stdout);

    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::vector<pollfd> fds;
    while (std::chrono::steady_clock::now() < end) {
        fds.clear();
        for (const auto& node : nodes) {
            fds.push_back({node.uhid.Get(), POLLIN, 0});
            fds.push_back({node.sim.Get(), POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), 100) <= 0)
            continue;
        for (size_t i = 0; i < nodes.size(); ++i) {
            if (fds[2 * i].revents & POLLIN)
                HandleKernelEvent(nodes[i]);
            if (fds[2 * i + 1].revents & POLLIN)
                HandleSimReport(nodes[i]);
        }
    }
    for (auto& node : nodes) {
        uhid_event ev{};
        ev.type = UHID_DESTROY;
        SendEvent(node.uhid.Get(), ev);
    }
    return 0;
}
