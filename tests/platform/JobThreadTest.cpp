#include "platform/JobThread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <thread>

#include <gtest/gtest.h>

namespace velmar {
namespace {

int OwnNice() { return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid))); }

TEST(JobThread, RunsEachJobOnAThreadOfItsOwnAndTheNextAfterTheLast) {
    const int callerNice = OwnNice();
    const auto caller = std::this_thread::get_id();
    int seenNice = 0;
    bool firstDone = false, secondSawFirstDone = false;
    {
        JobThread thread;
        thread.Start([&] {
            seenNice = OwnNice();
            EXPECT_NE(std::this_thread::get_id(), caller);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            firstDone = true;
        });
        thread.Start([&] { secondSawFirstDone = firstDone; });
    }  // let go of: waits for the second job
    EXPECT_TRUE(secondSawFirstDone);
    EXPECT_EQ(JobThread::Running(), 0);
    // Raised one step where the system allows it, never lowered.
    EXPECT_LE(seenNice, callerNice);
    EXPECT_GE(seenNice, callerNice - 1);
}

}  // namespace
}  // namespace velmar
