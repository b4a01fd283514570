// How each file of a job is read, decided here and nowhere else: by how
// many workers and whether the disk goes in turn; in a batch with others or
// on its own; through the disk's one reader; one block ahead of its hashing,
// or split over the cores. The engine and the whole-file digest carry out
// what these say.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "checksum/EngineOptions.h"
#include "checksum/FileDigest.h"
#include "checksum/ReadingHelp.h"
#include "platform/DeviceKind.h"
#include "platform/Files.h"

namespace velmar {

// `options` with what they leave open decided for the files of `rows` rows
// in `folder`. Workers: one per CPU this process may use; where the disk
// spins or its kind cannot be told (reading several large files at once
// would make it seek back and forth), with the disk in turn, so that files
// already in memory (just copied, or read before) are not read one at a
// time while those that need the disk are; unless a few reads of the files
// themselves find its seeks as cheap as flash's. Helpers for one large
// BLAKE3 file: the CPUs but the file's own. `tree` tells the kinds of devices.
EngineOptions EngineOptionsFor(const std::string& folder, EngineOptions options, int rows = 0,
                               const std::function<std::string(int row)>& pathOf = nullptr,
                               const SystemTree& tree = {});

// Workers read small files in batches (where the kernel allows it): not on
// a disk read in turn, which must be asked for one file at a time.
bool ReadsInBatches(const EngineOptions& options);
// A batch: this many files, each read whole when it is under the capacity;
// a larger one is read again the plain way.
inline constexpr int BatchFiles = 64;
inline constexpr std::size_t BatchCapacity = 65536;
// After a batch that found no file small enough, a worker reads this many
// rows the plain way before it tries a batch again: a set of large files
// pays for a batch's wasted reads once in a while, not every time.
inline constexpr int PlainRowsAfterLargeFiles = 256;

// On a disk read in turn, the largest file announced to it ahead of its row,
// whole: by its row it is in memory, or on its way, and is read beside the
// others; a larger one is left to the disk's reader.
inline constexpr std::uint64_t AnnouncedFileSize = 8 * 1048576;
// On a disk read in turn: whether the page cache is asked about the file of
// `row`, `size` bytes long. Every file larger than one read-ahead request
// is (one system call on the descriptor read anyway), and one small file in
// sixteen, which tells whether small files are to be announced.
bool AsksPageCache(std::uint64_t size, int row);
// On a disk read in turn: whether the file goes to the disk's one reader,
// `uncached` of its `size` bytes out of memory. What a file may lack and
// still be read beside others is one request of the kernel's read-ahead:
// the disk seeks for a file that small anyway, one at a time or not; what
// it must not do is go back and forth between two large files. A file
// announced is on its way already.
bool ThroughDiskReader(std::uint64_t size, std::uint64_t uncached);

// How many of the pool's threads help to hash `file` by `algorithm` beside
// its own, 0 for none: BLAKE3 files of Blake3SplitSize and more, no more
// than an eighth of them out of memory (several readers would make a disk
// seek, and one core hashes faster than most devices deliver).
int SplitHelpers(DigestAlgorithm algorithm, const InputFile& file, const ReadingHelp& help);
// How many threads share the digests of one file read for `algorithms`
// algorithms at once (each block goes to every one): the file's own and
// the helpers `help` allows, no more than the algorithms; one for a file
// smaller than EachWaySpreadSize, whose few blocks do not pay for handing
// each one over.
inline constexpr std::uint64_t EachWaySpreadSize = 8 * 1048576;
int EachWayThreads(std::size_t algorithms, const InputFile& file, const ReadingHelp& help);
// Whether a file longer than one read is read one block ahead of its
// hashing on the pool: not for a CRC, XXH3 or XXH128, which run faster than
// the copy out of the page cache, so that handing their blocks from core to
// core costs more than the overlap saves.
bool ReadsAhead(DigestAlgorithm algorithm, const ReadingHelp& help);

}  // namespace velmar
