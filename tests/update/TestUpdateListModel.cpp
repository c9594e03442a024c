#include "update/UpdateItemBuilder.h"
#include "update/UpdateListModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using S = UpdateRowState;

UpdateInfo Newer(const char* serverText)
{
    UpdateInfo info;
    info.status = UpdateInfo::kNewerAvailable;
    info.currentVersionText = "V0105";
    info.serverVersionText = serverText;
    info.downloadPath = "http://h/file";
    return info;
}

// Three rows (MS, T62, AP) after a check in which the given rows had news.
UpdateListModel CheckedModel(const std::vector<size_t>& newer)
{
    const auto items = ItemsToQuery(BuildUpdateItems({{0x320F, 0x221C, 0x0105}, {0x320F, 0x1004, 0x0101}}, 1005));
    UpdateListModel model;
    model.Begin(items);
    for (size_t row : newer)
        model.SetResult(row, Newer(row == 2 ? "1.0.0.6" : "V0106"));
    model.Finish(0);
    return model;
}

std::vector<S> States(const UpdateListModel& model)
{
    std::vector<S> states;
    for (const auto& row : model.Rows())
        states.push_back(row.state);
    return states;
}

TEST(UpdateListModel, BeginListsEveryItemAsUpToDate)
{
    const auto items = ItemsToQuery(BuildUpdateItems({{0x320F, 0x221C, 0x0105}}, 1005));
    UpdateListModel model;
    model.Begin(items);
    EXPECT_EQ(model.State(), UpdateState::Checking);
    ASSERT_EQ(model.Rows().size(), 2u);
    EXPECT_EQ(model.Rows()[0].name, "MS");
    EXPECT_EQ(model.Rows()[0].currentVersionText, "V0105");
    EXPECT_EQ(model.Rows()[1].name, "AP");
    EXPECT_EQ(model.Rows()[1].currentVersionText, "V1005");
    for (const auto& row : model.Rows()) {
        EXPECT_EQ(row.state, S::UpdateOk);
        EXPECT_EQ(row.serverVersionText, "");
        EXPECT_FALSE(row.selectable);
    }
}

TEST(UpdateListModel, FinishGivesTheOverallState)
{
    struct Case {
        const char* what;
        std::vector<size_t> newer;
        size_t failures;
        UpdateState state;
    };
    const Case cases[] = {
        {"every query failed", {}, 3, UpdateState::NoInfo},
        {"some failed, none newer", {}, 1, UpdateState::UpToDate},
        {"all answered, none newer", {}, 0, UpdateState::UpToDate},
        {"one newer", {1}, 2, UpdateState::HaveUpdates},
    };
    const auto items = ItemsToQuery(BuildUpdateItems({{0x320F, 0x221C, 0x0105}, {0x320F, 0x1004, 0x0101}}, 1005));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UpdateListModel model;
        model.Begin(items);
        for (size_t row : c.newer)
            model.SetResult(row, Newer("V0106"));
        model.Finish(c.failures);
        EXPECT_EQ(model.State(), c.state);
        for (size_t i = 0; i < model.Rows().size(); ++i) {
            const bool isNewer = std::find(c.newer.begin(), c.newer.end(), i) != c.newer.end();
            EXPECT_EQ(model.Rows()[i].selectable, isNewer) << i;
            EXPECT_EQ(model.Rows()[i].selected, isNewer) << i;
            EXPECT_EQ(model.Rows()[i].serverVersionText, isNewer ? "V0106" : "") << i;
        }
        EXPECT_EQ(model.UpdateButtonEnabled(), !c.newer.empty());
    }
}

TEST(UpdateListModel, ChoicesQueueTheSelectedRowsAndLockTheOthers)
{
    UpdateListModel model = CheckedModel({0, 1, 2});
    model.SetRowSelected(1, false);
    EXPECT_TRUE(model.UpdateButtonEnabled());
    model.OpenUpdatePage();
    EXPECT_EQ(model.Page(), 1);
    model.ConfirmUpdate();
    EXPECT_EQ(States(model), (std::vector<S>{S::DownloadWait, S::NeedUpdate, S::DownloadWait}));
    EXPECT_FALSE(model.Rows()[1].selectable);
    EXPECT_FALSE(model.UpdateButtonEnabled());
    EXPECT_EQ(model.Page(), 0);
    EXPECT_EQ(model.State(), UpdateState::Updating);

    // Clearing every row disables the button; a locked row cannot be ticked.
    UpdateListModel other = CheckedModel({0});
    other.SetRowSelected(0, false);
    EXPECT_FALSE(other.UpdateButtonEnabled());
    other.SetRowSelected(1, true);
    EXPECT_FALSE(other.Rows()[1].selected);
}

TEST(UpdateListModel, InstallerReportsWalkThroughTheQueuedRows)
{
    UpdateListModel model = CheckedModel({0, 2});
    model.ConfirmUpdate();
    ASSERT_EQ(model.CurrentRow(), 0u);

    model.OnInstallerReport(4, 42);
    EXPECT_EQ(model.Rows()[0].progressText, "42%");

    model.OnInstallerReport(1, 0);
    EXPECT_EQ(model.Rows()[0].state, S::UpdateOk);
    EXPECT_EQ(model.Rows()[0].currentVersionText, "V0106");
    EXPECT_EQ(model.Rows()[0].serverVersionText, "");
    EXPECT_FALSE(model.Rows()[0].selected);
    EXPECT_EQ(model.State(), UpdateState::Updating);  // the program row is still selected and pending
    ASSERT_EQ(model.CurrentRow(), 2u);

    model.OnInstallerReport(1, 0);
    EXPECT_EQ(States(model), (std::vector<S>{S::UpdateOk, S::UpdateOk, S::UpdateOk}));
    EXPECT_EQ(model.State(), UpdateState::UpToDate);
    EXPECT_FALSE(model.CurrentRow().has_value());
    model.OnInstallerReport(3, 0);  // nothing left to fail
    EXPECT_EQ(States(model), (std::vector<S>{S::UpdateOk, S::UpdateOk, S::UpdateOk}));
}

TEST(UpdateListModel, FinishedInstallReopensTheRowsLeftOver)
{
    UpdateListModel model = CheckedModel({0, 2});
    model.SetRowSelected(2, false);
    model.ConfirmUpdate();
    EXPECT_FALSE(model.Rows()[2].selectable);
    model.OnInstallerReport(1, 0);
    EXPECT_TRUE(model.Rows()[2].selectable);
    EXPECT_EQ(model.State(), UpdateState::HaveUpdates);
}

TEST(UpdateListModel, FailedInstallMarksTheRow)
{
    for (uint32_t wParam : {2u, 3u}) {
        SCOPED_TRACE(wParam);
        UpdateListModel model = CheckedModel({0});
        model.ConfirmUpdate();
        model.OnInstallerReport(wParam, 0);
        EXPECT_EQ(model.Rows()[0].state, S::UpdateFail);
        EXPECT_STREQ(UpdateListModel::RowStateTextKey(model.Rows()[0].state), "UpdateFailText");
        EXPECT_TRUE(model.CanClose());
    }
}

TEST(UpdateListModel, ClosingIsRefusedWhileARowIsBusy)
{
    struct Case {
        S state;
        bool canClose;
    };
    const Case cases[] = {
        {S::Current, false}, {S::NeedUpdate, true}, {S::NeedUpdate2, true}, {S::DownloadWait, false},
        {S::Downloading, false}, {S::DownloadOk, false}, {S::Updating, false}, {S::UpdateOk, true}, {S::UpdateFail, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.state));
        UpdateListModel model = CheckedModel({});
        UpdateInfo info;
        info.status = static_cast<uint32_t>(c.state);
        model.SetResult(1, info);
        EXPECT_EQ(model.CanClose(), c.canClose);
    }
    EXPECT_TRUE(UpdateListModel().CanClose());
}

} // namespace
