#pragma once

#include "devices/NotificationReader.h"
#include "hid/DeviceKind.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class HidBackend;
class NotificationSink;

// The event links of one device: the cable and receiver links of a mouse or
// keyboard, the single link of the mouse pad; the headset has none.
class NotificationReaderSet {
public:
    NotificationReaderSet(HidBackend& backend, DeviceKind deviceKind, NotificationSink& sink);

    // Opens, or reopens, the reader of a link kind with the path; false for a
    // link kind the device does not have. The mouse pad's link is opened only
    // when it is not open yet.
    bool Open(DeviceKind link, const std::string& path);
    void Close(DeviceKind link);
    void CloseAll();

    NotificationReader* Link(DeviceKind link);
    bool Empty() const { return m_links.empty(); }

    // The device kind a link kind belongs to (Mouse for MouseReceiver ...).
    static DeviceKind DeviceOf(DeviceKind link);

private:
    DeviceKind m_deviceKind;
    std::vector<std::pair<DeviceKind, std::unique_ptr<NotificationReader>>> m_links;
};
