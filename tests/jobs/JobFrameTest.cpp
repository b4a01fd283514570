#include "jobs/JobFrame.h"
#include "jobs/ProgressMeter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <future>
#include <numeric>

#include <gtest/gtest.h>

#include "app/Commands.h"
#include "app/WindowJob.h"
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
using test::RecordingSink;
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
    sink.answers.push_back(true);
    const JobResult result = frame.Run([&] { test::RunTestVerify(frame, dir.path(), ThreeFiles()); });

    auto log = sink.Log();
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 3),
              (std::vector<std::string>{"RowAdded good.bin", "RowAdded bad.bin", "RowAdded gone.bin"}));
    EXPECT_LT(IndexOf(log, "Summary OK:1  BAD:1  N/A:1"), IndexOf(log, "Ask Rename Bad Files?"));
    // The progress follows the walk's files, by their bytes, and ends.
    EXPECT_LT(IndexOf(log, "Progress"), IndexOf(log, "RowMarked 0 1"));
    EXPECT_LT(IndexOf(log, "RowMarked 2 3"), IndexOf(log, "Progress none"));
    ASSERT_TRUE(sink.followed);
    EXPECT_EQ(sink.followed->rowsDone, 3);
    // The renamed row tells where its file is now.
    EXPECT_EQ(log.back(), "RowRenamed 1 " + dir.File("bad.bin.BAD"));
    EXPECT_EQ(sink.Rows()[1].details.path, dir.File("bad.bin.BAD"));
    EXPECT_EQ(result.end, JobEnd::Completed);
    EXPECT_EQ(result.rows, 3);
    EXPECT_EQ(result.tallies.BadCount, 1);

    EXPECT_TRUE(PathExists(dir.File("bad.bin.BAD")));
    EXPECT_FALSE(PathExists(dir.File("bad.bin")));
    EXPECT_TRUE(PathExists(dir.File("good.bin")));
    EXPECT_FALSE(PathExists(dir.File("gone.bin.BAD")));
}

TEST_F(JobFrameTest, NoRenamesOnNoAndNoQuestionWithoutBadRows) {
    sink.answers.push_back(false);
    test::RunTestVerify(frame, dir.path(), ThreeFiles());
    EXPECT_TRUE(PathExists(dir.File("bad.bin")));

    RecordingSink quiet;
    JobFrame second(quiet, control);
    test::RunTestVerify(second, dir.path(), {{"gone1", ""}, {"gone2", ""}});
    auto log = quiet.Log();
    EXPECT_TRUE(Contains(log, "Summary OK:0  BAD:0  N/A:2"));
    EXPECT_FALSE(Contains(log, "Ask Rename Bad Files?"));
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

TEST_F(JobFrameTest, AQuitOrAFailureEndsTheJobWithAResultAndLetsGoOfWhatItHolds) {
    auto list = ThreeFiles();
    const JobResult quit = frame.Run([&] {
        test::RunTestVerify(frame, dir.path(), list, [&](int row) {
            if (row == 0) control.QuitRequested = 1;
        });
    });
    EXPECT_EQ(quit.end, JobEnd::Quit);
    auto log = sink.Log();
    EXPECT_TRUE(Contains(log, "RowMarked 0 1"));
    EXPECT_FALSE(Contains(log, "RowMarked 1 2"));
    EXPECT_FALSE(Contains(log, "Summary OK:1  BAD:0  N/A:0"));
    EXPECT_EQ(log.back(), "Progress none") << "the progress is given back";
    EXPECT_TRUE(PathExists(dir.File("bad.bin")));

    RecordingSink quiet;
    JobControl idle;
    JobFrame failing(quiet, idle);
    bool closed = false;
    const JobResult failed = failing.Run([&] {
        failing.HoldList([&] { closed = true; });
        failing.Fatal(JobFailure::ListUnusable, "Bad SFV File.. Exiting");
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(failed.end, JobEnd::Failed);
    EXPECT_EQ(failed.failure, JobFailure::ListUnusable);
    EXPECT_EQ(failed.message, "Bad SFV File.. Exiting");
    EXPECT_TRUE(quiet.Log().empty()) << "a job shows nothing of its failure itself";
    EXPECT_STREQ(FatalMessage(FatalError::ErrorWritingToFile), "Error writing to file");
    EXPECT_STREQ(FatalMessage(FatalError::ErrorReadingFile), "Error Reading File.. Exiting");
}

// The window's side of a job: a failure's message, then the end of the
// program; the command line goes on instead (tests/cli).
TEST_F(JobFrameTest, TheWindowShowsAFailureAndEndsTheProgramOnceTheJobLetGo) {
    FakeWindow window;
    MainWindowState state;
    ProgramEndCatcher catcher;
    bool closed = false;
    state.Busy = 1;
    EXPECT_THROW(RunWindowJob(window, state,
                              [&](JobFrame& job) {
                                  job.HoldList([&] { closed = true; });
                                  job.Fatal(FatalError::ErrorReadingFile);
                              }),
                 ProgramEnded);
    EXPECT_TRUE(closed);
    EXPECT_EQ(window.Log(), std::vector<std::string>{"MessageBox Ok Error Reading File.. Exiting"});
}

TEST_F(JobFrameTest, ACancelledMenuDialogLeavesTheWindowDisabledAndIdle) {
    FakeWindow window;
    MainWindowState state;
    window.dialogAnswers.push_back(std::nullopt);
    EXPECT_FALSE(RunMenuVerifyCommand(window, state, {"Open SFV File", "SFV files (*.sfv)|*.sfv", 1, false}));
    EXPECT_EQ(state.Busy, 0);
    EXPECT_EQ(window.Log(),
              (std::vector<std::string>{"Edit1ReadOnly yes ButtonFace", "Hide Edit2", "Disable CheckBox1",
                                        "Disable ComboBox1", "Disable Button1", "ClearRows",
                                        "OpenFileDialog Open SFV File"}));

    window.dialogAnswers.push_back(std::vector<std::string>{"/music/album/album.sfv"});
    EXPECT_EQ(RunMenuVerifyCommand(window, state, {"Open SFV File", "", 1, false}), "/music/album/album.sfv");
    EXPECT_EQ(state.Busy, 1);
    const auto log = window.Log();
    EXPECT_EQ(std::vector<std::string>(log.end() - 5, log.end()),
              (std::vector<std::string>{"Cursor busy", "SetText Label1 Verifying...", "Show Label1",
                                        "SetText Edit1 album.sfv", "LoadIcons"}));
}

TEST_F(JobFrameTest, ACreationEndsWithTheWindowAtRest) {
    FakeWindow window;
    MainWindowState state;
    window.AddRow("a.bin", IconPending);
    window.AddRow("b.bin", IconPending);
    state.Busy = 1;
    RunWindowJob(
        window, state,
        [](JobFrame& job) {
            job.SetRowCount(2);
            job.RowDone(0, IconOk);
            job.RowDone(1, IconOk);
        },
        {.ending = [&](const JobResult& result) { EndCreationInWindow(window, result, "SFV file creation complete!"); }});
    auto log = window.Log();
    auto message = IndexOf(log, "MessageBox Ok SFV file creation complete!");
    EXPECT_EQ(std::vector<std::string>(log.begin() + message, log.end()),
              (std::vector<std::string>{"MessageBox Ok SFV file creation complete!", "Edit1ReadOnly yes ButtonFace",
                                        "SetText Edit1 ", "Enable Edit1", "ClearRows", "SetText Label1 Velmar",
                                        "SelectComboBox1 2", "SetText Edit2 ", "Hide Edit2", "Cursor default"}));
    EXPECT_FALSE(Contains(log, "Enable Button1")) << "go! stays disabled after a creation";
    EXPECT_EQ(state.Busy, 0);
}

// The walk hands every row's digest on in row order, a missing file's too,
// and ends where a stop finds it: the rows after it are not handed on.
TEST_F(JobFrameTest, AWalkHandsEachRowOnInOrderUntilAStop) {
    const std::vector<std::string> paths = {dir.Write("a", "a"), dir.File("missing"), dir.Write("c", "c")};
    const RowFiles files{.algorithm = DigestAlgorithm::Crc32, .folder = dir.path(),
                         .pathOf = [&](int row) { return paths[static_cast<std::size_t>(row)]; }};
    for (const int stopAt : {-1, 0}) {
        std::vector<std::pair<int, FileDigestStatus>> handed;
        JobControl own;
        JobFrame walk(sink, own);
        int walked = 0;
        const JobResult result = walk.Run([&] {
            walked = walk.WalkRowFiles(3, files, [&](int row, const FileDigest& digest) {
                handed.emplace_back(row, digest.status);
                if (row == stopAt) own.StopRequested = 1;
            });
        });
        const std::vector<std::pair<int, FileDigestStatus>> all = {
            {0, FileDigestStatus::Ok}, {1, FileDigestStatus::OpenFailed}, {2, FileDigestStatus::Ok}};
        EXPECT_EQ(handed, stopAt < 0 ? all : decltype(all){all[0]}) << stopAt;
        EXPECT_EQ(walked, stopAt < 0 ? 3 : 1);
        EXPECT_EQ(result.end, stopAt < 0 ? JobEnd::Completed : JobEnd::Stopped);
    }
}

TEST_F(JobFrameTest, AJobOnAWorkerThreadDrivesTheWindow) {
    // However many rows a batch holds, the window is told the same in the
    // same order: every row before the summary and the question, none lost
    // at a batch's end.
    std::vector<std::string> unbatched;
    for (const std::size_t rowsPerBatch : {1, 2, 1000}) {
        SCOPED_TRACE(rowsPerBatch);
        TempDir here;
        here.Write("good.bin", "good");
        here.Write("bad.bin", "changed");
        const std::vector<ListedFile> list = {{"good.bin", "good"}, {"bad.bin", "bad"}, {"gone.bin", "x"}};
        FakeWindow window;
        window.rowsPerBatch = rowsPerBatch;
        MainWindowState state;
        window.messageAnswers.push_back(MessageAnswer::No);
        StartWindowJob(window, state, [&](JobFrame& job) { test::RunTestVerify(job, here.path(), list); });
        ASSERT_TRUE(test::WaitForJobEndAfter(window, "Cursor default"));
        EXPECT_EQ(test::RowIcons(window), (std::vector<StatusIcon>{IconOk, IconBad, IconNA}));
        EXPECT_EQ(state.Busy, 0);
        // The log names the folder of each run; the rest must match.
        std::vector<std::string> log = window.Log();
        for (std::string& entry : log)
            if (const auto at = entry.find(here.path()); at != std::string::npos) entry.replace(at, here.path().size(), "DIR");
        if (rowsPerBatch == 1) unbatched = log;
        EXPECT_EQ(log, unbatched);
        EXPECT_EQ(std::accumulate(window.batches.begin(), window.batches.end(), std::size_t{0}), 6u);
        EXPECT_LE(*std::max_element(window.batches.begin(), window.batches.end()), rowsPerBatch);
    }
}

TEST(WindowSinkTest, ARowGatheredReachesTheWindowWhileTheJobWaits) {
    FakeWindow window;
    window.rowsPerBatch = 1000;
    WindowSink sink(window);
    sink.RowAdded("a.bin");
    // The job is deep in a large file now, and tells nothing more.
    for (int i = 0; i < 200 && window.Rows().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(test::RowNames(window), std::vector<std::string>{"a.bin"});
}

// The bar of a scripted job, read at the times a window would read it.
TEST(ProgressMeterTest, TheBarFollowsBytesAndShowsSmoothedSpeedAndTimeLeft) {
    struct Step {
        double seconds;
        std::uint64_t bytes;
        int rows;
        bool sized;  // every row's file sized
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
    progress.bytesSized = total;
    ProgressMeter meter;
    for (const Step& step : steps) {
        progress.bytesDone = step.bytes;
        progress.rowsDone = step.rows;
        progress.rowsSized = step.sized ? 2 : 0;
        const ProgressReading reading = meter.Read(step.seconds, progress);
        EXPECT_EQ(reading.text, step.text) << step.seconds;
        EXPECT_EQ(reading.position, step.position) << step.seconds;
    }


    // Before every file is sized, those sized stand for the rest: one
    // 100 MB file of two sized, half of an estimated 200 MB read.
    JobProgress half(2);
    half.rowsSized = 1;
    half.bytesSized = 100000000;
    half.bytesDone = 100000000 + 64 * 1024;
    EXPECT_EQ(ProgressMeter().Read(0, half).position, 500);
}

}  // namespace
}  // namespace velmar
