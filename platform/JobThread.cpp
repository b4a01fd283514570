#include "platform/JobThread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace velmar {

namespace {

// On Linux a thread's niceness is its own; one step above normal is one
// nice level lower.
void RaiseOneStep() {
    const auto tid = static_cast<id_t>(::syscall(SYS_gettid));
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, tid);
    if (errno != 0) return;
    ::setpriority(PRIO_PROCESS, tid, nice - 1);
}

}  // namespace

std::atomic<int> JobThread::running_{0};

void JobThread::Start(std::function<void()> body) {
    Join();
    ++running_;
    thread_ = std::thread([body = std::move(body)] {
        RaiseOneStep();
        body();
        --running_;
    });
}

void JobThread::Join() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace velmar
