// How far a job has come, counted by the threads that do its work and read
// by the window about ten times a second, so that no block read costs a
// window operation.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace velmar {

struct JobProgress {
    explicit JobProgress(int rowCount) : rows(rowCount) {}

    const int rows;
    std::atomic<int> rowsDone{0};
    std::atomic<std::uint64_t> bytesDone{0};   // read so far, within files too
    std::atomic<std::uint64_t> bytesTotal{0};  // the size of every file of the job, once totalKnown
    std::atomic<bool> totalKnown{false};
};

// Adds up the sizes of a job's files on a thread of its own, so that the
// first file is read at once however long the list is. A file that is not
// there counts nothing. It begins only once the job has run for a moment:
// a job over in less has no use for a bar, and its files are not looked up
// twice. Stops early when destroyed.
class FileSizeSum {
public:
    using SizeOfRow = std::function<std::uint64_t(int row)>;
    FileSizeSum(JobProgress& progress, int rows, SizeOfRow sizeOf);
    ~FileSizeSum();
    FileSizeSum(const FileSizeSum&) = delete;
    FileSizeSum& operator=(const FileSizeSum&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace velmar
