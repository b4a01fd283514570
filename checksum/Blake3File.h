// One large file's BLAKE3 on several cores. The tree lets whole subtrees
// of a file be hashed apart: the file is cut into pieces of
// Blake3SplitPiece bytes, each a subtree on its own, which every thread
// takes in turn, reading its piece with positional reads into its own
// buffer; their chaining values are then joined in order.
#pragma once

#include <cstdint>
#include <optional>

#include "checksum/Blake3.h"
#include "checksum/DigestWatch.h"
#include "checksum/ReadingHelp.h"
#include "platform/Files.h"
#include "platform/ReadBuffer.h"

namespace velmar {

// A piece: 1024 chunks, two reads of CrcReadChunk, a power of two as a
// subtree must be. Small enough that the last thread to finish waits for
// little; large enough that taking it costs nothing.
inline constexpr std::uint64_t Blake3SplitPiece = std::uint64_t{1} << 20;

// The smallest file split: eight pieces. Below that the gain over one
// thread, whose read-ahead already overlaps the copy out of the page cache
// with the hashing, is a millisecond at most, and the threads' shares of so
// few pieces are uneven.
inline constexpr std::uint64_t Blake3SplitSize = 8 * Blake3SplitPiece;

// What a file split over several threads came to: its digest, the bytes
// read, and the errno of a read that failed part way (the digest then of
// the bytes before it).
struct Blake3FileSplit {
    std::array<std::uint8_t, Blake3DigestSize> digest{};
    std::uint64_t length = 0;
    int error = 0;
    bool stopped = false;  // the watch stopped it: the digest means nothing
};

// A file's BLAKE3 on several threads, or nothing when one thread should
// do (see SplitHelpers). The helpers are threads of the job's pool, taken
// only when idle (or while the pool may grow):
// the file waits for none of them to come, only for those that came to
// finish the piece in hand.
//
// Honours the watch on every thread within a block, and counts every
// block read. A read error gives ReadFailed with its errno and the digest
// of the bytes before it; a file that shrinks or grows while read gives
// the digest of what was read, front to back, as one thread would.
std::optional<Blake3FileSplit> Blake3OnCores(InputFile& file, ReadBuffer& buffer, const DigestWatch& watch,
                                             const ReadingHelp& help);

}  // namespace velmar
