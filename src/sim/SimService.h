#pragma once

#include "platform/UniqueFd.h"
#include "sim/SimFirmware.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class SimProduct;

// The transport of the emulator: every open descriptor of an emulated node is
// one end of a SOCK_SEQPACKET socket pair (one report per packet); one service
// thread polls the other ends and an eventfd for control and stop. Every input
// report of a node goes to every descriptor of that node opened for reading,
// as hidraw does. An output report sent over the control pipe (Output) is
// taken on the caller's thread, as the ioctl is on hidraw. Thread-safe.
class SimService {
public:
    SimService();
    ~SimService();
    SimService(const SimService&) = delete;
    SimService& operator=(const SimService&) = delete;

    // A new descriptor on a plugged product; invalid with errno set otherwise
    // (ENODEV when the product is not plugged).
    UniqueFd Connect(SimProduct& product, bool read, bool write);

    void Plug(SimProduct& product);
    // The node disappears: every descriptor open on it sees hang-up and
    // replies still waiting are dropped.
    void Unplug(SimProduct& product);

    // Sends one input report to every reading descriptor of the product.
    // False when the product is not plugged.
    bool SendInput(SimProduct& product, const uint8_t* report, size_t length);

    // Takes one output report from a descriptor Connect returned, at once and
    // after every report written on it before. False, with errno set, when the
    // report cannot be sent (the node went away, or the descriptor is not one
    // of the emulator's).
    bool Output(int clientFd, const uint8_t* report, size_t length);

private:
    struct Connection {
        UniqueFd fd;
        int clientFd = -1;  // the host's end, by number only
        SimProduct* product = nullptr;
        bool readable = false;
        bool writable = false;
        bool dead = false;
    };
    struct Delayed {
        std::chrono::steady_clock::time_point due;
        SimProduct* product = nullptr;
        SimFrame report{};
    };

    void Run();
    void Wake();
    // Sends the delayed replies that are due; returns the poll time limit until
    // the next one (-1: none waiting).
    int FlushDelayedLocked();
    // Takes up to one pass of the reports waiting on the connection; true when
    // the pass ended with more possibly waiting.
    bool ServeLocked(Connection& connection);
    // Runs one host report through the product; false when the product went
    // away after it.
    bool HandleLocked(SimProduct& product, const uint8_t* report, size_t length);
    void DeliverLocked(SimProduct& product, const uint8_t* report, size_t length);
    void UnplugLocked(SimProduct& product);
    // Unplugs the products a fault took away during a pass, drops dead
    // connections; true when the descriptors changed.
    bool EndPassLocked();

    std::mutex m_mutex;
    std::vector<Connection> m_connections;
    std::vector<Delayed> m_delayed;
    std::vector<SimProduct*> m_unplugAfterPass;
    uint64_t m_generation = 0;
    bool m_stop = false;
    std::vector<uint8_t> m_receiveBuffer;  // guarded by m_mutex
    UniqueFd m_wake;
    std::thread m_thread;
};
