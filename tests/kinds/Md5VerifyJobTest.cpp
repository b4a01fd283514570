#include <filesystem>
#include <string>
#include <vector>

#include "app/KindCommands.h"
#include "kinds/SumToolKinds.h"
#include "lists/VerifyJob.h"
#include "platform/Files.h"
#include "platform/ReadBuffer.h"
#include "tests/kinds/Md5TestSupport.h"
#include "tests/support/ReadSeam.h"

namespace velmar::test {
namespace {

class Md5VerifyJobTest : public Md5Test {
protected:
    JobResult Verify(const std::string& list) {
        return frame.Run([&] { VerifyList(frame, Md5Kind, list, ReadPurpose::MenuVerify); });
    }
    // Verify as the menu runs it: the list chosen in its dialog, the job on
    // its worker, waited for.
    void VerifyFromMenu(const std::string& list) {
        window.dialogAnswers.push_back(std::vector<std::string>{list});
        VerifyCommand(window, state, Md5Kind);
        ASSERT_TRUE(WaitForJobsToEnd());
    }
};
VELMAR_AT_EACH_READING_POLICY(Md5VerifyJobTest);

TEST_P(Md5VerifyJobTest, ChangedAndDeletedFilesAreToldApartAndOnlyTheChangedOneRenamed) {
    dir.Write("good.bin", "good");
    dir.Write("bad.bin", "changed");
    window.messageAnswers.push_back(MessageAnswer::Yes);
    VerifyFromMenu(List(Line("good", "good.bin") + Line("bad", "bad.bin") + Line("gone", "gone.bin")));

    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconOk, IconBad, IconNA}));
    const auto log = window.Log();
    EXPECT_EQ(log.front(), "Edit1ReadOnly yes ButtonFace");
    EXPECT_TRUE(Contains(log, "OpenFileDialog Verify MD5: Select MD5 File to Verify"));
    EXPECT_TRUE(Contains(log, "SetText Edit1 md5sum"));
    EXPECT_LT(IndexOf(log, "SetText Label1 OK:1  BAD:1  N/A:1"), IndexOf(log, "MessageBox YesNo Rename Bad Files?"));
    EXPECT_TRUE(Contains(log, "SetRowRenamed 1 " + dir.File("bad.bin.BAD")));
    EXPECT_TRUE(PathExists(dir.File("bad.bin.BAD")));
    EXPECT_FALSE(PathExists(dir.File("bad.bin")));
    EXPECT_TRUE(PathExists(dir.File("good.bin")));
    EXPECT_FALSE(PathExists(dir.File("gone.bin.BAD")));
    EXPECT_EQ(state.Busy, 0);
    EXPECT_EQ(log.back(), "Cursor default");
}

// A whole path another system wrote is looked for below the list's folder
// only: "/tmp/.../abs.bin" finds the abs.bin beside the list.
TEST_P(Md5VerifyJobTest, NamesResolveBelowTheListAndAWholePathOnlyThere) {
    std::filesystem::create_directory(dir.File("sub"));
    dir.Write("sub/file.bin", "deep");
    dir.Write("twice.bin", "same");
    dir.Write("abs.bin", "abs");
    Verify(List(Line("deep", "sub\\file.bin") + Upper(Md5Of("same")) + " *twice.bin\r\n" +
                Line("same", "twice.bin") + Line("", "C:\\x\\y.bin") + Line("abs", dir.File("abs.bin"))));
    EXPECT_EQ(RowIcons(sink), (std::vector<StatusIcon>{IconOk, IconOk, IconOk, IconNA, IconOk}));
    EXPECT_TRUE(Contains(sink.Log(), "Summary OK:4  BAD:0  N/A:1"));
    EXPECT_FALSE(Contains(sink.Log(), "Ask Rename Bad Files?"));
}

TEST_P(Md5VerifyJobTest, RenamingNeverReplacesAndNoLeavesEveryFileInPlace) {
    dir.Write("bad.bin", "changed");
    dir.Write("bad.bin.BAD", "older");
    const std::string list = List(Line("bad", "bad.bin"));
    sink.answers = {true};
    Verify(list);
    EXPECT_EQ(ReadAll(dir.File("bad.bin")), "changed");
    EXPECT_EQ(ReadAll(dir.File("bad.bin.BAD")), "older");

    std::filesystem::remove(dir.File("bad.bin.BAD"));
    RecordingSink second;
    JobFrame again(second, control);
    second.answers = {false};
    again.Run([&] { VerifyList(again, Md5Kind, list, ReadPurpose::MenuVerify); });
    EXPECT_TRUE(PathExists(dir.File("bad.bin")));
    EXPECT_EQ(RowIcons(second), std::vector<StatusIcon>{IconBad});
}

TEST_P(Md5VerifyJobTest, ACancelledDialogLeavesTheWindowEmptyAndIdle) {
    window.dialogAnswers.push_back(std::nullopt);
    VerifyCommand(window, state, Md5Kind);
    EXPECT_EQ(state.Busy, 0);
    EXPECT_TRUE(window.Rows().empty());
    EXPECT_TRUE(Contains(window.Log(), "Disable Button1"));
    EXPECT_FALSE(Contains(window.Log(), "Cursor busy"));
}

TEST_P(Md5VerifyJobTest, AListedFileThatFailsWhileReadFailsTheJob) {
    // Three full reads long: the list's text (and where the file system
    // needs it, the read of its end), then the file fails part way.
    dir.Write("x.bin", std::string(3 * ReadBuffer::DefaultSize, 'x'));
    const std::string list = List(Line("x", "x.bin"));
    ReadSeam failing(2);
    const JobResult result = Verify(list);
    EXPECT_EQ(result.end, JobEnd::Failed);
    EXPECT_EQ(result.failure, JobFailure::FileUnreadable);
    EXPECT_EQ(result.message, "Error Reading File.. Exiting");
}

TEST_P(Md5VerifyJobTest, TheCommandDoesNothingWhileAJobRuns) {
    const GoMode creating{GoAction::Create, &Md5Kind};
    state.Busy = 1;
    state.JobMode = creating;
    VerifyCommand(window, state, Md5Kind);
    EXPECT_TRUE(window.Log().empty());
    EXPECT_EQ(state.JobMode, creating);
}

}  // namespace
}  // namespace velmar::test
