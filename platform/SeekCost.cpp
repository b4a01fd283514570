#include "platform/SeekCost.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace velmar {
namespace {

constexpr int Samples = 8;
constexpr int FewestSamples = 4;
// Flash never takes this long for one block, even when it is busy.
constexpr std::chrono::microseconds SureSeek = 4 * CheapSeek;
constexpr std::size_t Block = 4096;  // what O_DIRECT asks of alignment on every common device

struct FreeAligned {
    void operator()(void* p) const { std::free(p); }
};

// One direct read of a block from the middle of the file at `path`: its
// time, and the device it came from.
std::optional<std::pair<std::chrono::microseconds, dev_t>> TimedRead(const std::string& path, void* buffer) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_DIRECT);
    if (fd < 0) return std::nullopt;
    struct stat status{};
    std::optional<std::pair<std::chrono::microseconds, dev_t>> timed;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        const off_t offset = status.st_size / 2 / static_cast<off_t>(Block) * static_cast<off_t>(Block);
        const auto start = std::chrono::steady_clock::now();
        if (::pread(fd, buffer, Block, offset) > 0)
            timed.emplace(std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start),
                          status.st_dev);
    }
    ::close(fd);
    return timed;
}

}  // namespace

std::optional<std::chrono::microseconds> MeasureSeek(int rows, const std::function<std::string(int row)>& pathOf) {
    static std::mutex mutex;
    static std::map<dev_t, std::optional<std::chrono::microseconds>> measured;
    if (rows <= 0) return std::nullopt;
    {
        struct stat first{};
        std::lock_guard lock(mutex);
        if (::stat(pathOf(0).c_str(), &first) == 0)
            if (const auto known = measured.find(first.st_dev); known != measured.end()) return known->second;
    }
    const std::unique_ptr<void, FreeAligned> buffer(std::aligned_alloc(Block, Block));
    if (!buffer) return std::nullopt;
    std::vector<std::chrono::microseconds> times;
    std::optional<dev_t> device;
    // Rows spread over the set; a row whose file cannot be read directly
    // gives way to the next.
    const int step = std::max(1, rows / Samples);
    std::optional<std::chrono::microseconds> seek;
    for (int row = 0; row < rows && static_cast<int>(times.size()) < Samples; row += step)
        if (const auto timed = TimedRead(pathOf(row), buffer.get())) {
            times.push_back(timed->first);
            device = timed->second;
            // A read that slow is a seek: the disk is not asked seven times
            // more, which would cost a short job on it a tenth of its time.
            if (timed->first > SureSeek) {
                seek = timed->first;
                break;
            }
        }
    if (!seek && static_cast<int>(times.size()) >= FewestSamples) {
        std::nth_element(times.begin(), times.begin() + static_cast<long>(times.size() / 2), times.end());
        seek = times[times.size() / 2];
    }
    if (device) {
        std::lock_guard lock(mutex);
        measured.emplace(*device, seek);
    }
    return seek;
}

}  // namespace velmar
