#include "devices/DevicePageTable.h"

const std::array<DevicePageRow, DevicePageTable::kRowCount>& DevicePageTable::Rows()
{
    static const std::array<DevicePageRow, kRowCount> rows = {
        DevicePageRow{2, 11, 1, -1, "XML\\DeviceXml\\mousedevice.xml", "mirva_light"},
        DevicePageRow{170, 170, 0, -1, "XML\\DeviceXml\\keyboarddevice.xml", "mirva_light"},
        DevicePageRow{15, 0, 0, -1, "XML\\DeviceXml\\mousepaddevice.xml", "mirva_light"},
        DevicePageRow{13, 0, 0, -1, "XML\\DeviceXml\\hs6533device.xml", "mirva_light"},
    };
    return rows;
}
