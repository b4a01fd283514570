#include <filesystem>

#include "app/KindCommands.h"
#include "kinds/M3uKind.h"
#include "tests/kinds/M3uTestSupport.h"

namespace velmar::test {
namespace {

// The window as Create M3U leaves it for the files Prepare chose.
void PrepareWindow(FakeWindow& window, MainWindowState& state, const CreationInputs& inputs) {
    window.setup = {.rows = inputs.rows, .edit1 = inputs.listName, .edit2 = {}, .comboBox1 = inputs.commentMode,
                    .checkBox1 = false};
    for (const std::string& row : inputs.rows) window.AddRow(row, IconPending);
    state.CreationDirectory = inputs.directory;
    state.JobMode = {GoAction::Create, &M3uKind};
}

TEST_P(M3uTest, CreateCommandKeepsTheCommentModeAndNamesThePlaylistAfterTheFolder) {
    window.dialogAnswers.push_back(std::vector<std::string>{"/rips/Some Album/c.mp3", "/rips/Some Album/a.mp3"});
    window.dialogAnswers.push_back(std::vector<std::string>{"/c.mp3"});
    CreateCommand(window, state, M3uKind);
    EXPECT_EQ(RowNames(window), (std::vector<std::string>{"a.mp3", "c.mp3"}));
    const auto log = window.Log();
    EXPECT_TRUE(Contains(log, "SetText Edit1 Some Album.m3u"));
    EXPECT_TRUE(Contains(log, "SetText Label1 m3u Filename"));
    EXPECT_TRUE(Contains(log, "Enable ComboBox1"));
    EXPECT_TRUE(Contains(log, "Disable CheckBox1"));
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](auto& e) { return e.rfind("SelectComboBox1", 0) == 0; }), 0);
    EXPECT_EQ(state.JobMode, (GoMode{GoAction::Create, &M3uKind}));

    CreateCommand(window, state, M3uKind);
    EXPECT_EQ(window.Log().back(), "SetText Edit1 default.m3u");
}

TEST_P(M3uTest, SelectVerifyLoadsThePlaylistAndChecksOnlySelectedRows) {
    dir.Write("a.mp3", "a");
    dir.Write("b.mp3", "b");
    const std::string playlist = List("#" + Md5Of("a") + "\r\na.mp3\r\n#" + Upper(Md5Of("b")) + "\r\nb.mp3\r\n", "p.m3u");
    window.dialogAnswers.push_back(std::vector<std::string>{playlist});
    SelectVerifyCommand(window, state, M3uKind);
    EXPECT_EQ(state.JobMode, (GoMode{GoAction::SelectVerify, &M3uKind}));
    EXPECT_EQ(state.ListDirectory, dir.path());
    EXPECT_EQ(state.ExpectedDigests, (std::vector<std::string>{Md5Of("a"), Upper(Md5Of("b"))}));
    // The bar's range over the rows is the load's last step.
    const auto loaded = window.Log();
    ASSERT_GE(loaded.size(), 2u);
    EXPECT_EQ(loaded[loaded.size() - 2], "ProgressRange 0..2");
    EXPECT_LT(IndexOf(loaded, "AddRow b.mp3 0"), std::ssize(loaded) - 2);

    SelectVerifyGo(window, state, M3uKind);  // nothing selected
    ASSERT_TRUE(WaitForJobsToEnd());
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconPending, IconPending}));

    window.Select({1});
    SelectVerifyGo(window, state, M3uKind);
    ASSERT_TRUE(WaitForJobsToEnd());
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconPending, IconOk}));
    EXPECT_FALSE(window.Rows()[1].selected);

    dir.Write("b.mp3", "changed");
    window.Select({0, 1});
    SelectVerifyGo(window, state, M3uKind);
    ASSERT_TRUE(WaitForJobsToEnd());
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconOk, IconBad}));
    const auto log = window.Log();
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](auto& e) { return e.rfind("MessageBox", 0) == 0; }), 0);
}

TEST_P(M3uTest, CommandsStartTheirJobsOnAWorkerUnlessBusy) {
    dir.Write("a.mp3", "a");
    state.Busy = 1;
    VerifyCommand(window, state, M3uKind);
    CreateCommand(window, state, M3uKind);
    SelectVerifyCommand(window, state, M3uKind);
    EXPECT_TRUE(window.Log().empty());
    state.Busy = 0;

    Prepare({"a.mp3"});
    PrepareWindow(window, state, inputs);
    CreateGo(window, state, M3uKind);
    ASSERT_TRUE(WaitForJobEndAfter(window, "MessageBox Ok M3U file creation complete!"));
    window.dialogAnswers.push_back(std::vector<std::string>{dir.File("list.m3u")});
    VerifyCommand(window, state, M3uKind);
    ASSERT_TRUE(WaitForJobEndAfter(window, "SetText Label1 OK:1  BAD:0  N/A:0"));
    EXPECT_EQ(state.Busy, 0);
}

}  // namespace
}  // namespace velmar::test
