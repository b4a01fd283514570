#include "platform/BatchedReadSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <string>

#include "platform/ReadRing.h"

namespace velmar {
namespace {

// Seccomp watches this process, through a filter or in strict mode (or its
// status cannot be read, which is taken to mean it might).
bool UnderSeccomp() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("Seccomp:")) return !line.ends_with('0');
    return true;
}

// A ring set up and one request sent through it and answered: every system
// call a batch makes has then been allowed at least once.
bool RingRoundTrip() {
    io_uring ring;
    if (SetUpReadRing(ring, 1, 1) < 0) return false;
    io_uring_sqe* nop = io_uring_get_sqe(&ring);
    io_uring_prep_nop(nop);
    bool answered = io_uring_submit_and_wait(&ring, 1) == 1;
    io_uring_cqe* done = nullptr;
    answered = answered && io_uring_peek_cqe(&ring, &done) == 0 && done->res == 0;
    io_uring_queue_exit(&ring);
    return answered;
}

// RingRoundTrip in a child, which only makes system calls and leaves:
// safe to fork from a process whose other threads hold locks.
bool RoundTripInChild() {
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) ::_exit(RingRoundTrip() ? 0 : 1);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return false;
    // A child the filter killed ended on a signal.
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool ProbeBatchedReads() { return UnderSeccomp() ? RoundTripInChild() : RingRoundTrip(); }

bool BatchedReadsUsable() {
    static const bool usable = ProbeBatchedReads();
    return usable;
}

}  // namespace velmar
