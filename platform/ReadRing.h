// The io_uring that batched file reads go through, set up alike by the
// reader and by the check whether this process may have one at all.
#pragma once

#include <liburing.h>

namespace velmar {

// Sets `ring` up with room for `entries` requests in flight and an empty
// table of `files` direct descriptors: 0, or the negative errno that refused
// it (the ring is then not set up). Every system call it makes is a plain
// one, without allocating, so that a forked child may make it too.
int SetUpReadRing(io_uring& ring, unsigned entries, unsigned files);

}  // namespace velmar
