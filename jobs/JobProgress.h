// How far a job has come, counted by the threads that do its work and read
// by the window about ten times a second, so that no block read costs a
// window operation.
#pragma once

#include <atomic>
#include <cstdint>

namespace velmar {

struct JobProgress {
    explicit JobProgress(int rowCount) : rows(rowCount) {}

    const int rows;
    std::atomic<int> rowsDone{0};
    std::atomic<std::uint64_t> bytesDone{0};  // read so far, within files too
    // The rows whose files the engine has looked up (it runs ahead of the
    // job), and the sizes of those it found: the whole job's size once
    // every row is sized, and the measure of the rest until then.
    std::atomic<int> rowsSized{0};
    std::atomic<std::uint64_t> bytesSized{0};
};

}  // namespace velmar
