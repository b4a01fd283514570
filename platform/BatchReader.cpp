#include "platform/BatchReader.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <vector>

#include "platform/BatchedReadSupport.h"
#include "platform/ReadBuffer.h"
#include "platform/ReadRing.h"

namespace velmar {
namespace {

// The requests of one file, in the order they run; a completion's tag is
// the file's place in the batch times Steps plus its step.
enum Step : unsigned { Stat, Open, ReadBytes, Close, Steps };

// A read's result must fit an int; four requests a file must fit the ring.
constexpr std::size_t MostCapacity = std::size_t{1} << 30;
constexpr std::size_t MostFiles = 4096;

// Long enough for a batch a disk must seek for; a request still running
// after it waits for what may never come: a FIFO's silent writer, a network
// server gone. It is cancelled, and its file is read the plain way.
constexpr __kernel_timespec Patience{.tv_sec = 1, .tv_nsec = 0};

// A cancelled read still lets its file's close run.
void CancelEverything(io_uring& ring) {
    io_uring_sync_cancel_reg everything{};
    everything.flags = IORING_ASYNC_CANCEL_ALL | IORING_ASYNC_CANCEL_ANY;
    everything.timeout = {.tv_sec = -1, .tv_nsec = -1};
    while (io_uring_register_sync_cancel(&ring, &everything) == -EINTR) {
    }
}

void Tag(io_uring_sqe* request, std::size_t file, Step step, unsigned flags) {
    request->flags |= static_cast<std::uint8_t>(flags);
    io_uring_sqe_set_data64(request, file * Steps + step);
}

}  // namespace

struct BatchReader::State {
    explicit State(BatchShape shape)
        : shape(shape), buffer(shape.files * shape.capacity), pending(shape.files), results(shape.files) {}
    ~State() {
        if (ringUp) io_uring_queue_exit(&ring);
    }

    // What the kernel answered for one file.
    struct Pending {
        struct statx stat;
        std::array<int, Steps> result;
    };

    const BatchShape shape;
    io_uring ring{};
    bool ringUp = false;
    bool spent = false;
    // Requests may still be running into the buffers: see ~BatchReader.
    bool unsettled = false;
    ReadBuffer buffer;  // file i's bytes at i * capacity
    std::vector<Pending> pending;
    std::vector<BatchedFile> results;
};

std::unique_ptr<BatchReader> BatchReader::Make(BatchShape shape, Batching batching) {
    if (batching == Batching::Off || shape.files == 0 || shape.files > MostFiles || shape.capacity == 0 ||
        shape.capacity > MostCapacity || !BatchedReadsUsable())
        return nullptr;
    auto state = std::make_unique<State>(shape);
    const auto files = static_cast<unsigned>(shape.files);
    if (SetUpReadRing(state->ring, Steps * files, files) < 0) return nullptr;
    state->ringUp = true;
    return std::unique_ptr<BatchReader>(new BatchReader(std::move(state)));
}

BatchReader::BatchReader(std::unique_ptr<State> state) : state_(std::move(state)) {}

BatchReader::~BatchReader() {
    // Closing the ring cancels its requests without waiting for them, and
    // one may still write into the buffers: they are left to the process.
    if (state_->unsettled) (void)state_.release();
}

std::span<const BatchedFile> BatchReader::Read(std::span<const std::string> paths) {
    State& s = *state_;
    const std::size_t count = std::min(paths.size(), s.shape.files);
    if (s.spent || count == 0) return {};
    for (std::size_t file = 0; file < count; ++file) Queue(file, paths[file]);
    const auto expected = static_cast<unsigned>(Steps * count);
    __kernel_timespec patience = Patience;
    io_uring_cqe* answer = nullptr;
    io_uring_submit_and_wait_timeout(&s.ring, &answer, expected, &patience, nullptr);
    // Every request submitted answers once, cancelled or not, and each is
    // waited for, so that nothing runs on when the next batch begins.
    const unsigned submitted = expected - io_uring_sq_ready(&s.ring);
    unsigned reaped = TakeAnswers();
    // The patience ran out (its return may not say so, once some answers
    // came), or a signal cut the wait short, which costs no more than
    // these files read the plain way.
    if (reaped < submitted) CancelEverything(s.ring);
    reaped += Reap(submitted - reaped);
    if (submitted != expected || reaped != expected) {
        s.spent = true;
        s.unsettled = reaped != submitted;
        return {};
    }
    for (std::size_t file = 0; file < count; ++file) s.results[file] = Outcome(file);
    return {s.results.data(), count};
}

void BatchReader::Queue(std::size_t file, const std::string& path) {
    State& s = *state_;
    State::Pending& pending = s.pending[file];
    pending.result.fill(-ECANCELED);
    const auto slot = static_cast<unsigned>(file);
    // The ring holds every request of a full batch, and the last batch's
    // are all answered, so there is always an entry for the next.
    io_uring_sqe* request = io_uring_get_sqe(&s.ring);
    // A failed statx does not end the chain: the open then fails alike.
    io_uring_prep_statx(request, AT_FDCWD, path.c_str(), 0, STATX_TYPE | STATX_SIZE, &pending.stat);
    Tag(request, file, Stat, IOSQE_IO_LINK);

    // Into the file's own slot of the ring's table, which no other thread
    // sees and no exec inherits (the kernel refuses O_CLOEXEC there).
    // O_NONBLOCK: the open of a FIFO without a writer would wait for one.
    // A failed open cancels the read and the close: nothing is open.
    request = io_uring_get_sqe(&s.ring);
    io_uring_prep_openat_direct(request, AT_FDCWD, path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK, 0, slot);
    Tag(request, file, Open, IOSQE_IO_LINK);

    // Not RWF_NOWAIT, which tmpfs refuses and which would fail every file
    // not in the page cache: a FIFO's silent writer is left to Patience. A read short of the capacity, as every small file's is,
    // severs an ordinary link: the close hangs on a hard one, so that it
    // runs whatever the read gave, or its cancellation, and no slot stays
    // open.
    request = io_uring_get_sqe(&s.ring);
    io_uring_prep_read(request, static_cast<int>(slot), s.buffer.data() + file * s.shape.capacity,
                       static_cast<unsigned>(s.shape.capacity), 0);
    Tag(request, file, ReadBytes, IOSQE_FIXED_FILE | IOSQE_IO_HARDLINK);

    request = io_uring_get_sqe(&s.ring);
    io_uring_prep_close_direct(request, slot);
    Tag(request, file, Close, 0);
}

unsigned BatchReader::TakeAnswers() {
    State& s = *state_;
    io_uring_cqe* answer = nullptr;
    unsigned head;
    unsigned taken = 0;
    io_uring_for_each_cqe(&s.ring, head, answer) {
        const std::uint64_t tag = io_uring_cqe_get_data64(answer);
        s.pending[tag / Steps].result[tag % Steps] = answer->res;
        ++taken;
    }
    io_uring_cq_advance(&s.ring, taken);
    return taken;
}

unsigned BatchReader::Reap(unsigned count) {
    State& s = *state_;
    unsigned reaped = 0;
    while (reaped < count) {
        __kernel_timespec patience = Patience;
        io_uring_cqe* answer = nullptr;
        const int waited = io_uring_wait_cqes(&s.ring, &answer, count - reaped, &patience, nullptr);
        if (waited == -ETIME) CancelEverything(s.ring);
        else if (waited < 0 && waited != -EINTR) break;
        reaped += TakeAnswers();
    }
    return reaped;
}

BatchedFile BatchReader::Outcome(std::size_t file) const {
    State& s = *state_;
    const State::Pending& pending = s.pending[file];
    const auto& result = pending.result;
    BatchedFile found;
    const int failure = result[Stat] < 0 ? result[Stat] : std::min(result[Open], 0);
    found.openError = -failure;
    found.missing = found.openError == ENOENT || found.openError == ENOTDIR;
    found.regular = failure == 0 && (pending.stat.stx_mask & STATX_TYPE) && S_ISREG(pending.stat.stx_mode);
    if (!found.regular) return found;
    found.size = pending.stat.stx_size;
    found.bytesRead = result[ReadBytes] > 0 ? static_cast<std::size_t>(result[ReadBytes]) : 0;
    found.whole = result[ReadBytes] >= 0 && (pending.stat.stx_mask & STATX_SIZE) && found.bytesRead == found.size &&
                  found.size < s.shape.capacity;
    found.data = {s.buffer.data() + file * s.shape.capacity, found.bytesRead};
    return found;
}

}  // namespace velmar
