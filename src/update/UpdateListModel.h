#pragma once

#include "update/UpdateInfo.h"
#include "update/UpdateItem.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// State of one row of the update list.
enum class UpdateRowState : uint32_t {
    Current = 0,       // "LessUpdateText"
    NeedUpdate = 1,    // "NeedUpdateText"
    NeedUpdate2 = 2,   // "NeedUpdateText"
    DownloadWait = 3,  // "DownloadWaitText"
    Downloading = 4,   // "DownloadIngText"
    DownloadOk = 5,    // "DownloadOkText"
    Updating = 6,      // "UpdateIngText"
    UpdateOk = 7,      // "UpdateOkText"
    UpdateFail = 8,    // "UpdateFailText"
};

// Overall state of the update check.
enum class UpdateState : uint32_t {
    Checking = 0,     // "GetUpdateInfoText"
    HaveUpdates = 1,  // "HaveUpdateInfoText"
    NoInfo = 2,       // "NoUpdateInfoText"
    Updating = 3,     // "ISUpdateINGText"
    UpToDate = 4,     // "UpdateIsLastText" followed by the last check date
};

// One row of the update list.
struct UpdateRow {
    std::string name;                // "check_name_select"
    std::string currentVersionText;  // "OldRev"
    std::string serverVersionText;   // "updateRev"
    std::string progressText;        // "update_progress_value"
    UpdateRowState state = UpdateRowState::UpdateOk;
    bool selected = false;    // the row's selection box
    bool selectable = false;  // whether the selection box is enabled
    std::string downloadPath;
    std::string installerPath;
};

// The update list and its overall state, without widgets: the settings
// window shows it, the update thread fills it, the user's choices and the
// installer's reports change it.
class UpdateListModel {
public:
    static const char* RowStateTextKey(UpdateRowState state);
    static const char* StateTextKey(UpdateState state);
    // Rows in these states are shown grey.
    static bool IsGrey(UpdateRowState state);
    static bool ShowsProgress(UpdateRowState state);
    static bool ShowsDoneMark(UpdateRowState state);

    // A new check: overall state 0 and one row per item with state 7, the
    // item's name and its current version text.
    void Begin(const std::vector<UpdateItem>& items);
    // A query's answer for a row (the row keeps its name).
    void SetResult(size_t row, const UpdateInfo& info);
    // The end of the check: rows with news become selectable and selected.
    void Finish(size_t failures);

    // The user ticks or clears a row's selection box (ignored while it is disabled).
    void SetRowSelected(size_t row, bool selected);
    // "update_fw_and_ap": to the confirmation page.
    void OpenUpdatePage();
    // "update_OK_btn": queue the selected rows, lock the others, back to page 0.
    void ConfirmUpdate();

    // A report of the installer program (wParam 1 done, 2 and 3 failed,
    // 4 progress with lParam the percentage); other values are ignored.
    void OnInstallerReport(uint32_t wParam, int64_t lParam);

    // Closing the window is refused while a row is queued or being installed.
    bool CanClose() const;

    const std::vector<UpdateRow>& Rows() const { return m_rows; }
    UpdateState State() const { return m_state; }
    void SetLastCheckDate(std::string date) { m_lastCheckDate = std::move(date); }
    const std::string& LastCheckDate() const { return m_lastCheckDate; }
    bool UpdateButtonEnabled() const { return m_buttonEnabled; }
    bool UpdateButtonVisible() const { return m_buttonVisible; }
    int Page() const { return m_page; }
    // The row the installer's reports are about: the first queued or running one.
    std::optional<size_t> CurrentRow() const;

private:
    void SetRowState(UpdateRow& row, UpdateRowState state);
    void RefreshButton();

    std::vector<UpdateRow> m_rows;
    UpdateState m_state = UpdateState::Checking;
    std::string m_lastCheckDate;
    bool m_buttonEnabled = false;
    bool m_buttonVisible = false;
    int m_page = 0;
};
