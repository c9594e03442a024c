#include "devices/NotificationReaderSet.h"

NotificationReaderSet::NotificationReaderSet(HidBackend& backend, DeviceKind deviceKind, NotificationSink& sink)
    : m_deviceKind(DeviceOf(deviceKind))
{
    std::vector<DeviceKind> links;
    switch (m_deviceKind) {
    case DeviceKind::Mouse:
        links = {DeviceKind::Mouse, DeviceKind::MouseReceiver};
        break;
    case DeviceKind::Keyboard:
        links = {DeviceKind::Keyboard, DeviceKind::KeyboardReceiver};
        break;
    case DeviceKind::MousePad:
        links = {DeviceKind::MousePad};
        break;
    default:
        break;
    }
    for (DeviceKind link : links)
        m_links.emplace_back(link,
                             std::make_unique<NotificationReader>(backend, NotificationPolicy::ForLink(link), sink));
}

DeviceKind NotificationReaderSet::DeviceOf(DeviceKind link)
{
    switch (link) {
    case DeviceKind::MouseReceiver: return DeviceKind::Mouse;
    case DeviceKind::KeyboardReceiver: return DeviceKind::Keyboard;
    default: return link;
    }
}

NotificationReader* NotificationReaderSet::Link(DeviceKind link)
{
    for (auto& [kind, reader] : m_links)
        if (kind == link)
            return reader.get();
    return nullptr;
}

bool NotificationReaderSet::Open(DeviceKind link, const std::string& path)
{
    NotificationReader* reader = Link(link);
    if (!reader)
        return false;
    if (m_deviceKind == DeviceKind::MousePad && reader->IsOpen())
        return true;
    return reader->Open(path);
}

void NotificationReaderSet::Close(DeviceKind link)
{
    if (NotificationReader* reader = Link(link))
        reader->Close();
}

void NotificationReaderSet::CloseAll()
{
    for (auto& entry : m_links)
        entry.second->Close();
}
