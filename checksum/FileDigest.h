// A whole file's digest by a named algorithm: one result shape for CRC-32,
// MD5, the SHA-1, SHA-2 and SHA-3 families, BLAKE2b, BLAKE3, XXH3 and
// XXH128, so that a list kind names its algorithm and everything else about
// checking a file is written once.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "checksum/DigestWatch.h"
#include "checksum/ReadingHelp.h"
#include "platform/ReadBuffer.h"

namespace velmar {

enum class DigestAlgorithm { Crc32, Md5, Sha256, Sha1, Sha512, Blake2b, Blake3, Xxh3, Xxh128, Sha3_256, Sha3_512, Sha224, Sha384 };

// The digest's size in bytes: 4, 16, 32, 20, 64, 64, 32, 8, 16, 32, 64.
std::size_t DigestSize(DigestAlgorithm algorithm);

// The name users know the algorithm by: "CRC-32", "SHA-256", "XXH3-64".
const char* DigestName(DigestAlgorithm algorithm);

enum class FileDigestStatus {
    Ok,
    OpenFailed,  // the file does not exist, may not be read, or is no regular file
    ReadFailed,  // a read failed part way
    Stopped,     // the watch was stopped before the file's end
};

struct FileDigest {
    FileDigestStatus status = FileDigestStatus::OpenFailed;
    // The digest, most significant byte first (a CRC's 8 digits as SFV
    // lists write it). After a read failure it covers the bytes before the
    // error; a caller decides whether it may use that.
    std::array<std::uint8_t, 64> bytes{};
    std::size_t size = 0;
    bool missing = false;  // OpenFailed because nothing is at the path
    // Why the file could not be opened or read to its end: an errno value,
    // or NotRegularFile for a folder, FIFO or device.
    int error = 0;
    static constexpr int NotRegularFile = -1;
    std::uint64_t length = 0;     // the bytes read: the file's length once it was read whole
    bool foundElsewhere = false;  // its row's name led to no file; a fallback found this one

    // The lower-case digits, or nothing unless the whole file was read.
    std::string Text() const;
    // The digest's own digits, whatever the status.
    std::string Digits() const;
};

// A digest that ended because its watch was stopped.
FileDigest StoppedDigest();

// Reads the whole file in reads of at most CrcReadChunk bytes into `buffer`,
// with the reads ahead and the helpers `help` allows,
// which the caller keeps for its whole job so that no file costs an
// allocation. Reports a failure to the caller instead of ending anything.
// Once the watch is stopped it reads no further block, and a file not begun
// comes back Stopped unopened.
FileDigest DigestFile(DigestAlgorithm algorithm, const std::string& path, ReadBuffer& buffer,
                      const DigestWatch& watch = {}, const ReadingHelp& help = {});

// The digests of one file by each of `algorithms`, in one read of it: what
// tells apart two algorithms with digests of one size, and what a file
// checked against a pasted digest is. On a large file the algorithms share
// each block side by side on the threads `help` allows.
std::vector<FileDigest> DigestFileEachWay(const std::vector<DigestAlgorithm>& algorithms, const std::string& path,
                                          ReadBuffer& buffer, const DigestWatch& watch = {},
                                          const ReadingHelp& help = {});

inline FileDigest Crc32File(const std::string& path, ReadBuffer& buffer) {
    return DigestFile(DigestAlgorithm::Crc32, path, buffer);
}

// The CRC-32 a Crc32File result holds.
std::uint32_t Crc32Of(const FileDigest& digest);

}  // namespace velmar
