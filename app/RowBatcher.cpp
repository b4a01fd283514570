#include "app/RowBatcher.h"

namespace velmar {

namespace {
// The longest a row waits before the window is given it: under the time
// between two repaints of the list, so no repaint misses a row.
constexpr auto FlushAfter = std::chrono::milliseconds(25);
// A batch this large goes at once whatever its age: the window applies it
// in about a millisecond.
constexpr std::size_t MaxBytes = 256 * 1024;
}  // namespace

RowBatcher::RowBatcher(std::size_t rowsPerBatch, HandOver handOver)
    : rowsPerBatch_(rowsPerBatch), handOver_(std::move(handOver)) {
    if (rowsPerBatch_ > 1) clock_ = std::thread([this] { WatchTheClock(); });
}

RowBatcher::~RowBatcher() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    started_.notify_one();
    if (clock_.joinable()) clock_.join();
    Flush();
}

void RowBatcher::Add(std::string_view name) {
    std::unique_lock lock(mutex_);
    const bool wasEmpty = batch_.Empty();
    batch_.Add(name);
    Gathered(wasEmpty);
}

void RowBatcher::Mark(int row, StatusIcon icon, const RowDetails* details, bool deselect) {
    std::unique_lock lock(mutex_);
    const bool wasEmpty = batch_.Empty();
    batch_.Mark(row, icon, details, deselect);
    Gathered(wasEmpty);
}

void RowBatcher::Flush() {
    std::lock_guard lock(mutex_);
    if (!batch_.Empty()) HandOverLocked();
}

void RowBatcher::Gathered(bool wasEmpty) {
    if (batch_.Steps() >= rowsPerBatch_ || batch_.Bytes() >= MaxBytes) return HandOverLocked();
    if (!wasEmpty) return;
    firstStep_ = std::chrono::steady_clock::now();
    started_.notify_one();
}

void RowBatcher::HandOverLocked() {
    handOver_(std::move(batch_));
    batch_ = RowBatch();
}

void RowBatcher::WatchTheClock() {
    std::unique_lock lock(mutex_);
    while (!ending_) {
        if (batch_.Empty()) {
            started_.wait(lock);
        } else if (const auto due = firstStep_ + FlushAfter; std::chrono::steady_clock::now() < due) {
            started_.wait_until(lock, due);
        } else {
            HandOverLocked();
        }
    }
}

}  // namespace velmar
