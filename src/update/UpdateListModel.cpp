#include "update/UpdateListModel.h"

#include <algorithm>

namespace {

bool NeedsUpdate(UpdateRowState state)
{
    return state == UpdateRowState::NeedUpdate || state == UpdateRowState::NeedUpdate2;
}

bool InProgress(UpdateRowState state)
{
    return state >= UpdateRowState::DownloadWait && state <= UpdateRowState::Updating;
}

} // namespace

const char* UpdateListModel::RowStateTextKey(UpdateRowState state)
{
    switch (state) {
    case UpdateRowState::Current: return "LessUpdateText";
    case UpdateRowState::NeedUpdate:
    case UpdateRowState::NeedUpdate2: return "NeedUpdateText";
    case UpdateRowState::DownloadWait: return "DownloadWaitText";
    case UpdateRowState::Downloading: return "DownloadIngText";
    case UpdateRowState::DownloadOk: return "DownloadOkText";
    case UpdateRowState::Updating: return "UpdateIngText";
    case UpdateRowState::UpdateOk: return "UpdateOkText";
    case UpdateRowState::UpdateFail: return "UpdateFailText";
    }
    return "";
}

const char* UpdateListModel::StateTextKey(UpdateState state)
{
    switch (state) {
    case UpdateState::Checking: return "GetUpdateInfoText";
    case UpdateState::HaveUpdates: return "HaveUpdateInfoText";
    case UpdateState::NoInfo: return "NoUpdateInfoText";
    case UpdateState::Updating: return "ISUpdateINGText";
    case UpdateState::UpToDate: return "UpdateIsLastText";
    }
    return "";
}

bool UpdateListModel::IsGrey(UpdateRowState state)
{
    return state == UpdateRowState::Current || state == UpdateRowState::UpdateOk;
}

bool UpdateListModel::ShowsProgress(UpdateRowState state)
{
    return state == UpdateRowState::Downloading || state == UpdateRowState::Updating;
}

bool UpdateListModel::ShowsDoneMark(UpdateRowState state)
{
    return state == UpdateRowState::DownloadOk;
}

void UpdateListModel::Begin(const std::vector<UpdateItem>& items)
{
    m_state = UpdateState::Checking;
    m_rows.clear();
    m_page = 0;
    m_buttonEnabled = false;
    m_buttonVisible = false;
    for (const UpdateItem& item : items) {
        UpdateRow row;
        row.name = item.IsProgram() ? "AP" : item.name;
        row.currentVersionText = item.IsHex() ? FormatVersionText(item.version, true) : item.versionText;
        m_rows.push_back(std::move(row));
    }
}

void UpdateListModel::SetResult(size_t index, const UpdateInfo& info)
{
    if (index >= m_rows.size())
        return;
    UpdateRow& row = m_rows[index];
    row.currentVersionText = info.currentVersionText;
    row.serverVersionText = info.status == UpdateInfo::kNoNewer ? std::string() : info.serverVersionText;
    row.downloadPath = info.downloadPath;
    row.installerPath = info.installerPath;
    SetRowState(row, static_cast<UpdateRowState>(info.status));
}

void UpdateListModel::Finish(size_t failures)
{
    bool marked = false;
    for (UpdateRow& row : m_rows) {
        if (row.state != UpdateRowState::UpdateOk && row.state != UpdateRowState::Current) {
            row.selectable = true;
            row.selected = true;
            marked = true;
        }
    }
    RefreshButton();
    if (marked)
        m_state = UpdateState::HaveUpdates;
    else if (failures >= m_rows.size())
        m_state = UpdateState::NoInfo;
    else
        m_state = UpdateState::UpToDate;
}

void UpdateListModel::SetRowSelected(size_t index, bool selected)
{
    if (index >= m_rows.size() || !m_rows[index].selectable)
        return;
    m_rows[index].selected = selected;
    RefreshButton();
}

void UpdateListModel::OpenUpdatePage()
{
    if (m_buttonEnabled)
        m_page = 1;
}

void UpdateListModel::ConfirmUpdate()
{
    bool queued = false;
    for (UpdateRow& row : m_rows) {
        if (!NeedsUpdate(row.state))
            continue;
        if (row.selected) {
            SetRowState(row, UpdateRowState::DownloadWait);
            queued = true;
        } else {
            row.selectable = false;
        }
    }
    m_buttonEnabled = false;
    m_page = 0;
    if (queued)
        m_state = UpdateState::Updating;
}

std::optional<size_t> UpdateListModel::CurrentRow() const
{
    const auto it = std::find_if(m_rows.begin(), m_rows.end(), [](const UpdateRow& row) { return InProgress(row.state); });
    if (it == m_rows.end())
        return std::nullopt;
    return static_cast<size_t>(it - m_rows.begin());
}

void UpdateListModel::OnInstallerReport(uint32_t wParam, int64_t lParam)
{
    const std::optional<size_t> current = CurrentRow();
    if (!current)
        return;
    UpdateRow& row = m_rows[*current];
    switch (wParam) {
    case 1: {
        row.currentVersionText = row.serverVersionText;
        row.serverVersionText.clear();
        SetRowState(row, UpdateRowState::UpdateOk);
        row.selected = false;
        const bool othersPending = std::any_of(m_rows.begin(), m_rows.end(),
            [](const UpdateRow& r) { return r.selected && r.state != UpdateRowState::UpdateOk; });
        if (othersPending)
            return;
        bool remaining = false;
        for (UpdateRow& r : m_rows) {
            if (r.state != UpdateRowState::UpdateOk) {
                r.selectable = true;
                remaining = true;
            }
        }
        m_state = remaining ? UpdateState::HaveUpdates : UpdateState::UpToDate;
        RefreshButton();
        break;
    }
    case 2:
    case 3:
        SetRowState(row, UpdateRowState::UpdateFail);
        break;
    case 4:
        row.progressText = std::to_string(lParam) + "%";
        break;
    default:
        break;
    }
}

bool UpdateListModel::CanClose() const
{
    return std::all_of(m_rows.begin(), m_rows.end(), [](const UpdateRow& row) {
        return NeedsUpdate(row.state) || row.state == UpdateRowState::UpdateOk || row.state == UpdateRowState::UpdateFail;
    });
}

void UpdateListModel::SetRowState(UpdateRow& row, UpdateRowState state)
{
    row.state = state;
    if (state == UpdateRowState::Current) {
        row.selected = false;
        row.selectable = false;
    } else if (state == UpdateRowState::Updating) {
        row.selected = false;
    }
}

void UpdateListModel::RefreshButton()
{
    m_buttonEnabled = std::any_of(m_rows.begin(), m_rows.end(), [](const UpdateRow& row) { return row.selected; });
    m_buttonVisible = m_buttonEnabled;
}
