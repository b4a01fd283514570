#include "platform/WorkerThread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <thread>

namespace velmar {

namespace {

// On Linux a thread's niceness is its own; one step above normal is one
// nice level lower. Unprivileged processes are normally refused, which is
// fine: the job then runs at normal priority.
void RaiseOneStep() {
    pid_t tid = static_cast<pid_t>(::syscall(SYS_gettid));
    errno = 0;
    int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
    if (errno != 0) return;
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice - 1);
}

}  // namespace

void LowerThisThreadToIdle() {
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 19);
}

std::atomic<int> WorkerThread::running_{0};

void WorkerThread::Start() {
    ++running_;
    std::thread(&WorkerThread::Run, this).detach();
}

void WorkerThread::Run(WorkerThread* self) {
    {
        std::unique_ptr<WorkerThread> owned(self);
        RaiseOneStep();
        owned->Execute();
    }
    --running_;
}

}  // namespace velmar
