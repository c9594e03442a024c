#pragma once

#include "sim/SimProductKind.h"

#include <cstdint>
#include <vector>

// Report descriptors laid out like the real products'. Interface 1 of the
// mouse, keyboard and mouse pad carries four top-level collections: 1 mouse or
// keyboard, 2 system control, 3 consumer (event codes), 4 vendor 0xFF1C/0x92
// (command frames). The headset's interface 3 has a single consumer collection.
class SimDescriptors {
public:
    static constexpr uint8_t kConsumerReportId = 0x03;       // interface 1, collection 3
    static constexpr uint8_t kHeadsetEventReportId = 0x01;   // headset media keys
    static constexpr uint8_t kHeadsetLightReportId = 0xFF;   // headset light output report
    static constexpr size_t kHeadsetLightReportSize = 17;    // report ID included

    static std::vector<uint8_t> For(SimProductKind kind);

    // The report ID of the input reports that carry 16-bit event codes.
    static uint8_t EventReportId(SimProductKind kind);
};
