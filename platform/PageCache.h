// How much of a file the kernel holds in memory: a file wholly in the page
// cache is read at memory speed whatever the disk below, so several such
// files may be read at once even on a disk that must not seek.
#pragma once

#include <cstdint>

namespace velmar {

// The bytes of the open file `fd`, `size` bytes long, that are not in the
// page cache (by whole pages, at most `size`): what reading it would take
// from the device. A file the kernel cannot tell about counts as wholly
// uncached; an empty file has nothing to read.
std::uint64_t UncachedBytes(int fd, std::uint64_t size);

// Tests ask the way kernels before 6.5 answer (mincore) on a kernel that
// has cachestat; false asks cachestat again.
void SkipCachestatForTesting(bool skip);

}  // namespace velmar
