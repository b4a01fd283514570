// Whether this process may read files in batches through io_uring. Where it
// may not (a kernel built without it or too old, io_uring_disabled, a
// seccomp filter of a container or sandbox), files are read the plain way.
#pragma once

namespace velmar {

// Asked of the kernel once per process, on first use; safe on any thread.
bool BatchedReadsUsable();

// Asks the kernel afresh: sets up a ring as a batch reader would and sends a
// request through it. Under a seccomp filter, which might kill the process
// rather than refuse, the ring is tried in a forked child.
bool ProbeBatchedReads();

}  // namespace velmar
