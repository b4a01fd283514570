#include "platform/ReadRing.h"

#include <cerrno>
#include <cstring>

namespace velmar {
namespace {

bool SupportsReadOps(io_uring& ring) {
    // The probe's room on the stack: io_uring_get_probe would allocate it.
    alignas(io_uring_probe) unsigned char room[sizeof(io_uring_probe) + 256 * sizeof(io_uring_probe_op)];
    std::memset(room, 0, sizeof room);
    auto* probe = reinterpret_cast<io_uring_probe*>(room);
    if (io_uring_register_probe(&ring, probe, 256) < 0) return false;
    for (const int op : {IORING_OP_STATX, IORING_OP_OPENAT, IORING_OP_READ, IORING_OP_CLOSE})
        if (!io_uring_opcode_supported(probe, op)) return false;
    return true;
}

}  // namespace

int SetUpReadRing(io_uring& ring, unsigned entries, unsigned files) {
    io_uring_params params{};
    // SUBMIT_ALL: a request that fails to start does not leave the ones
    // after it in the queue, to be sent with the next batch. SINGLE_ISSUER
    // and DEFER_TASKRUN: one thread owns the ring, and the kernel finishes
    // its requests when that thread waits for them rather than interrupting
    // it. Kernels older than 6.1 refuse these, and read the plain way.
    params.flags = IORING_SETUP_SUBMIT_ALL | IORING_SETUP_SINGLE_ISSUER | IORING_SETUP_DEFER_TASKRUN;
    if (const int refused = io_uring_queue_init_params(entries, &ring, &params); refused < 0) return refused;
    const int result = SupportsReadOps(ring) ? io_uring_register_files_sparse(&ring, files) : -EOPNOTSUPP;
    if (result < 0) {
        io_uring_queue_exit(&ring);
        return result;
    }
    return 0;
}

}  // namespace velmar
