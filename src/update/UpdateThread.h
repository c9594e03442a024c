#pragma once

#include "update/HttpClientSettings.h"
#include "update/UpdateItem.h"
#include "update/UpdateListModel.h"

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct UpdateCheckConfig {
    std::string baseUrl;  // empty: no server set, every query fails
    HttpClientSettings http;
    std::filesystem::path dataFolder;  // where "updatetime.config" lives
};

// The update thread: asks the server about every item in turn and fills the
// update list. The list is shared with the thread that shows it; every access
// goes through Snapshot() or Modify(). Stop() ends a running request at once.
class UpdateThread {
public:
    explicit UpdateThread(UpdateCheckConfig config);
    ~UpdateThread();
    UpdateThread(const UpdateThread&) = delete;
    UpdateThread& operator=(const UpdateThread&) = delete;

    // Starts a check of `items` (a running one is stopped first). `changed`
    // is called on the update thread after each change of the list.
    void Start(std::vector<UpdateItem> items, std::function<void()> changed = {});
    // Asks the thread to end and waits for it.
    void Stop();
    // Waits for the check to end by itself.
    void Wait();

    UpdateListModel Snapshot() const;
    void Modify(const std::function<void(UpdateListModel&)>& change);

    // Why queries failed, in words, one entry per failed item.
    std::vector<std::string> Errors() const;

private:
    void Run(const std::stop_token& stop, const std::vector<UpdateItem>& items, const std::function<void()>& changed);

    UpdateCheckConfig m_config;
    mutable std::mutex m_mutex;
    UpdateListModel m_model;
    std::vector<std::string> m_errors;
    std::jthread m_thread;
};
