// CRC-32 as SFV lists record it: reflected, polynomial 0xEDB88320, start
// value 0xFFFFFFFF, final complement (the value ZIP and Ethernet use).
#pragma once

#include <cstddef>
#include <cstdint>

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

}  // namespace velmar
