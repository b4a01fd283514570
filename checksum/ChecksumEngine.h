// The digests of a job's files, computed on several workers at once and
// handed to the job in row order: a row's result is taken once it and every
// row before it are done, so the marks still appear one by one from the
// top, only sooner. Workers run at most a window of rows ahead of the job,
// so memory stays flat however long the list is. The engine schedules rows
// onto workers, decides which files go to the disk's one reader and which
// are announced to the disk ahead of their rows; the digests themselves are
// checksum/'s: DigestOpenFile, or for MD5 the lane set that reads up to
// sixteen files side by side.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "checksum/EngineOptions.h"
#include "checksum/FileDigest.h"
#include "checksum/ReadingHelp.h"
#include "platform/BatchReader.h"
#include "platform/ReadBuffer.h"
#include "platform/SequentialReader.h"
#include "platform/TaskPool.h"

namespace velmar {

class ChecksumEngine {
public:
    // One row's digest, computed with the worker's buffer. It must not
    // reach the window.
    using DigestOfRow = std::function<FileDigest(int row, ReadBuffer& buffer)>;
    // The file of a row.
    using PathOfRow = std::function<std::string(int row)>;
    // Another file for a row whose file cannot be opened (`missing` when
    // nothing is at its path), or nothing.
    using FallbackOfRow = std::function<std::optional<std::string>(int row, bool missing)>;
    // The digest a row's file is read for, where the rows do not all share
    // one (the lists of a library).
    using AlgorithmOfRow = std::function<DigestAlgorithm(int row)>;

    // `workers` workers over rows 0 .. rows-1, each row's digest computed by
    // `digestOf`. With one worker there is no thread: each file is read when
    // its row is taken, one at a time, in row order, as on a disk that must
    // not seek. Once the watch's stop is set, every row not done yet comes
    // back Stopped within a read, and the rows not begun unread; its count
    // grows by every block read.
    ChecksumEngine(int rows, int workers, DigestOfRow digestOf, DigestWatch watch = {});
    // The `algorithm` digest of each row's file, or of its fallback's, read
    // as `options` say: their workers pinned (see EngineOptionsFor). The watch
    // also hears the size of every row's file as it is opened. With
    // `algorithmOf`, each row's own digest instead of `algorithm`.
    ChecksumEngine(int rows, const EngineOptions& options, DigestAlgorithm algorithm, PathOfRow pathOf,
                   DigestWatch watch = {}, FallbackOfRow fallbackOf = nullptr, AlgorithmOfRow algorithmOf = nullptr);
    ~ChecksumEngine() { Stop(); }
    ChecksumEngine(const ChecksumEngine&) = delete;
    ChecksumEngine& operator=(const ChecksumEngine&) = delete;

    // The digest of `row`, once it is done. Rows are taken in order, each once.
    FileDigest Take(int row);

    // The engine's own stop, for a quit or a fatal end: every read under way
    // ends within a block, no further row is begun, and it waits for the
    // workers, so every file they opened is closed when it returns. A row
    // taken afterwards comes back Stopped. Safe to call twice.
    void Stop();

private:
    struct Slot {
        FileDigest digest;
        bool ready = false;
        // Set by the worker that began the row, when a fallback found its
        // file and a lane reads it.
        bool foundElsewhere = false;
    };

    void Start(int workers, bool lanes);
    // Up to `most` rows in a row: the first and how many, 0 when none may
    // be taken now (or ever, when waiting).
    std::pair<int, int> NextRun(int most, bool wait);
    int NextRow(bool wait) { return NextRun(1, wait).first; }  // -1 when none
    // The files of `count` rows from `first` opened, read and closed in one
    // batch: each read whole is digested here and published, each other
    // row handed to `rest`. The rows read whole, or -1 when the reader is
    // spent and every row went to `rest`.
    template <class Rest>
    int ReadBatch(BatchReader& reader, std::vector<std::string>& paths, int first, int count, const Rest& rest);
    // The row's file through `begin`, or its fallback's when it cannot be
    // opened. `begin` gives a file's digest, or nothing while it is still
    // being read (in a lane).
    template <class BeginFile>
    std::optional<FileDigest> BeginRow(int row, const BeginFile& begin);
    // Opens `path` and hands the open file to `rest`; a file that needs the
    // disk, where the disk goes in turn, is read here instead, through the
    // disk's reader, `beforeStream` run first.
    template <class Rest>
    std::optional<FileDigest> OpenRow(int row, const std::string& path, const Rest& rest,
                                      const std::function<void()>& beforeStream = {});
    // Where the disk goes in turn and files are found not in memory: the
    // files up to 8 MiB of `row` and the rows ahead, announced to the disk.
    void AnnounceAhead(int row);
    void Publish(int row, const FileDigest& digest);
    // The rows from the job's next one that are done, up to WakeRun; under the mutex.
    int ReadyRun() const;
    void Work();
    void WorkLanes(int lanesPerWorker);

    const int rows_;
    // Set by Stop, under the mutex so that the waits see it.
    std::atomic<std::uint8_t> stop_{0};
    // The caller's watch, stopped by stop_ as well: every read honours both.
    const DigestWatch watch_;
    DigestOfRow digestOf_;
    PathOfRow pathOf_;
    FallbackOfRow fallbackOf_;
    DigestAlgorithm algorithm_ = DigestAlgorithm::Crc32;
    AlgorithmOfRow algorithmOf_;
    DigestAlgorithm AlgorithmOf(int row) const { return algorithmOf_ ? algorithmOf_(row) : algorithm_; }
    EngineOptions options_;
    // Workers read small files in batches: where the kernel allows it, and
    // not on a disk read in turn, which must be asked for one file at a time.
    bool batching_ = false;
    int batchRows_ = 1;  // the most rows one batch takes
    bool serial_ = false;
    std::unique_ptr<ReadBuffer> serialBuffer_;  // with one worker: the job reads itself
    std::vector<Slot> window_;  // row r's result waits in slot r % size
    int next_ = 0;              // the next row a worker takes
    int taken_ = 0;             // the rows the job has taken
    bool jobWaitsForOne_ = false;  // the job has waited long enough: its own row wakes it
    std::unique_ptr<SequentialReader> diskReader_;  // with the disk in turn
    // Whether the files lately opened were missing from the page cache:
    // every file larger than a read-ahead request, and one small file in
    // every AnnounceSample.
    std::atomic<bool> announcing_{false};
    std::mutex announceMutex_;  // one worker announces at a time
    std::atomic<int> announced_{0};  // the rows before it have been announced
    // The rows announced and not yet begun, with their files' sizes.
    std::deque<std::pair<int, std::uint64_t>> announcedAhead_;
    std::uint64_t announcedBytes_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    // The workers, the disk's reader, reads ahead and BLAKE3's helpers:
    // declared last, so that it goes first, once every task has ended.
    std::unique_ptr<TaskPool> pool_;
    int workersRunning_ = 0;  // under the mutex
    ReadingHelp help_;
};

}  // namespace velmar
