#include <filesystem>
#include <string>
#include <vector>

#include "app/KindCommands.h"
#include "kinds/SumToolKinds.h"
#include "tests/kinds/Md5TestSupport.h"

namespace velmar::test {
namespace {

class Md5SelectVerifyTest : public Md5Test {
protected:
    void Load(const std::string& list) {
        window.dialogAnswers.push_back(std::vector<std::string>{list});
        SelectVerifyCommand(window, state, Md5Kind);
    }
};
VELMAR_AT_EACH_READING_POLICY(Md5SelectVerifyTest);

TEST_P(Md5SelectVerifyTest, OnlyTheChosenRowsAreCheckedAsOftenAsGoIsPressed) {
    for (const char* name : {"0", "1", "2", "3", "4"}) dir.Write(name, name);
    Load(List(Line("0", "0") + Upper(Md5Of("1")) + "  1\r\n" + Line("2", "2") + Line("3", "3") + Line("4", "4")));
    EXPECT_EQ(state.JobMode, (GoMode{GoAction::SelectVerify, &Md5Kind}));
    EXPECT_EQ(state.ExpectedDigests.size(), 5u);
    EXPECT_EQ(state.ListDirectory, dir.path());
    EXPECT_EQ(RowIcons(window), std::vector<StatusIcon>(5, IconPending));

    window.Select({1, 3});
    SelectVerifyGo(window, state, Md5Kind);
    ASSERT_TRUE(WaitForJobsToEnd());
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconPending, IconOk, IconPending, IconOk, IconPending}));
    for (const auto& row : window.Rows()) EXPECT_FALSE(row.selected);

    // Nothing selected: nothing changes. Then a changed and a deleted file.
    SelectVerifyGo(window, state, Md5Kind);
    ASSERT_TRUE(WaitForJobsToEnd());
    EXPECT_EQ(RowIcons(window)[1], IconOk);
    dir.Write("1", "changed");
    std::filesystem::remove(dir.File("4"));
    window.Select({1, 4});
    SelectVerifyGo(window, state, Md5Kind);
    ASSERT_TRUE(WaitForJobsToEnd());
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconPending, IconBad, IconPending, IconOk, IconNA}));
    EXPECT_FALSE(Contains(window.Log(), "MessageBox YesNo Rename Bad Files?"));
    EXPECT_TRUE(Contains(window.Log(), "SetText Label1 Verifying..."));
    EXPECT_FALSE(Contains(window.Log(), "ProgressRange 0..5"));
    EXPECT_EQ(state.Busy, 0);
}

TEST_P(Md5SelectVerifyTest, ANewListReplacesTheDigestsOfTheOldOne) {
    dir.Write("a", "a");
    Load(List(Line("x", "x") + Line("y", "y"), "first.md5"));
    Load(List(Line("a", "a"), "second.md5"));
    EXPECT_EQ(state.ExpectedDigests, std::vector<std::string>{Md5Of("a")});
    window.Select({0});
    SelectVerifyGo(window, state, Md5Kind);
    ASSERT_TRUE(WaitForJobsToEnd());
    EXPECT_EQ(RowIcons(window), std::vector<StatusIcon>{IconOk});
}

TEST_P(Md5SelectVerifyTest, ACancelledDialogLeavesGoEnabledOverAnEmptyList) {
    window.dialogAnswers.push_back(std::nullopt);
    SelectVerifyCommand(window, state, Md5Kind);
    EXPECT_TRUE(Contains(window.Log(), "Enable Button1"));
    EXPECT_TRUE(window.Rows().empty());
    SelectVerifyGo(window, state, Md5Kind);
    ASSERT_TRUE(WaitForJobsToEnd());
    EXPECT_EQ(state.Busy, 0);
}

TEST_P(Md5SelectVerifyTest, AListWithoutEntriesEndsTheProgramOnLoad) {
    EXPECT_THROW(Load(List("; nothing here\r\n")), ProgramEnded);
    EXPECT_TRUE(ShowedFatal(Md5Kind.listUnusableMessage));
}

}  // namespace
}  // namespace velmar::test
