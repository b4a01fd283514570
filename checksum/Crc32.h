// CRC-32 as SFV lists record it: reflected, polynomial 0xEDB88320, start
// value 0xFFFFFFFF, final complement (the value ZIP and Ethernet use).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ReadBuffer.h"

namespace velmar {

// Entry n is n put through eight shift-and-xor rounds of the polynomial.
extern const std::uint32_t CrcTable[256];

// Every read of a file being checked asks for this many bytes.
inline constexpr std::size_t CrcReadChunk = 524288;

inline std::uint32_t Crc32Init() { return 0xFFFFFFFFu; }

// Folds `count` bytes into the running value with the fastest kernel this
// CPU offers; the result is the same whichever kernel runs.
std::uint32_t Crc32Update(std::uint32_t crc, const void* data, std::size_t count);

inline std::uint32_t Crc32Final(std::uint32_t crc) { return crc ^ 0xFFFFFFFFu; }

struct Crc32FileResult {
    bool opened = false;      // false: the file does not exist, may not be read, or is no regular file
    bool readFailed = false;  // a read failed part way; `crc` covers the bytes before it
    std::uint32_t crc = 0;    // the final value (after Crc32Final)
};

// Reads the whole file in CrcReadChunk-byte reads into `buffer`, which the
// caller keeps for its whole job so that no file costs an allocation.
Crc32FileResult Crc32File(const std::string& path, ReadBuffer& buffer);

}  // namespace velmar
