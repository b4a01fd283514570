// What the reading of one file may lean on beyond the thread that reads it:
// the job's pool, for a read ahead of the hashing or for helpers on a large
// BLAKE3 file. Without a pool the file is read on that thread alone.
#pragma once

#include <cstdint>

#include "platform/Files.h"
#include "platform/TaskPool.h"

namespace velmar {

struct ReadingHelp {
    TaskPool* pool = nullptr;
    // Threads of the pool one large file may take beside its own: a BLAKE3
    // file split over the cores, digests of several algorithms side by side.
    int helpers = 0;
    // Every file counts as out of memory (see EngineOptions).
    bool nothingCached = false;

    // What reading `file` would take from the device.
    std::uint64_t UncachedBytes(const InputFile& file) const {
        return nothingCached ? file.OpenedSize() : file.UncachedBytes();
    }
};

}  // namespace velmar
