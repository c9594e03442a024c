#include "devices/DevicePage.h"

#include "devices/DeviceManagerListener.h"
#include "devices/VarnokUSBDevice.h"

#include <QMetaObject>

DevicePage::DevicePage(DeviceModel model, HidBackend& backend, SelectorItemHost& host, int deviceIndex,
                       DeviceManagerListener* listener)
    : m_deviceIndex(deviceIndex),
      m_listener(listener),
      m_onCode(std::move(model.onCode)),
      m_model(std::move(model.device)),
      m_item(deviceIndex, host)
{
    m_schedule = std::make_unique<SelectorTimerSchedule>(m_timers, *m_model, m_item);
    m_readers = std::make_unique<NotificationReaderSet>(backend, m_model->Kind(), *this);
    m_model->SetPageObserver(this);
}

DevicePage::~DevicePage() { Shutdown(); }

void DevicePage::Shutdown()
{
    if (m_readers)
        m_readers->CloseAll();
    if (m_schedule)
        m_schedule->KillAll();
    m_model->SetPageObserver(nullptr);
}

void DevicePage::Post(std::function<void()> fn)
{
    QMetaObject::invokeMethod(&m_timers, std::move(fn), Qt::QueuedConnection);
}

void DevicePage::ArmRefresh(int ms)
{
    Post([this, ms] { m_schedule->Arm(SelectorTimerSchedule::kRefresh, ms); });
}

void DevicePage::ReactiveTrigger()
{
    if (LightingPreview* preview = m_model->Preview())
        preview->TriggerReactive();
}

void DevicePage::DeviceCode(uint16_t code)
{
    if (m_onCode)
        m_onCode(code);
}

void DevicePage::CodeReceived(uint16_t code)
{
    m_model->NoteReaderCode(code);
    if (m_listener)
        Post([this, code] { m_listener->DeviceCode(m_deviceIndex, code); });
}

void DevicePage::PowerRecord(const std::array<uint8_t, 6>& record, int batteryLevel)
{
    if (m_listener)
        m_listener->PowerRecord(m_deviceIndex, record, batteryLevel);
}
