#include "jobs/ChecksumEngine.h"

#include <algorithm>

#include "platform/DeviceKind.h"

namespace velmar {
namespace {

// How far the workers may run ahead of the job: enough that a row of small
// files never leaves a worker idle, little enough that a list of a million
// rows holds only this many results.
constexpr int RowsAhead = 256;

}  // namespace

int ChecksumEngine::WorkersFor(const std::string& folder) {
    if (DeviceKindOf(folder.empty() ? "/" : folder) != DeviceKind::Solid) return 1;
    return std::max(1u, std::thread::hardware_concurrency());
}

ChecksumEngine::ChecksumEngine(int rows, int workers, DigestOfRow digestOf)
    : rows_(rows), digestOf_(std::move(digestOf)), window_(static_cast<std::size_t>(std::min(rows, RowsAhead))) {
    workers = std::clamp(workers, 1, std::max(1, rows));
    if (rows_ == 0) return;
    for (int i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
}

void ChecksumEngine::Work() {
    ReadBuffer buffer;
    const int ahead = static_cast<int>(window_.size());
    for (;;) {
        int row;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stop_ || next_ >= rows_ || next_ < taken_ + ahead; });
            if (stop_ || next_ >= rows_) return;
            row = next_++;
        }
        FileDigest digest = digestOf_(row, buffer);
        {
            std::lock_guard lock(mutex_);
            Slot& slot = window_[static_cast<std::size_t>(row % ahead)];
            slot.digest = digest;
            slot.ready = true;
        }
        changed_.notify_all();
    }
}

FileDigest ChecksumEngine::Take(int row) {
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
