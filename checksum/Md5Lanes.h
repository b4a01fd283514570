// MD5 over several independent messages at once. One message leaves most of
// a core idle, because every step waits for the one before; sixteen messages
// side by side, two groups of eight in 256-bit registers, take far less than
// sixteen times as long.
#pragma once

#include <cstddef>
#include <cstdint>

#include "checksum/Md5.h"

namespace velmar {

inline constexpr int Md5Lanes = 16;

// Absorbs `blocks` whole 64-byte blocks into each context i < Md5Lanes whose
// contexts[i] is not nullptr, from data[i]. Every given context must be at a
// block boundary (no buffered bytes: (bitCount[0] / 8) % 64 == 0). The result is
// exactly what MD5Update(contexts[i], data[i], blocks * 64) gives; lanes given as
// nullptr are left alone (their data pointer is ignored). Uses the AVX-512VL kernel,
// else the AVX2 one, when the CPU and OS offer it, else MD5Transform lane by lane.
// Eight or fewer live lanes, wherever they are, cost one group of eight;
// one alone goes the plain way.
void MD5UpdateLanes(MD5Context* const contexts[Md5Lanes], const std::uint8_t* const data[Md5Lanes],
                    std::size_t blocks);

// The name of the kernel MD5UpdateLanes uses ("avx512vlx16", "avx2x16" or "scalar").
const char* Md5LanesKernelName();

}  // namespace velmar
