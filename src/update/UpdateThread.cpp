#include "update/UpdateThread.h"

#include "update/HttpClient.h"
#include "update/UpdateQuery.h"
#include "update/UpdateTimeFile.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsNoLinkServer(const std::string& name)
{
    constexpr std::string_view marker = "NO_LINK_SERVER";
    return name.size() == marker.size() && std::equal(name.begin(), name.end(), marker.begin(),
        [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

} // namespace

UpdateThread::UpdateThread(UpdateCheckConfig config) : m_config(std::move(config)) {}

UpdateThread::~UpdateThread()
{
    Stop();
}

void UpdateThread::Start(std::vector<UpdateItem> items, std::function<void()> changed)
{
    Stop();
    m_thread = std::jthread([this, items = std::move(items), changed = std::move(changed)](std::stop_token stop) {
        Run(stop, items, changed);
    });
}

void UpdateThread::Stop()
{
    if (m_thread.joinable()) {
        m_thread.request_stop();
        m_thread.join();
    }
}

void UpdateThread::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

UpdateListModel UpdateThread::Snapshot() const
{
    const std::lock_guard lock(m_mutex);
    return m_model;
}

void UpdateThread::Modify(const std::function<void(UpdateListModel&)>& change)
{
    const std::lock_guard lock(m_mutex);
    change(m_model);
}

std::vector<std::string> UpdateThread::Errors() const
{
    const std::lock_guard lock(m_mutex);
    return m_errors;
}

void UpdateThread::Run(const std::stop_token& stop, const std::vector<UpdateItem>& items, const std::function<void()>& changed)
{
    const UpdateTimeFile timeFile(m_config.dataFolder);
    auto update = [&](const std::function<void(UpdateListModel&)>& change) {
        Modify(change);
        if (changed)
            changed();
    };
    const std::string lastDate = timeFile.ReadOrCreate();
    {
        const std::lock_guard lock(m_mutex);
        m_errors.clear();
    }
    update([&](UpdateListModel& model) {
        model.SetLastCheckDate(lastDate);
        model.Begin(items);
    });

    HttpClient client(m_config.http, stop);
    UpdateQuery query(client, m_config.baseUrl);
    size_t failures = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (stop.stop_requested())
            return;
        const UpdateItem& item = items[i];
        UpdateInfo info = query.QueryUpdate(MakeAppKey(item), item.version, item.hexFlag);
        if (stop.stop_requested())
            return;
        if (IsNoLinkServer(info.name)) {
            ++failures;
            info.name.clear();
            const std::string reason = m_config.baseUrl.empty() ? "no update server is set" : query.LastErrorText();
            const std::lock_guard lock(m_mutex);
            m_errors.push_back(item.name + ": " + (reason.empty() ? "the update server did not answer" : reason));
        }
        if (!info.name.empty())
            update([&](UpdateListModel& model) { model.SetResult(i, info); });
        timeFile.WriteToday();
    }
    update([&](UpdateListModel& model) { model.Finish(failures); });
}
