#include "checksum/ChecksumEngine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <utility>

#include "checksum/FileOpening.h"
#include "checksum/FileReading.h"
#include "checksum/Md5FileLanes.h"
#include "checksum/WholeFileDigests.h"
#include "platform/Files.h"

namespace velmar {
namespace {

// How far the workers may run ahead of the job: enough that a row of small
// files never leaves a worker idle, little enough that a list of a million
// rows holds only this many results.
constexpr int RowsAhead = 256;
// The rows from the job's next one that must be done before it is woken:
// well within RowsAhead, so that the workers can always finish them; and
// how long it waits for them before it takes its own row alone, so that
// large files on a slow disk still show one by one.
constexpr int WakeRun = 16;
constexpr std::chrono::milliseconds RunPatience{20};

// How far ahead small files are announced to a disk read in turn: far
// enough that the workers never overtake the disk's queue (a worker that
// reads a file not yet asked for sends the disk back and forth), near
// enough that what it reads is still in memory when its row comes.
constexpr std::uint64_t AnnounceBytes = 64 * 1048576;
constexpr int AnnounceRows = 4096;

std::unique_ptr<BatchReader> MakeBatchReader(bool batching) {
    return BatchReader::Make({.files = BatchFiles, .capacity = BatchCapacity},
                             batching ? Batching::Auto : Batching::Off);
}

}  // namespace

template <class BeginFile>
std::optional<FileDigest> ChecksumEngine::BeginRow(int row, const BeginFile& begin) {
    watch_.RowSized();
    std::optional<FileDigest> digest = begin(pathOf_(row));
    if (digest && digest->status == FileDigestStatus::OpenFailed && fallbackOf_)
        if (const auto other = fallbackOf_(row, digest->missing)) {
            digest = begin(*other);
            // A file read in a lane comes back later, through its slot.
            if (digest) digest->foundElsewhere = true;
            else window_[static_cast<std::size_t>(row % static_cast<int>(window_.size()))].foundElsewhere = true;
        }
    return digest;
}

template <class Rest>
std::optional<FileDigest> ChecksumEngine::OpenRow(int row, const std::string& path, const Rest& rest,
                                                 const std::function<void()>& beforeStream) {
    InputFile file;
    if (auto unread = OpenToDigest(file, path, watch_)) return unread;
    watch_.Sized(file.OpenedSize());
    if (!options_.diskInTurn) return rest(file);
    // A small file asked about tells whether to announce; one announced
    // already is in memory because it was announced, and tells nothing of
    // the disk.
    const bool ask = AsksPageCache(file.OpenedSize(), row);
    const std::uint64_t uncached = ask ? help_.UncachedBytes(file) : 0;
    if (ask && row >= announced_) announcing_ = uncached > 0;
    if (announcing_) AnnounceAhead(row);
    if (!ThroughDiskReader(file.OpenedSize(), uncached)) return rest(file);
    if (beforeStream) beforeStream();
    const auto stream = diskReader_->Queue(file, row);
    return WithReadError(
        DigestBlocks(AlgorithmOf(row), [&](const std::uint8_t*& data) { return stream->Next(data); }, watch_), file);
}

void ChecksumEngine::AnnounceAhead(int row) {
    // The rows are announced in batches of half the reach, so that the
    // workers seldom meet here.
    if (announced_ > row + AnnounceRows / 2) return;
    std::unique_lock lock(announceMutex_, std::defer_lock);
    // A worker whose own file is not announced yet waits while another
    // announces: reading it first would send the disk back. The others go on.
    if (row >= announced_) lock.lock();
    else if (!lock.try_lock()) return;
    while (!announcedAhead_.empty() && announcedAhead_.front().first < row) {
        announcedBytes_ -= announcedAhead_.front().second;
        announcedAhead_.pop_front();
    }
    if (announced_ > row && announcedBytes_ >= AnnounceBytes / 2) return;
    const int last = std::min(rows_, row + 1 + AnnounceRows);
    // Announcing goes on only while it finds files out of memory: a few
    // pages missing from one file must not have every file of a tree in
    // memory opened twice. Files with nothing to announce (empty, too large,
    // gone) say nothing either way; the rows past the announced ones decide
    // again.
    bool inMemory = false, fromDisk = false;
    // The row's own file first, so that the disk is asked in row order.
    for (int next = std::max(announced_.load(), row);
         next < last && announcedBytes_ < AnnounceBytes && !watch_.Stopped(); announced_ = ++next) {
        const Announcement announced = AnnounceSmallFile(pathOf_(next), AnnouncedFileSize, options_.nothingCached);
        announcedAhead_.emplace_back(next, announced.bytes);
        announcedBytes_ += announced.bytes;
        if (announced.bytes > 0) (announced.fromDisk ? fromDisk : inMemory) = true;
    }
    if (inMemory && !fromDisk) announcing_ = false;
}

ChecksumEngine::ChecksumEngine(int rows, int workers, DigestOfRow digestOf, DigestWatch watch)
    : rows_(rows), watch_(watch.AlsoStoppedBy(stop_)), digestOf_(std::move(digestOf)),
      window_(static_cast<std::size_t>(std::min(rows, RowsAhead))) {
    options_.workers = workers;
    Start(workers, false);
}

ChecksumEngine::ChecksumEngine(int rows, const EngineOptions& options, DigestAlgorithm algorithm, PathOfRow pathOf,
                               DigestWatch watch, FallbackOfRow fallbackOf, AlgorithmOfRow algorithmOf)
    : rows_(rows), watch_(watch.AlsoStoppedBy(stop_)), pathOf_(std::move(pathOf)),
      fallbackOf_(std::move(fallbackOf)), algorithm_(algorithm), algorithmOf_(std::move(algorithmOf)),
      options_(options),
      window_(static_cast<std::size_t>(std::min(rows, RowsAhead))) {
    digestOf_ = [this](int row, ReadBuffer& buffer) {
        return *BeginRow(row, [&](const std::string& path) {
            return OpenRow(row, path, [&](InputFile& file) -> std::optional<FileDigest> {
                return DigestOpenFile(AlgorithmOf(row), file, buffer, watch_, help_);
            });
        });
    };
    // The lanes hold MD5 files only.
    Start(options.workers, algorithm == DigestAlgorithm::Md5 && !algorithmOf_);
}

void ChecksumEngine::Start(int requested, bool lanes) {
    const int workers = std::clamp(requested, 1, std::max(1, rows_));
    if (rows_ == 0) return;
    // Room beside the workers for a read ahead each, or for the helpers of
    // one large BLAKE3 file, and for the disk's reader.
    pool_ = std::make_unique<TaskPool>(workers + std::max(workers, options_.blake3Helpers) + 1);
    help_ = {.pool = pool_.get(), .helpers = std::max(0, options_.blake3Helpers),
             .nothingCached = options_.nothingCached};
    if (workers == 1) {
        serial_ = true;
        serialBuffer_ = std::make_unique<ReadBuffer>();
        return;
    }
    if (options_.diskInTurn) diskReader_ = std::make_unique<SequentialReader>(*pool_);
    batching_ = ReadsInBatches(options_) && pathOf_;
    // A batch takes no more than its worker's share of the rows: the files
    // a batch cannot read whole are read by that worker, and a few large
    // files must still spread over every core.
    batchRows_ = std::clamp(rows_ / workers, 1, BatchFiles);
    // Each worker takes its share of the rows into its lanes, so that a
    // few large files spread over every core.
    const int lanesPerWorker = std::clamp((rows_ + workers - 1) / workers, 1, Md5Lanes);
    workersRunning_ = workers;
    for (int i = 0; i < workers; ++i)
        pool_->Run([this, lanes, lanesPerWorker] {
            if (lanes && lanesPerWorker > 1) WorkLanes(lanesPerWorker);
            else Work();
            std::lock_guard lock(mutex_);
            if (--workersRunning_ == 0) changed_.notify_all();
        });
}

std::pair<int, int> ChecksumEngine::NextRun(int most, bool wait) {
    const int ahead = static_cast<int>(window_.size());
    std::unique_lock lock(mutex_);
    if (wait) changed_.wait(lock, [&] { return stop_ || next_ >= rows_ || next_ < taken_ + ahead; });
    if (stop_ || next_ >= rows_ || next_ >= taken_ + ahead) return {-1, 0};
    const int first = next_;
    next_ += std::min({most, rows_ - first, taken_ + ahead - first});
    return {first, next_ - first};
}

template <class Rest>
int ChecksumEngine::ReadBatch(BatchReader& reader, std::vector<std::string>& paths, int first, int count,
                              const Rest& rest) {
    paths.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) paths[static_cast<std::size_t>(i)] = pathOf_(first + i);
    const std::span<const BatchedFile> files = reader.Read(paths);
    if (files.empty()) {
        for (int i = 0; i < count; ++i) rest(first + i);
        return -1;
    }
    std::span<const std::uint8_t> bytes[BatchFiles];
    int rows[BatchFiles];
    int whole = 0;
    for (int i = 0; i < count; ++i) {
        const BatchedFile& file = files[static_cast<std::size_t>(i)];
        if (!file.whole) continue;
        bytes[whole] = file.data;
        rows[whole++] = first + i;
        watch_.RowSized();
        watch_.Sized(file.size);
        watch_.Read(file.size);
    }
    FileDigest digests[BatchFiles];
    // Each run of rows that share a digest at once (MD5's runs side by side).
    for (int begin = 0, end = 0; begin < whole; begin = end) {
        const DigestAlgorithm algorithm = AlgorithmOf(rows[begin]);
        for (end = begin + 1; end < whole && AlgorithmOf(rows[end]) == algorithm;) ++end;
        const auto count = static_cast<std::size_t>(end - begin);
        DigestWholeFiles(algorithm, {bytes + begin, count}, {digests + begin, count});
    }
    for (int i = 0; i < whole; ++i) Publish(rows[i], digests[i]);
    // The others the plain way, which tells again why the batch could not
    // have them: missing, no regular file, larger than a batch reads.
    for (int i = 0; i < count; ++i)
        if (!files[static_cast<std::size_t>(i)].whole) rest(first + i);
    return whole;
}

void ChecksumEngine::Publish(int row, const FileDigest& digest) {
    bool wanted;
    {
        std::lock_guard lock(mutex_);
        Slot& slot = window_[static_cast<std::size_t>(row % static_cast<int>(window_.size()))];
        slot.digest = digest;
        slot.digest.foundElsewhere |= std::exchange(slot.foundElsewhere, false);
        slot.ready = true;
        wanted = row >= taken_ && row < taken_ + WakeRun &&
                 ((row == taken_ && jobWaitsForOne_) || ReadyRun() >= std::min(WakeRun, rows_ - taken_));
    }
    // Only the job waits for a row, and only for the next one; it is woken
    // once a run of rows from that one is ready, so that it marks them in
    // one go, or once it has waited a moment, as soon as its own is. Waking
    // it for every row (all the lanes finish out of order) cost two system
    // calls and a thread switch each.
    if (wanted) changed_.notify_all();
}

void ChecksumEngine::Work() {
    ReadBuffer buffer;
    std::unique_ptr<BatchReader> reader = MakeBatchReader(batching_);
    std::vector<std::string> paths;
    int plainRows = 0;
    const auto plain = [&](int row) { Publish(row, watch_.Stopped() ? StoppedDigest() : digestOf_(row, buffer)); };
    for (;;) {
        // After the user's stop the rows still come back, at once and unread,
        // so that the job never waits for one.
        const auto [first, count] = NextRun(reader && plainRows == 0 && !watch_.Stopped() ? batchRows_ : 1, true);
        if (count == 0) return;
        if (count == 1) {
            plainRows = std::max(0, plainRows - 1);
            plain(first);
            continue;
        }
        const int whole = ReadBatch(*reader, paths, first, count, plain);
        if (whole < 0) reader.reset();
        if (whole == 0) plainRows = PlainRowsAfterLargeFiles;
    }
}

// Files through the lanes: a lane whose file ends takes the next row.
void ChecksumEngine::WorkLanes(int lanesPerWorker) {
    Md5FileLanes lanes(lanesPerWorker, watch_);
    const Md5FileLanes::Done publish = [this](int row, const FileDigest& digest) { Publish(row, digest); };
    std::unique_ptr<BatchReader> reader = MakeBatchReader(batching_);
    std::vector<std::string> paths;
    std::deque<int> unbatched;  // rows a batch did not read whole, for the lanes
    int plainRows = 0;
    for (;;) {
        while (lanes.HasFreeLane()) {
            int row;
            if (!unbatched.empty()) {
                row = unbatched.front();
                unbatched.pop_front();
            } else if (reader && plainRows == 0 && lanes.Idle() && !watch_.Stopped()) {
                const auto [first, count] = NextRun(batchRows_, true);
                if (count == 0) break;
                const int whole = ReadBatch(*reader, paths, first, count, [&](int other) { unbatched.push_back(other); });
                if (whole < 0) reader.reset();
                if (whole == 0) plainRows = PlainRowsAfterLargeFiles;
                continue;
            } else {
                // Waits only when this worker has nothing else to do.
                row = NextRow(lanes.Idle());
                if (row < 0) break;
                plainRows = std::max(0, plainRows - 1);
            }
            // A file that waits for the disk holds up this worker's lanes
            // meanwhile; the other workers go on.
            const auto digest = BeginRow(row, [&](const std::string& path) {
                return OpenRow(
                    row, path,
                    [&](InputFile& file) {
                        lanes.Start(row, std::move(file));
                        return std::optional<FileDigest>();
                    },
                    // The files in the lanes are done before this one is
                    // streamed: their rows, often before this one, would
                    // otherwise wait for the whole of it.
                    [&] {
                        while (!lanes.Idle()) lanes.Step(publish);
                    });
            });
            if (digest) Publish(row, *digest);
        }
        if (lanes.Idle() && unbatched.empty()) return;
        lanes.Step(publish);
    }
}

int ChecksumEngine::ReadyRun() const {
    const int size = static_cast<int>(window_.size());
    int run = 0;
    while (run < WakeRun && taken_ + run < rows_ && window_[static_cast<std::size_t>((taken_ + run) % size)].ready) ++run;
    return run;
}

FileDigest ChecksumEngine::Take(int row) {
    if (serial_) return watch_.Stopped() ? StoppedDigest() : digestOf_(row, *serialBuffer_);
    std::unique_lock lock(mutex_);
    Slot& slot = window_[static_cast<std::size_t>(row % static_cast<int>(window_.size()))];
    // The rows ready are taken one after the other; the job sleeps only
    // when its next one is not, until a run of them is. After the engine's
    // own stop the workers publish nothing more.
    if (!slot.ready && !stop_) {
        // Workers waiting for room have it before the job sleeps.
        changed_.notify_all();
        if (!changed_.wait_for(lock, RunPatience,
                               [&] { return stop_ || (slot.ready && ReadyRun() >= std::min(WakeRun, rows_ - row)); })) {
            jobWaitsForOne_ = true;
            changed_.wait(lock, [&] { return slot.ready || stop_; });
            jobWaitsForOne_ = false;
        }
    }
    if (!slot.ready) return StoppedDigest();
    // Copied before the slot is given back to the workers for a later row.
    FileDigest digest = slot.digest;
    slot.ready = false;
    taken_ = row + 1;
    lock.unlock();
    // Room for the workers a run at a time, not a row at a time.
    if ((row + 1) % WakeRun == 0) changed_.notify_all();
    return digest;
}

void ChecksumEngine::Stop() {
    {
        std::unique_lock lock(mutex_);
        stop_ = 1;
        changed_.notify_all();
        changed_.wait(lock, [this] { return workersRunning_ == 0; });
    }
    // The workers' streams are gone with them; then the disk's reader, and
    // whatever else ran for them has ended too.
    diskReader_.reset();
    if (pool_) pool_->WaitIdle();
}

}  // namespace velmar
