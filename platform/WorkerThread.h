// The base of every job: a thread created suspended, raised one priority
// step above normal, then resumed. Nobody waits for it; once started it owns
// itself and is deleted when its body returns.
#pragma once

#include <atomic>

namespace velmar {

class WorkerThread {
public:
    WorkerThread() = default;
    virtual ~WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts the body on a thread of its own one priority step above normal
    // (best effort: an unprivileged process may not raise it). After Start
    // the object belongs to that thread, which deletes it when Execute returns.
    void Start();

    // Convenience for starters: new, Start, forget.
    template <class Job, class... Args>
    static void Launch(Args&&... args) {
        (new Job(static_cast<Args&&>(args)...))->Start();
    }

    // How many bodies have been started and not yet returned. A job reads
    // the window's state up to its last step, so whoever owns that state
    // (a test) waits for this to reach 0 before letting it go.
    static int Running() { return running_.load(); }

protected:
    virtual void Execute() = 0;

private:
    static void Run(WorkerThread* self);
    static std::atomic<int> running_;
};

// The calling thread gives way to every other: for work beside a job that
// must never slow it.
void LowerThisThreadToIdle();

}  // namespace velmar
