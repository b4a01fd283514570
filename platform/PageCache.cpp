#include "platform/PageCache.h"

#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>

// cachestat(2) came with Linux 6.5; Debian 12's headers do not know it yet,
// while the number is the same on every architecture that has it.
#if !defined(__NR_cachestat) && (defined(__x86_64__) || defined(__aarch64__))
#define __NR_cachestat 451
#endif

namespace velmar {
namespace {

struct CachestatRange {
    std::uint64_t offset, length;  // a length of 0: to the end of the file
};
struct Cachestat {
    std::uint64_t cache, dirty, writeback, evicted, recentlyEvicted;
};

// Cleared at the first ENOSYS, so that an older kernel pays for it once.
std::atomic<bool> cachestatWorks{true};

// The pages of the file in the page cache, by cachestat: one system call.
bool CachedPagesByCachestat(int fd, std::uint64_t& pages) {
#ifdef __NR_cachestat
    if (!cachestatWorks.load(std::memory_order_relaxed)) return false;
    CachestatRange range{0, 0};
    Cachestat stat{};
    if (::syscall(__NR_cachestat, fd, &range, &stat, 0) == 0) {
        pages = stat.cache;
        return true;
    }
    if (errno == ENOSYS) cachestatWorks = false;
#endif
    (void)fd;
    (void)pages;
    return false;
}

// The same by mincore over a mapping of the file, which maps no page in:
// a few system calls, one per 64 MiB of file.
bool CachedPagesByMincore(int fd, std::uint64_t size, std::uint64_t pageSize, std::uint64_t& pages) {
    void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    if (mapping == MAP_FAILED) return false;
    std::array<unsigned char, 16384> resident;
    const std::uint64_t total = (size + pageSize - 1) / pageSize;
    bool ok = true;
    pages = 0;
    for (std::uint64_t first = 0; ok && first < total; first += resident.size()) {
        const std::uint64_t count = std::min<std::uint64_t>(resident.size(), total - first);
        ok = ::mincore(static_cast<char*>(mapping) + first * pageSize, count * pageSize, resident.data()) == 0;
        for (std::uint64_t i = 0; ok && i < count; ++i) pages += resident[i] & 1;
    }
    ::munmap(mapping, size);
    return ok;
}

}  // namespace

void SkipCachestatForTesting(bool skip) { cachestatWorks = !skip; }


std::uint64_t UncachedBytes(int fd, std::uint64_t size) {
    if (size == 0) return 0;
    const auto pageSize = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    std::uint64_t cached = 0;
    if (!CachedPagesByCachestat(fd, cached) && !CachedPagesByMincore(fd, size, pageSize, cached)) return size;
    const std::uint64_t total = (size + pageSize - 1) / pageSize;
    return std::min(size, (total - std::min(total, cached)) * pageSize);
}

}  // namespace velmar
