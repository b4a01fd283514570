#include "jobs/JobFrame.h"
#include "jobs/ProgressMeter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <future>

#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "tests/jobs/TestJobs.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/JobTest.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

using test::Contains;
using test::FakeWindow;
using test::IndexOf;
using test::ListedFile;
using test::ProgramEndCatcher;
using test::ProgramEnded;
using test::TempDir;

class JobFrameTest : public test::JobTest {
protected:
    // good.bin holds what the list expects, bad.bin does not, gone.bin is missing.
    std::vector<ListedFile> ThreeFiles() {
        dir.Write("good.bin", "good");
        dir.Write("bad.bin", "changed");
        return {{"good.bin", "good"}, {"bad.bin", "bad"}, {"gone.bin", "x"}};
    }
};

TEST_F(JobFrameTest, AVerifyJobTalliesRowsAndRenamesOnlyBadFilesOnYes) {
    window.messageAnswers.push_back(MessageAnswer::Yes);
    state.CommandLinePath = dir.File("album.sfv");
    test::RunTestVerify(frame, dir.path(), ThreeFiles());

    auto log = window.Log();
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 5),
              (std::vector<std::string>{"Cursor busy", "SetText Edit1 album.sfv", "SetText Label1 Verifying...",
                                        "Show Label1", "LoadIcons"}));
    EXPECT_TRUE(Contains(log, "SetText Label1 OK:1  BAD:1  N/A:1"));
    EXPECT_LT(IndexOf(log, "SetText Label1 OK:1  BAD:1  N/A:1"), IndexOf(log, "MessageBox YesNo Rename Bad Files?"));
    // The bar follows the walk's files, by their bytes, and ends back at 0.
    auto row1 = IndexOf(log, "SetRowIcon 1 2");
    EXPECT_EQ(log[static_cast<std::size_t>(row1 + 1)], "RepaintList");
    EXPECT_LT(IndexOf(log, "FollowProgress"), IndexOf(log, "SetRowIcon 0 1"));
    EXPECT_EQ(IndexOf(log, "FollowProgress none") + 1, IndexOf(log, "ProgressPosition 0"));
    ASSERT_TRUE(window.followed);
    EXPECT_EQ(window.followed->rowsDone, 3);
    EXPECT_EQ(log.back(), "Cursor default");
    EXPECT_EQ(state.Busy, 0);

    EXPECT_TRUE(PathExists(dir.File("bad.bin.BAD")));
    EXPECT_FALSE(PathExists(dir.File("bad.bin")));
    EXPECT_TRUE(PathExists(dir.File("good.bin")));
    EXPECT_FALSE(PathExists(dir.File("gone.bin.BAD")));
}

TEST_F(JobFrameTest, NoRenamesOnNoAndNoQuestionWithoutBadRows) {
    window.messageAnswers.push_back(MessageAnswer::No);
    test::RunTestVerify(frame, dir.path(), ThreeFiles());
    EXPECT_TRUE(PathExists(dir.File("bad.bin")));

    FakeWindow quiet;
    JobFrame second(quiet, state);
    test::RunTestVerify(second, dir.path(), {{"gone1", ""}, {"gone2", ""}});
    auto log = quiet.Log();
    EXPECT_TRUE(Contains(log, "SetText Label1 OK:0  BAD:0  N/A:2"));
    EXPECT_FALSE(Contains(log, "MessageBox YesNo Rename Bad Files?"));
}

TEST_F(JobFrameTest, ARenameNeverReplacesAndTheNextStillHappens) {
    dir.Write("a.bin", "changed");
    dir.Write("a.bin.BAD", "kept");
    dir.Write("b.bin", "changed");
    const auto failures = RenameBadFiles(dir.path(), {dir.File("a.bin"), dir.File("b.bin")});
    EXPECT_EQ(RenameFailuresMessage(dir.path(), failures),
              "1 bad file was not renamed:\na.bin: a file named a.bin.BAD is there already");
    EXPECT_EQ(test::ReadAll(dir.File("a.bin.BAD")), "kept");
    EXPECT_EQ(test::ReadAll(dir.File("a.bin")), "changed");
    EXPECT_EQ(test::ReadAll(dir.File("b.bin.BAD")), "changed");
}

TEST_F(JobFrameTest, OnlyFilesInsideTheListsFolderAreRenamed) {
    // list/ holds the list; outside.bin sits next to it, linked/ points at
    // the parent from inside the list's folder.
    ::mkdir(dir.File("list").c_str(), 0755);
    ::mkdir(dir.File("list/sub").c_str(), 0755);
    dir.Write("outside.bin", "x");
    dir.Write("list/sub/inside.bin", "x");
    dir.Write("list/sub/after.bin", "x");
    dir.Write("list/sub/" + std::string(252, 'n'), "x");
    ASSERT_EQ(::symlink(dir.path().c_str(), dir.File("list/linked").c_str()), 0);
    const std::string list = dir.File("list");
    const auto failures = RenameBadFiles(
        list, {ListedFilePath(list, "..\\outside.bin"), ListedFilePath(list, "sub\\..\\..\\outside.bin"),
               ListedFilePath(list, "linked\\outside.bin"), ListedFilePath(list, "sub\\inside.bin"),
               ListedFilePath(list, "sub\\.."), dir.File("outside.bin"), ListedFilePath(list, "sub/after.bin"),
               ListedFilePath(list, "sub/" + std::string(252, 'n'))});
    ASSERT_EQ(failures.size(), 6u) << "each file left under its name is told";
    EXPECT_EQ(failures[0].reason, "it lies outside the list's folder");
    EXPECT_EQ(failures[5].reason, "its name is too long to take \".BAD\"");
    EXPECT_TRUE(PathExists(dir.File("outside.bin")));
    EXPECT_FALSE(PathExists(dir.File("outside.bin.BAD")));
    EXPECT_TRUE(PathExists(dir.File("list/sub/inside.bin.BAD")));
    EXPECT_TRUE(PathExists(dir.File("list/sub/after.bin.BAD"))) << "the rows after a skipped one are still renamed";
    EXPECT_TRUE(PathExists(dir.File("list/sub")));

    // A name that looks absolute still lies below the list's folder.
    ::mkdir(dir.File("list/etc").c_str(), 0755);
    dir.Write("list/etc/x.bin", "x");
    RenameBadFiles(list, {ListedFilePath(list, "/etc/x.bin")});
    EXPECT_TRUE(PathExists(dir.File("list/etc/x.bin.BAD")));
}

TEST_F(JobFrameTest, AQuitRequestEndsTheProgramAtTheNextRowWithNothingMoreShown) {
    auto list = ThreeFiles();
    EXPECT_THROW(test::RunTestVerify(frame, dir.path(), list,
                                     [&](int row) {
                                         if (row == 0) state.QuitRequested = 1;
                                     }),
                 ProgramEnded);
    auto log = window.Log();
    EXPECT_TRUE(Contains(log, "SetRowIcon 0 1"));
    EXPECT_FALSE(Contains(log, "SetRowIcon 1 2"));
    EXPECT_FALSE(Contains(log, "SetText Label1 OK:1  BAD:0  N/A:0"));
    EXPECT_TRUE(PathExists(dir.File("bad.bin")));
}

TEST_F(JobFrameTest, AFatalErrorShowsItsMessageClosesTheListAndEnds) {
    bool closed = false;
    frame.HoldList([&] { closed = true; });
    EXPECT_THROW(frame.Fatal("Bad SFV File.. Exiting"), ProgramEnded);
    EXPECT_TRUE(closed);
    EXPECT_EQ(window.Log(), std::vector<std::string>{"MessageBox Ok Bad SFV File.. Exiting"});
    EXPECT_STREQ(FatalMessage(FatalError::ErrorWritingToFile), "Error writing to file");
    EXPECT_STREQ(FatalMessage(FatalError::ErrorReadingFile), "Error Reading File.. Exiting");
}

TEST_F(JobFrameTest, ACancelledMenuDialogLeavesTheWindowDisabledAndIdle) {
    window.dialogAnswers.push_back(std::nullopt);
    EXPECT_FALSE(frame.StartMenuVerify({"Open SFV File", "SFV files (*.sfv)|*.sfv", 1, false}));
    EXPECT_EQ(state.Busy, 0);
    EXPECT_EQ(window.Log(),
              (std::vector<std::string>{"Edit1ReadOnly yes ButtonFace", "Hide Edit2", "Disable CheckBox1",
                                        "Disable ComboBox1", "Disable Button1", "ClearRows",
                                        "OpenFileDialog Open SFV File"}));

    window.dialogAnswers.push_back(std::vector<std::string>{"/music/album/album.sfv"});
    EXPECT_EQ(frame.StartMenuVerify({"Open SFV File", "", 1, false}), "/music/album/album.sfv");
    EXPECT_EQ(state.Busy, 1);
    EXPECT_TRUE(Contains(window.Log(), "SetText Edit1 album.sfv"));
}

TEST_F(JobFrameTest, ACreationJobEndsWithTheWindowAtRest) {
    bool closed = false;
    window.AddRow("a.bin", IconPending);
    window.AddRow("b.bin", IconPending);
    frame.StartCreation(2);
    frame.HoldList([&] { closed = true; });
    frame.RowDone(0, IconOk);
    frame.RowDone(1, IconOk);
    frame.EndRowWalk();
    frame.EndCreation("SFV file creation complete!");
    EXPECT_TRUE(closed);
    auto log = window.Log();
    auto message = IndexOf(log, "MessageBox Ok SFV file creation complete!");
    EXPECT_EQ(std::vector<std::string>(log.begin() + message, log.end()),
              (std::vector<std::string>{"MessageBox Ok SFV file creation complete!", "Edit1ReadOnly yes ButtonFace",
                                        "SetText Edit1 ", "Enable Edit1", "ClearRows", "SetText Label1 Velmar",
                                        "SelectComboBox1 2", "SetText Edit2 ", "Hide Edit2", "Cursor default"}));
    EXPECT_FALSE(Contains(log, "Enable Button1")) << "go! stays disabled after a creation";
    EXPECT_EQ(state.Busy, 0);
}

TEST_F(JobFrameTest, SelectVerifyChecksOnlySelectedRows) {
    for (const char* name : {"a", "b", "c"}) window.AddRow(name, IconPending);
    window.Select({0, 2});
    std::vector<int> checked;
    SelectVerifyPass(window, state, [&](int row) {
        checked.push_back(row);
        EXPECT_EQ(state.Busy, 1);
        return row == 0 ? IconOk : IconBad;
    });
    EXPECT_EQ(checked, (std::vector<int>{0, 2}));
    auto rows = window.Rows();
    EXPECT_EQ(rows[0].icon, IconOk);
    EXPECT_EQ(rows[1].icon, IconPending);
    EXPECT_EQ(rows[2].icon, IconBad);
    EXPECT_FALSE(rows[0].selected || rows[2].selected);
    EXPECT_EQ(state.Busy, 0);

    // A stop during a row's check: that row keeps its mark, the rest are
    // not checked, and the window is free again.
    window.Select({0, 1, 2});
    checked.clear();
    SelectVerifyPass(window, state, [&](int row) {
        checked.push_back(row);
        state.StopRequested = 1;
        return IconNA;
    });
    EXPECT_EQ(checked, std::vector<int>{0});
    EXPECT_EQ(window.Rows()[0].icon, IconOk);
    EXPECT_TRUE(window.Rows()[2].selected);
    EXPECT_EQ(state.Busy, 0);
    EXPECT_EQ(state.StopRequested, 0);

    FakeWindow empty;
    SelectVerifyPass(empty, state, [](int) { return IconOk; });
    EXPECT_EQ(empty.Log(), (std::vector<std::string>{"RepaintWindow", "SelectedRows", "Cursor default"}));
}

TEST_F(JobFrameTest, AJobOnAWorkerThreadDrivesTheWindow) {
    auto list = ThreeFiles();
    window.messageAnswers.push_back(MessageAnswer::No);
    std::promise<void> done;
    WorkerThread::Launch<test::TestVerifyJob>(window, state, dir.path(), list, [&] { done.set_value(); });
    ASSERT_EQ(done.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
    auto rows = window.Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].icon, IconOk);
    EXPECT_EQ(rows[1].icon, IconBad);
    EXPECT_EQ(rows[2].icon, IconNA);
    EXPECT_EQ(state.Busy, 0);
}

// The bar of a scripted job, read at the times a window would read it.
TEST(ProgressMeterTest, TheBarFollowsBytesAndShowsSmoothedSpeedAndTimeLeft) {
    struct Step {
        double seconds;
        std::uint64_t bytes;
        int rows;
        bool totalKnown;
        std::string text;
        int position;
    };
    // One 400 MB file and one empty file; each file also counts 64 KiB of work.
    const std::uint64_t total = 400000000;
    const std::vector<Step> steps = {
        {0.0, 0, 0, false, "0%", 0},
        // Until the sizes are known, the rows done.
        {0.1, 0, 1, false, "50%", 500},
        // Under a second of data: the percentage alone; the bar never goes back.
        {0.5, 50000000, 1, true, "50%", 500},
        {2.0, 200000000, 1, true, "50%  100 MB/s  0:02 left", 500},
        // The rates are taken from the last reading at least five seconds old.
        {7.0, 300000000, 1, true, "74%  20 MB/s  0:05 left", 749},
        // A job that has all but halted shows no time left.
        {12.0, 300000100, 1, true, "74%  0.0 MB/s", 749},
        // A file that grew while read takes the work past its total.
        {13.0, 500000000, 2, true, "100%  33 MB/s  0:00 left", 1000},
    };
    JobProgress progress(2);
    progress.bytesTotal = total;
    ProgressMeter meter;
    for (const Step& step : steps) {
        progress.bytesDone = step.bytes;
        progress.rowsDone = step.rows;
        progress.totalKnown = step.totalKnown;
        const ProgressReading reading = meter.Read(step.seconds, progress);
        EXPECT_EQ(reading.text, step.text) << step.seconds;
        EXPECT_EQ(reading.position, step.position) << step.seconds;
    }

    // The total of a job's files: a missing one counts nothing.
    TempDir dir;
    const std::vector<std::string> paths = {dir.Write("a", "four"), dir.File("missing"), dir.Write("b", "six...")};
    JobProgress sized(3);
    FileSizeSum sum(sized, 3, [&](int row) { return RegularFileSize(paths[static_cast<std::size_t>(row)]).value_or(0); });
    for (int i = 0; i < 1000 && !sized.totalKnown; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(sized.totalKnown);
    EXPECT_EQ(sized.bytesTotal, 10u);
}

}  // namespace
}  // namespace velmar
