#include "jobs/ChecksumEngine.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "checksum/Md5Lanes.h"
#include "platform/DeviceKind.h"
#include "platform/Files.h"

namespace velmar {
namespace {

// How far the workers may run ahead of the job: enough that a row of small
// files never leaves a worker idle, little enough that a list of a million
// rows holds only this many results.
constexpr int RowsAhead = 256;

// What each MD5 lane reads at a time.
constexpr std::size_t LaneReadSize = 262144;

std::atomic<int> workersForTesting{0};

}  // namespace

int ChecksumEngine::WorkersFor(const std::string& folder) {
    if (const int pinned = workersForTesting.load()) return pinned;
    if (DeviceKindOf(folder.empty() ? "/" : folder) != DeviceKind::Solid) return 1;
    return std::max(1u, std::thread::hardware_concurrency());
}

void ChecksumEngine::SetWorkersForTesting(int workers) { workersForTesting = workers; }

ChecksumEngine::ChecksumEngine(int rows, int workers, DigestOfRow digestOf, DigestWatch watch)
    : rows_(rows), watch_(watch), digestOf_(std::move(digestOf)),
      window_(static_cast<std::size_t>(std::min(rows, RowsAhead))) {
    Start(workers, false);
}

ChecksumEngine::ChecksumEngine(int rows, int workers, DigestAlgorithm algorithm, PathOfRow pathOf, DigestWatch watch,
                               FallbackOfRow fallbackOf)
    : rows_(rows), watch_(watch), pathOf_(std::move(pathOf)), fallbackOf_(std::move(fallbackOf)),
      window_(static_cast<std::size_t>(std::min(rows, RowsAhead))) {
    digestOf_ = [this, algorithm](int row, ReadBuffer& buffer) {
        FileDigest digest = DigestFile(algorithm, pathOf_(row), buffer, watch_);
        if (digest.status == FileDigestStatus::OpenFailed && fallbackOf_)
            if (const auto other = fallbackOf_(row, digest.missing)) digest = DigestFile(algorithm, *other, buffer, watch_);
        return digest;
    };
    Start(workers, algorithm == DigestAlgorithm::Md5);
}

namespace {
FileDigest StoppedDigest() {
    FileDigest digest;
    digest.status = FileDigestStatus::Stopped;
    return digest;
}
}  // namespace

void ChecksumEngine::Start(int workers, bool lanes) {
    workers = std::clamp(workers, 1, std::max(1, rows_));
    if (rows_ == 0) return;
    if (workers == 1) {
        serial_ = true;
        serialBuffer_ = std::make_unique<ReadBuffer>();
        return;
    }
    // Each worker takes its share of the rows into its lanes, so that a
    // few large files spread over every core.
    const int lanesPerWorker = std::clamp((rows_ + workers - 1) / workers, 1, Md5Lanes);
    for (int i = 0; i < workers; ++i) {
        if (lanes && lanesPerWorker > 1) workers_.emplace_back([this, lanesPerWorker] { WorkLanes(lanesPerWorker); });
        else workers_.emplace_back([this] { Work(); });
    }
}

int ChecksumEngine::NextRow(bool wait) {
    const int ahead = static_cast<int>(window_.size());
    std::unique_lock lock(mutex_);
    if (wait) changed_.wait(lock, [&] { return stop_ || next_ >= rows_ || next_ < taken_ + ahead; });
    if (stop_ || next_ >= rows_ || next_ >= taken_ + ahead) return -1;
    return next_++;
}

bool ChecksumEngine::Stopping() {
    std::lock_guard lock(mutex_);
    return stop_;
}

void ChecksumEngine::Publish(int row, const FileDigest& digest) {
    {
        std::lock_guard lock(mutex_);
        Slot& slot = window_[static_cast<std::size_t>(row % static_cast<int>(window_.size()))];
        slot.digest = digest;
        slot.ready = true;
    }
    changed_.notify_all();
}

void ChecksumEngine::Work() {
    ReadBuffer buffer;
    // After a stop the rows still come back, at once and unread, so that the
    // job never waits for one.
    for (int row; (row = NextRow(true)) >= 0;) Publish(row, StopAsked() ? StoppedDigest() : digestOf_(row, buffer));
}

// Up to `lanesPerWorker` files at once: whole blocks of every open file go
// through the lanes together; a lane whose file ends takes the next row.
void ChecksumEngine::WorkLanes(int lanesPerWorker) {
    struct Lane {
        int row = -1;
        InputFile file;
        MD5Context context;
        ReadBuffer buffer{LaneReadSize};
        std::size_t begin = 0, end = 0;  // the bytes read and not yet hashed
        bool ended = false;              // nothing more to read: the end of the file, or a read error
        bool failed = false;
    };
    std::vector<Lane> lanes(static_cast<std::size_t>(lanesPerWorker));
    int active = 0;
    for (;;) {
        for (Lane& lane : lanes) {
            if (lane.row >= 0) continue;
            // Waits only when this worker has nothing else to do.
            const int row = NextRow(active == 0);
            if (row < 0) break;
            if (StopAsked()) {
                Publish(row, StoppedDigest());
                continue;
            }
            bool opened = lane.file.Open(pathOf_(row));
            if (!opened && fallbackOf_)
                if (const auto other = fallbackOf_(row, lane.file.Missing())) opened = lane.file.Open(*other);
            if (!opened) {
                Publish(row, FileDigest{});
                continue;
            }
            lane.row = row;
            MD5Init(&lane.context);
            lane.begin = lane.end = 0;
            lane.ended = lane.failed = false;
            ++active;
        }
        if (active == 0 || Stopping()) return;
        if (StopAsked()) {
            for (Lane& lane : lanes) {
                if (lane.row < 0) continue;
                lane.file.Close();
                Publish(lane.row, StoppedDigest());
                lane.row = -1;
            }
            active = 0;
            continue;
        }

        MD5Context* contexts[Md5Lanes] = {};
        const std::uint8_t* data[Md5Lanes] = {};
        std::size_t blocks = SIZE_MAX;
        for (std::size_t i = 0; i < lanes.size(); ++i) {
            Lane& lane = lanes[i];
            if (lane.row < 0) continue;
            if (lane.end - lane.begin < 64 && !lane.ended) {
                const std::size_t tail = lane.end - lane.begin;
                std::memmove(lane.buffer.data(), lane.buffer.data() + lane.begin, tail);
                const ssize_t n = lane.file.Read(lane.buffer.data() + tail, lane.buffer.size() - tail);
                if (n > 0) watch_.Read(static_cast<std::uint64_t>(n));
                lane.begin = 0;
                lane.end = tail + (n > 0 ? static_cast<std::size_t>(n) : 0);
                lane.ended = n <= 0;
                lane.failed = n < 0;
            }
            if (lane.end - lane.begin < 64 && lane.ended) {
                // The last bytes, less than a block, through the single-stream MD5.
                FileDigest digest;
                MD5Update(&lane.context, lane.buffer.data() + lane.begin, static_cast<std::uint32_t>(lane.end - lane.begin));
                MD5Final(digest.bytes.data(), &lane.context);
                digest.size = 16;
                digest.status = lane.failed ? FileDigestStatus::ReadFailed : FileDigestStatus::Ok;
                lane.file.Close();
                Publish(lane.row, digest);
                lane.row = -1;
                --active;
                continue;
            }
            contexts[i] = &lane.context;
            data[i] = lane.buffer.data() + lane.begin;
            blocks = std::min(blocks, (lane.end - lane.begin) / 64);
        }
        if (blocks == SIZE_MAX) continue;
        if (active == 1) {
            // One message alone gains nothing from the lanes.
            for (std::size_t i = 0; i < lanes.size(); ++i)
                if (contexts[i]) MD5Update(contexts[i], data[i], static_cast<std::uint32_t>(blocks * 64));
        } else {
            MD5UpdateLanes(contexts, data, blocks);
        }
        for (std::size_t i = 0; i < lanes.size(); ++i)
            if (contexts[i]) lanes[i].begin += blocks * 64;
    }
}

FileDigest ChecksumEngine::Take(int row) {
    if (serial_) return StopAsked() ? StoppedDigest() : digestOf_(row, *serialBuffer_);
    std::unique_lock lock(mutex_);
    Slot& slot = window_[static_cast<std::size_t>(row % static_cast<int>(window_.size()))];
    changed_.wait(lock, [&] { return slot.ready; });
    // Copied before the slot is given back to the workers for a later row.
    FileDigest digest = slot.digest;
    slot.ready = false;
    taken_ = row + 1;
    lock.unlock();
    changed_.notify_all();
    return digest;
}

void ChecksumEngine::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
}

}  // namespace velmar
