// Many short jobs on workers, one after another, while the UI side keeps
// pressing commands that must be refused and reads the flags the jobs set:
// run under ThreadSanitizer this shows the frame's flags and the commands'
// Busy test free of races, and that no second job ever starts beside one.
#include <atomic>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "checksum/Crc32.h"
#include "lists/KindCommands.h"
#include "m3u/M3uKind.h"
#include "md5list/Md5Kind.h"
#include "sfv/SfvKind.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

TEST(ManyJobsTest, OneJobAtATimeWhateverIsPressedMeanwhile) {
    test::TempDir dir;
    dir.Write("a.bin", "a");
    const std::uint32_t crc = Crc32Final(Crc32Update(Crc32Init(), "a", 1));
    char line[32];
    std::snprintf(line, sizeof line, "a.bin %08X\n", crc);
    dir.Write("list.sfv", line);

    constexpr int Jobs = 60;
    test::FakeWindow window;
    MainWindowState state;
    state.CommandLinePath = dir.File("list.sfv");

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
        CommandLineVerifyCommand(window, state, SfvKind);
        // Pressed while the job runs: each must see Busy and do nothing,
        // the menu verifications without asking for a list.
        VerifyCommand(window, state, Md5Kind);
        VerifyCommand(window, state, M3uKind);
        CommandLineVerifyCommand(window, state, SfvKind);
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
