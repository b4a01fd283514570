// Gathers a job's rows and marks into batches for the window, on the job's
// thread, and hands each over whole: once it is large, once its first step
// has waited a moment (a job deep in a large file still shows the rows
// before it), and whenever the sink says so: before anything that is no
// row, and at the job's end, so that nothing is shown late or out of order.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "app/RowBatch.h"

namespace velmar {

class RowBatcher {
public:
    using HandOver = std::function<void(RowBatch batch)>;

    // With `rowsPerBatch` 1 every step is handed over as it comes.
    RowBatcher(std::size_t rowsPerBatch, HandOver handOver);
    ~RowBatcher();
    RowBatcher(const RowBatcher&) = delete;
    RowBatcher& operator=(const RowBatcher&) = delete;

    void Add(std::string_view name);
    void Mark(int row, StatusIcon icon, const RowDetails* details, bool deselect);
    // Hands over what is gathered.
    void Flush();

private:
    // After a step: hands the batch over if it is full, or has the clock
    // watch it if it was empty.
    void Gathered(bool wasEmpty);
    // Under the lock: hand-overs then reach the window in the order of
    // their steps, whichever thread makes them.
    void HandOverLocked();
    void WatchTheClock();

    const std::size_t rowsPerBatch_;
    const HandOver handOver_;
    std::mutex mutex_;
    std::condition_variable started_;  // a batch has its first step, or the batcher ends
    RowBatch batch_;
    std::chrono::steady_clock::time_point firstStep_;
    bool ending_ = false;
    std::thread clock_;  // only while batches hold more than one step
};

}  // namespace velmar
