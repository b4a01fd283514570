// Many short jobs on workers, one after another, while the UI side keeps
// pressing commands that must be refused and reads the flags the jobs set:
// run under ThreadSanitizer this shows the frame's flags and the commands'
// Busy test free of races, and that no second job ever starts beside one.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "checksum/FileDigest.h"
#include "app/KindCommands.h"
#include "kinds/ListKinds.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/JobTest.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

class ManyJobsTest : public test::ReadingPolicyTest {};
VELMAR_AT_EACH_READING_POLICY(ManyJobsTest);

TEST_P(ManyJobsTest, OneJobAtATimeWhateverIsPressedMeanwhile) {
    // A list of every kind over one file, each written by its kind's writer.
    test::TempDir dir;
    ReadBuffer buffer;
    const std::string file = dir.Write("a.bin", "a");
    const auto kinds = ListKinds();
    std::vector<std::string> lists;
    for (const ListKind* kind : kinds) {
        const FileDigest digest = DigestFile(kind->algorithm, file, buffer);
        lists.push_back(dir.Write(kind->firstName, kind->entryLines("a.bin", digest, *kind, {})));
    }

    constexpr int Jobs = 60;
    test::FakeWindow window;
    MainWindowState state;
    test::PinReading(state);

    // The job waits at its first window operation until the presses are
    // done, so that every press meets a running job.
    const auto ui = std::this_thread::get_id();
    std::atomic<bool> released{false};
    window.onRecord = [&](std::size_t) {
        if (std::this_thread::get_id() != ui)
            while (!released) std::this_thread::yield();
    };

    std::atomic<bool> stop{false};
    std::atomic<int> busySeen{0};
    std::thread watcher([&] {
        while (!stop) busySeen += state.Busy ? 1 : 0;
    });

    for (int i = 0; i < Jobs; ++i) {
        released = false;
        const std::size_t k = static_cast<std::size_t>(i) % kinds.size();
        state.CommandLinePath = lists[k];
        CommandLineVerifyCommand(window, state, ListKindOf);
        // Pressed while the job runs: each must see Busy and do nothing,
        // the menu verifications without asking for a list.
        for (const ListKind* kind : kinds) {
            VerifyCommand(window, state, *kind);
            CommandLineVerifyCommand(window, state, ListKindOf);
        }
        released = true;
        ASSERT_TRUE(test::WaitForJobsToEnd()) << "job " << i;
    }
    stop = true;
    watcher.join();

    const auto log = window.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "SetText Label1 OK:1  BAD:0  N/A:0"), Jobs);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& e) { return e.rfind("OpenFileDialog", 0) == 0; }),
              0);
    EXPECT_EQ(state.Busy, 0);
}

}  // namespace
}  // namespace velmar
