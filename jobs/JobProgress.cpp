#include "jobs/JobProgress.h"

#include <chrono>

#include "platform/WorkerThread.h"

namespace velmar {
namespace {
constexpr std::chrono::milliseconds SizingDelay{250};
}  // namespace

FileSizeSum::FileSizeSum(JobProgress& progress, int rows, SizeOfRow sizeOf)
    : thread_([this, &progress, rows, sizeOf = std::move(sizeOf)] {
          {
              std::unique_lock lock(mutex_);
              if (ended_.wait_for(lock, SizingDelay, [this] { return quit_; })) return;
          }
          LowerThisThreadToIdle();
          std::uint64_t total = 0;
          for (int row = 0; row < rows; ++row) {
              // Looked at every 64 files: a long list stops soon after its job.
              if (row % 64 == 0) {
                  std::lock_guard lock(mutex_);
                  if (quit_) return;
              }
              total += sizeOf(row);
          }
          progress.bytesTotal = total;
          progress.totalKnown = true;
      }) {}

FileSizeSum::~FileSizeSum() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    ended_.notify_all();
    thread_.join();
}

}  // namespace velmar
