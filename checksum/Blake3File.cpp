#include "checksum/Blake3File.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <memory>
#include <utility>
#include <vector>

#include "checksum/Blake3.h"
#include "checksum/Crc32.h"
#include "checksum/FileReading.h"

namespace velmar {
namespace {

constexpr std::uint64_t PieceChunks = Blake3SplitPiece / Blake3ChunkSize;
constexpr std::uint64_t NoPiece = std::numeric_limits<std::uint64_t>::max();

// The first piece a thread read short of its end (the file's last piece, a
// file that shrank, or a read error), as far as it was read.
struct ShortPiece {
    std::uint64_t piece = NoPiece;
    std::uint64_t bytes = 0;
    int error = 0;
    Blake3Hasher hasher;
};

struct Split {
    InputFile& file;
    const DigestWatch& watch;
    std::uint64_t size;
    std::vector<std::array<std::uint8_t, Blake3DigestSize>> values;  // of each whole piece
    std::atomic<std::uint64_t> next{0};
    // No piece from here on is begun: one before it came up short.
    std::atomic<std::uint64_t> end;
    std::atomic<bool> stopped{false};
    // Slot 0 is the file's own thread's, the others its helpers'.
    std::vector<ShortPiece> shortPieces;
    Split(InputFile& f, const DigestWatch& w, std::uint64_t pieces, int helpers)
        : file(f), watch(w), size(f.OpenedSize()), values(pieces), end(pieces),
          shortPieces(static_cast<std::size_t>(helpers) + 1) {}
};

// Reads on from `at` to `to`, the file's end or a read error, into
// `hasher`, counting every block; false once the watch is stopped.
bool ReadInto(const InputFile& file, std::uint8_t* buffer, std::size_t readSize, std::uint64_t& at,
              std::uint64_t to, Blake3Hasher& hasher, const DigestWatch& watch, int& error) {
    while (at < to) {
        const ssize_t n = file.ReadAt(buffer, std::min<std::uint64_t>(readSize, to - at), at, error);
        if (n <= 0) break;
        hasher.Update(buffer, static_cast<std::size_t>(n));
        at += static_cast<std::uint64_t>(n);
        watch.Read(static_cast<std::uint64_t>(n));
        if (watch.Stopped()) return false;
    }
    return true;
}

void HashPieces(Split& split, std::uint8_t* buffer, std::size_t readSize, ShortPiece& shortPiece) {
    for (;;) {
        const std::uint64_t piece = split.next.fetch_add(1);
        if (piece >= split.end.load() || split.stopped) return;
        const std::uint64_t from = piece * Blake3SplitPiece, to = std::min(from + Blake3SplitPiece, split.size);
        Blake3Hasher hasher(piece * PieceChunks);
        std::uint64_t at = from;
        int error = 0;
        if (!ReadInto(split.file, buffer, readSize, at, to, hasher, split.watch, error)) {
            split.stopped = true;
            return;
        }
        if (at == from + Blake3SplitPiece) {
            hasher.SubtreeValue(split.values[piece].data());
            continue;
        }
        // Pieces are taken in order, so this thread's first short piece is
        // its earliest; later pieces no longer matter to anyone.
        shortPiece.piece = piece;
        shortPiece.bytes = at - from;
        shortPiece.error = error;
        shortPiece.hasher = hasher;
        for (std::uint64_t end = split.end.load(); piece + 1 < end && !split.end.compare_exchange_weak(end, piece + 1);) {
        }
        return;
    }
}

// A helper's read buffer, made once for each thread of the pool that helps.
ReadBuffer& HelperBuffer() {
    thread_local std::unique_ptr<ReadBuffer> buffer;
    if (!buffer) buffer = std::make_unique<ReadBuffer>(CrcReadChunk);
    return *buffer;
}

// Offers the split to up to `helpers` threads of the pool, hashes pieces on
// this thread as well, and returns once every helper that came has ended.
void HashOnCores(Split& split, const ReadingHelp& help, int helpers, ReadBuffer& buffer, std::size_t readSize) {
    std::mutex mutex;
    std::condition_variable ended;
    int running = 0;
    for (int i = 1; i <= helpers; ++i) {
        ShortPiece& shortPiece = split.shortPieces[static_cast<std::size_t>(i)];
        {
            std::lock_guard lock(mutex);
            ++running;
        }
        const bool taken = help.pool->TryRun([&split, &shortPiece, &mutex, &ended, &running] {
            try {
                ReadBuffer& own = HelperBuffer();
                HashPieces(split, own.data(), own.size(), shortPiece);
            } catch (const std::bad_alloc&) {
                // one helper fewer: the others take its pieces
            }
            std::lock_guard lock(mutex);
            if (--running == 0) ended.notify_all();
        });
        if (!taken) {
            std::lock_guard lock(mutex);
            --running;
            break;
        }
    }
    HashPieces(split, buffer.data(), readSize, split.shortPieces[0]);
    std::unique_lock lock(mutex);
    ended.wait(lock, [&] { return running == 0; });
}

}  // namespace

std::optional<Blake3FileSplit> Blake3OnCores(InputFile& file, ReadBuffer& buffer, const DigestWatch& watch,
                                             const ReadingHelp& help) {
    const int helpers = SplitHelpers(DigestAlgorithm::Blake3, file, help);
    if (helpers <= 0) return std::nullopt;
    const std::uint64_t pieces = (file.OpenedSize() + Blake3SplitPiece - 1) / Blake3SplitPiece;

    const std::size_t readSize = std::min(buffer.size(), CrcReadChunk);
    Split split(file, watch, pieces, helpers);
    HashOnCores(split, help, helpers, buffer, readSize);
    if (split.stopped) return Blake3FileSplit{.stopped = true};

    // The whole pieces in order, then the first short one as far as it went.
    const auto& shortPieces = split.shortPieces;
    const auto first = std::min_element(shortPieces.begin(), shortPieces.end(),
                                        [](const ShortPiece& a, const ShortPiece& b) { return a.piece < b.piece; });
    const std::uint64_t whole = std::min(first->piece, pieces);
    Blake3Hasher hasher;
    for (std::uint64_t piece = 0; piece < whole; ++piece) hasher.AppendSubtree(split.values[piece].data(), PieceChunks);
    std::uint64_t length = whole * Blake3SplitPiece;
    int error = 0;
    if (first->piece != NoPiece) {
        hasher.Append(first->hasher);
        length += first->bytes;
        error = first->error;
    }
    // Whatever the file gained since it was opened, as one thread reads on
    // to the end; after a file shrank, this finds the end at once.
    constexpr std::uint64_t NoEnd = std::numeric_limits<std::uint64_t>::max();
    if (error == 0 && !ReadInto(file, buffer.data(), readSize, length, NoEnd, hasher, watch, error))
        return Blake3FileSplit{.stopped = true};
    // Exactly the first piece, when the file was cut back to it while it was
    // read or a read failed right after it: that piece's value was taken as
    // a subtree's below the root, and the root is its own top node. Rare;
    // the piece is read again (up to where an error stopped the first read).
    if (length == Blake3SplitPiece) {
        hasher = Blake3Hasher();
        length = 0;
        int again = 0;
        if (!ReadInto(file, buffer.data(), readSize, length, error ? Blake3SplitPiece : NoEnd, hasher, watch, again))
            return Blake3FileSplit{.stopped = true};
        if (again) error = again;
    }
    Blake3FileSplit done{.length = length, .error = error};
    hasher.Final(done.digest.data());
    return done;
}

}  // namespace velmar
