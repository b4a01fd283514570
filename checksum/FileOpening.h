// The start every whole-file digest makes alike, one file at a time
// (DigestFile) or several side by side (Md5FileLanes); the rest of
// DigestFile for a caller that opened the file itself to look at it first;
// and the digest of blocks that another thread reads.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "checksum/FileDigest.h"
#include "checksum/ReadingHelp.h"
#include "platform/Files.h"

namespace velmar {

// Opens `path` into `file` unless the watch is stopped. Nothing when the file
// is open; else the digest that is the whole answer: Stopped, or OpenFailed
// with `missing` set when nothing is at the path.
std::optional<FileDigest> OpenToDigest(InputFile& file, const std::string& path, const DigestWatch& watch);

// Gives the block in hand back and sets `data` to the next: its length, 0
// at the end of the file, negative after a read error.
using NextBlock = std::function<ssize_t(const std::uint8_t*& data)>;

// The digest of the blocks `next` gives, honouring the watch after each.
FileDigest DigestBlocks(DigestAlgorithm algorithm, const NextBlock& next, const DigestWatch& watch);

// `digest` of `file`, with the reason its read failed, if it did.
FileDigest WithReadError(FileDigest digest, const InputFile& file);

// DigestFile once `file` is open.
FileDigest DigestOpenFile(DigestAlgorithm algorithm, InputFile& file, ReadBuffer& buffer, const DigestWatch& watch,
                          const ReadingHelp& help = {});

}  // namespace velmar
