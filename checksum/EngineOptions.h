// How the engine reads a job's files, given to it by whoever starts the job:
// by default the storage under the job's folder decides everything, and a
// test pins what it needs to see on any machine.
#pragma once

namespace velmar {

struct EngineOptions {
    // Workers reading files side by side; 0 lets the storage decide. Pinned
    // to one, each file is read on the job's own thread in row order.
    int workers = 0;
    // With workers pinned: read as on a disk that must not seek, the large
    // files one at a time through the disk's reader.
    bool diskInTurn = false;
    // Every file counts as out of memory, whatever the page cache holds:
    // what a cold disk read in turn looks like on a machine with a warm one.
    bool nothingCached = false;
    // Threads that may help with one large BLAKE3 file beside its own; -1
    // gives one per usable CPU but the file's own, 0 never splits a file.
    int blake3Helpers = -1;
    // Small files opened, read and closed in batches where the kernel
    // allows it; false keeps to one system call at a time.
    bool batchedReads = true;
};

}  // namespace velmar
