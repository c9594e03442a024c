#pragma once

#include "hid/ReportDecoder.h"
#include "hid/ReportDescriptor.h"
#include "platform/UniqueFd.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class HidBackend;

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
};

// The capabilities of the interface's top-level collection.
struct HidCaps {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;    // report ID byte included
    uint16_t outputReportLength = 0;
    uint16_t featureReportLength = 0;
    std::array<uint16_t, kHidReportTypeCount> buttonCaps{};
    std::array<uint16_t, kHidReportTypeCount> valueCaps{};
};

// One open HID interface: a top-level collection of a node, opened by its
// interface path. Reads and writes wait with a time limit, and Close from
// another thread makes a blocked call return failure before anything it uses
// is released.
class HidInterface {
public:
    static constexpr uint32_t kNoTimeLimit = 0xFFFFFFFF;

    HidInterface();  // uses DefaultHidBackend()
    explicit HidInterface(HidBackend& backend);
    ~HidInterface();
    HidInterface(const HidInterface&) = delete;
    HidInterface& operator=(const HidInterface&) = delete;

    // Closes first when open. Without read and write the node is opened with
    // no access rights (a presence probe). Overlapped and exclusive are kept
    // for the callers' sake; every open here waits with poll and is shared.
    bool Open(const std::string& path, bool read, bool write, bool overlapped = true, bool exclusive = false);
    void Close();
    bool IsOpen() const;

    // Reads the next input report of this collection into buffer, the report ID
    // first (0 for a collection without IDs); on a node with several
    // collections the reports of the others are dropped. Bytes past the report
    // are zeroed.
    bool Read(uint8_t* buffer, size_t length, size_t& bytesRead, uint32_t timeoutMs);
    // Writes one output report, buffer[0] being the report ID.
    bool Write(const uint8_t* buffer, size_t length, size_t& bytesWritten, uint32_t timeoutMs);
    // Sends an output report over the control pipe (the headset's light reports).
    bool SetOutputReport(const uint8_t* report, size_t length);

    // Decodes an input report of this collection into InputData(); false when
    // closed or the report ID is not one of this collection's.
    bool DecodeInputReport(const uint8_t* report, size_t length);
    std::vector<HidDecodedData> InputData() const;
    // The first usage of the first element of the last decoded report.
    uint16_t EventCode() const;

    const std::string& Path() const { return m_path; }
    const HidAttributes& Attributes() const { return m_attributes; }
    const HidCaps& Caps() const { return m_caps; }
    uint16_t VendorId() const { return m_attributes.vendorId; }
    uint16_t ProductId() const { return m_attributes.productId; }
    uint16_t Version() const { return m_attributes.version; }
    uint16_t UsagePage() const { return m_caps.usagePage; }
    uint16_t Usage() const { return m_caps.usage; }
    uint16_t InputReportLength() const { return m_caps.inputReportLength; }
    uint16_t OutputReportLength() const { return m_caps.outputReportLength; }
    uint16_t FeatureReportLength() const { return m_caps.featureReportLength; }
    uint16_t InterfaceNumber() const { return m_interfaceNumber; }
    uint16_t CollectionNumber() const { return m_collectionNumber; }

    // One zero-filled buffer per report type, as long as that report type.
    std::vector<uint8_t>& ReportBuffer(HidReportType type) { return m_reportBuffers[static_cast<size_t>(type)]; }

private:
    enum class Wait { Ready, Cancelled, TimedOut, Failed };

    // Counts a read or write in progress; false when closed or closing.
    bool BeginIo(int& fd);
    void EndIo();
    Wait WaitFor(int fd, short events, bool unlimited, int64_t deadlineNs) const;
    bool ReadLocked(int fd, uint8_t* buffer, size_t length, size_t& bytesRead, uint32_t timeoutMs);
    void ResetState();

    HidBackend& m_backend;
    UniqueFd m_cancel;  // eventfd signalled by Close

    mutable std::mutex m_mutex;
    std::condition_variable m_idle;
    UniqueFd m_fd;
    int m_inProgress = 0;
    bool m_closing = false;

    // One reader at a time owns the scratch buffer; also guards the collection
    // layout and the decoder against a Close from another thread.
    mutable std::mutex m_readMutex;
    std::vector<uint8_t> m_scratch;

    std::string m_path;
    HidAttributes m_attributes;
    HidCaps m_caps;
    uint16_t m_interfaceNumber = 0;
    uint16_t m_collectionNumber = 0;
    bool m_nodeUsesReportIds = false;
    bool m_filterByReportId = false;  // the node has other collections
    HidCollectionInfo m_collection;
    ReportDecoder m_decoder;
    std::array<std::vector<uint8_t>, kHidReportTypeCount> m_reportBuffers;
};
