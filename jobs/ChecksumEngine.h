// The digests of a job's files, computed on several workers at once and
// handed to the job in row order: a row's result is taken once it and every
// row before it are done, so the marks still appear one by one from the
// top, only sooner. Workers run at most a window of rows ahead of the job,
// so memory stays flat however long the list is.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "checksum/FileDigest.h"
#include "platform/ReadBuffer.h"

namespace velmar {

class ChecksumEngine {
public:
    // One row's digest, computed on a worker with that worker's buffer. It
    // must not reach the window.
    using DigestOfRow = std::function<FileDigest(int row, ReadBuffer& buffer)>;

    // Starts `workers` workers over rows 0 .. rows-1. One worker reads the
    // files one at a time, in row order.
    ChecksumEngine(int rows, int workers, DigestOfRow digestOf);
    ~ChecksumEngine() { Stop(); }
    ChecksumEngine(const ChecksumEngine&) = delete;
    ChecksumEngine& operator=(const ChecksumEngine&) = delete;

    // Waits for the digest of `row`. Rows are taken in order, each once.
    FileDigest Take(int row);

    // Lets the workers finish the files in hand and waits for them: every
    // file they opened is closed when it returns. Safe to call twice.
    void Stop();

    // How many workers suit files in `folder`: one where the disk spins or
    // its kind cannot be told (reading several files at once would make it
    // seek back and forth), else one per core.
    static int WorkersFor(const std::string& folder);

private:
    struct Slot {
        FileDigest digest;
        bool ready = false;
    };

    void Work();

    const int rows_;
    const DigestOfRow digestOf_;
    std::vector<Slot> window_;  // row r's result waits in slot r % size
    int next_ = 0;              // the next row a worker takes
    int taken_ = 0;             // the rows the job has taken
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::thread> workers_;
};

}  // namespace velmar
