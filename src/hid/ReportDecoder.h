#pragma once

#include "hid/ReportDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// One element of a decoded input report: a button field (the usages that are
// on) or one value usage (raw and scaled value).
struct HidDecodedData {
    bool isButton = false;
    uint8_t reportId = 0;
    bool present = false;         // the last decoded report carried this element
    uint16_t usagePage = 0;
    uint16_t usage = 0;           // value elements
    std::vector<uint16_t> usagesOn;  // button elements
    uint32_t rawValue = 0;
    int32_t scaledValue = 0;
};

// Decodes the input reports of one top-level collection. Elements are built
// once: one per button field, then one per value usage.
class ReportDecoder {
public:
    static constexpr size_t kMaxElements = 4096;
    static constexpr size_t kMaxUsagesOn = 1024;

    ReportDecoder() = default;
    explicit ReportDecoder(const HidCollectionInfo& collection);

    // report[0] is the report ID (0 for a collection without IDs).
    void Decode(const uint8_t* report, size_t length);

    const std::vector<HidDecodedData>& Elements() const { return m_elements; }
    size_t ButtonElementCount() const { return m_buttonCount; }
    size_t ValueElementCount() const { return m_elements.size() - m_buttonCount; }

    // The event code after the last Decode: the first usage of the first
    // element (its raw value when that element is a value).
    uint16_t FirstUsage() const;

private:
    struct Binding {
        size_t field = 0;    // into m_fields
        uint32_t index = 0;  // entry of the field a value element reads
    };

    void DecodeButtons(const HidField& field, HidDecodedData& out, const uint8_t* data, size_t bits) const;
    static void DecodeValue(const HidField& field, uint32_t index, HidDecodedData& out, const uint8_t* data,
                            size_t bits);

    std::vector<HidField> m_fields;
    std::vector<Binding> m_bindings;
    std::vector<HidDecodedData> m_elements;
    size_t m_buttonCount = 0;
};
