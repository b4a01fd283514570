// The threads of one job. The engine's workers, the disk's reader, the
// read-ahead of large files and the helpers of a file split over cores all
// run on them as tasks: a thread that ends a task waits for the next, so a
// job of many large files starts a handful of threads, not one per file,
// and when the pool goes every thread it made is joined. Nothing a job
// began outlives it.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace velmar {

class TaskPool {
public:
    // TryRun makes a thread only while the pool has fewer than `limit`.
    explicit TaskPool(int limit) : limit_(limit) {}
    // Every task must have ended, or be sure to end on its own (its owner
    // told it to stop): the threads are joined here.
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    // Runs `task` at once on an idle thread or a new one: for a task that
    // others wait for, such as a reader its consumer waits on.
    void Run(std::function<void()> task);
    // Runs `task` on an idle thread, or a new one below the limit; false
    // when there is none, and the caller does the work itself. For help
    // nobody waits for.
    bool TryRun(std::function<void()> task);
    // Waits until every task handed to the pool has ended.
    void WaitIdle();

private:
    void Serve(std::function<void()> first);
    // Under the mutex: hands `task` to an idle thread, or makes one for it.
    void Start(std::function<void()>& task, std::unique_lock<std::mutex>& lock);

    const int limit_;
    std::mutex mutex_;
    std::condition_variable work_;   // idle threads wait for a task
    std::condition_variable ended_;  // WaitIdle waits for the last task's end
    std::deque<std::function<void()>> waiting_;  // handed to idle threads, not yet taken
    int idle_ = 0;                                // threads waiting for a task
    int running_ = 0;                             // tasks begun and not ended
    bool quit_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace velmar
