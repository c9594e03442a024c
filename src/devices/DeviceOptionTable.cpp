#include "devices/DeviceOptionTable.h"

namespace {

DeviceOption MakeOption(const char* folder, int32_t modelIndex, int32_t vid, int32_t pid, DeviceKind kind)
{
    return DeviceOption{"XML\\CustomControlXML\\DeviceOption.xml",
                        "tab_header_device",
                        "device_power_switch",
                        folder,
                        modelIndex,
                        vid,
                        pid,
                        static_cast<int32_t>(kind),
                        0};
}

} // namespace

const std::array<DeviceOption, DeviceOptionTable::kRowCount>& DeviceOptionTable::Rows()
{
    static const std::array<DeviceOption, kRowCount> rows = {
        MakeOption("mouse", 1, 0x320F, 0x221C, DeviceKind::Mouse),
        MakeOption("keyboard", 0, 0x320F, 0x0000, DeviceKind::Keyboard),
        MakeOption("MousePad", 2, 0x320F, 0x1004, DeviceKind::MousePad),
        MakeOption("HD", 3, 0x0C76, 0x1630, DeviceKind::Headset),
    };
    return rows;
}

std::optional<size_t> DeviceOptionTable::Find(uint16_t vendorId, uint16_t productId, DeviceKind kind, uint16_t role)
{
    const auto& rows = Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const DeviceOption& row = rows[i];
        if (row.vendorId == vendorId && row.productId == productId && row.kind == static_cast<int32_t>(kind)
            && row.role == role)
            return i;
    }
    return std::nullopt;
}
