// The thread a shell's job runs on: one job at a time, one priority step
// above normal. The thread is joined, never detached: starting the next job
// first joins the last one's thread (which has returned by then, or is
// returning), and letting go of a JobThread waits for its job.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace velmar {

class JobThread {
public:
    JobThread() = default;
    ~JobThread() { Join(); }
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;

    // Runs `body` on a thread of its own, raised one step where the system
    // allows it (an unprivileged process is normally refused, and the job
    // then runs at normal priority). Must not be called from the job itself.
    void Start(std::function<void()> body);

    // Waits for the job started last, if any.
    void Join();

    // How many job bodies, of every JobThread, have started and not yet
    // returned: a test that owns a window's state waits for 0.
    static int Running() { return running_.load(); }

private:
    std::thread thread_;
    static std::atomic<int> running_;
};

}  // namespace velmar
