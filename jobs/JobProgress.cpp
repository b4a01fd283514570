#include "jobs/JobProgress.h"

#include "platform/Files.h"

namespace velmar {

FileSizeSum::FileSizeSum(JobProgress& progress, int rows, std::function<std::string(int row)> pathOf)
    : thread_([this, &progress, rows, pathOf = std::move(pathOf)] {
          std::uint64_t total = 0;
          for (int row = 0; row < rows; ++row) {
              if (quit_) return;
              total += RegularFileSize(pathOf(row));
          }
          progress.bytesTotal = total;
          progress.totalKnown = true;
      }) {}

FileSizeSum::~FileSizeSum() {
    quit_ = true;
    thread_.join();
}

}  // namespace velmar
