// The individual CRC-32 kernels behind Crc32Update. All take and return the
// running (not yet complemented) value and give identical results; tests
// hold every one of them to the byte-at-a-time reference.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmar::crc32 {

// One table lookup per byte: the rule every other kernel must match.
std::uint32_t UpdateBytewise(std::uint32_t crc, const std::uint8_t* p, std::size_t n);

// Sixteen bytes per step over tables derived from CrcTable.
std::uint32_t UpdateSlicing16(std::uint32_t crc, const std::uint8_t* p, std::size_t n);

// Carry-less multiply folding, 64 bytes per step (PCLMULQDQ, SSE4.1).
std::uint32_t UpdateClmul(std::uint32_t crc, const std::uint8_t* p, std::size_t n);

// The same folding on 256-bit registers, 128 bytes per step (VPCLMULQDQ, AVX2).
std::uint32_t UpdateVpclmul256(std::uint32_t crc, const std::uint8_t* p, std::size_t n);

// The same folding on 512-bit registers, 256 bytes per step (VPCLMULQDQ, AVX-512).
std::uint32_t UpdateVpclmul(std::uint32_t crc, const std::uint8_t* p, std::size_t n);

// A multiplier for the carry-less folding kernels: x^exponent modulo the
// polynomial, bit-reflected and shifted left by one, the form PCLMULQDQ needs
// in the reflected domain. Folding a 128-bit block forward by d bits
// multiplies its low half by FoldConstant(d + 32) and its high half by
// FoldConstant(d - 32).
constexpr std::uint64_t FoldConstant(unsigned exponent) {
    // Multiplying by x in the reflected domain is a right shift; x^0 is the top bit.
    std::uint32_t r = 0x80000000u;
    for (unsigned i = 0; i < exponent; ++i) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
    return std::uint64_t{r} << 1;
}

bool CpuHasClmul();
bool CpuHasVpclmul256();
bool CpuHasVpclmul();

using Kernel = std::uint32_t (*)(std::uint32_t, const std::uint8_t*, std::size_t);

// The kernel Crc32Update uses, chosen once from what the CPU offers.
Kernel BestKernel();
const char* BestKernelName();

}  // namespace velmar::crc32
