#include "platform/WorkerThread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <future>

#include <gtest/gtest.h>

namespace velmar {
namespace {

int OwnNice() {
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
}

class RecordingJob : public WorkerThread {
public:
    RecordingJob(std::promise<int>& niceSeen, std::promise<void>& deleted)
        : niceSeen_(niceSeen), deleted_(deleted) {}
    ~RecordingJob() override { deleted_.set_value(); }

protected:
    void Execute() override { niceSeen_.set_value(OwnNice()); }

private:
    std::promise<int>& niceSeen_;
    std::promise<void>& deleted_;
};

TEST(WorkerThread, RunsTheBodyOnItsOwnThreadAndDeletesItself) {
    std::promise<int> niceSeen;
    std::promise<void> deleted;
    int callerNice = OwnNice();
    WorkerThread::Launch<RecordingJob>(niceSeen, deleted);

    auto nice = niceSeen.get_future();
    ASSERT_EQ(nice.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    // Raised one step where the system allows it, never lowered.
    int seen = nice.get();
    EXPECT_LE(seen, callerNice);
    EXPECT_GE(seen, callerNice - 1);
    EXPECT_EQ(deleted.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
}

}  // namespace
}  // namespace velmar
