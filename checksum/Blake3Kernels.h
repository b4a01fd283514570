// The kernels that hash several BLAKE3 inputs side by side, one input in
// each lane of the vector registers: whole chunks, or parents (one block of
// two chaining values each). All give exactly what blake3::HashOne gives
// input by input; tests hold each of them to it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmar::blake3 {

// Hashes inputs[0..count) of `blocks` blocks each as HashOne would, input i
// with the counter counter + i when `incrementCounter` (chunks), else
// `counter` (parents), into out + 32 * i. The inputs need no alignment.
using HashManyFunction = void(const std::uint8_t* const* inputs, std::size_t count, std::size_t blocks,
                              std::uint64_t counter, bool incrementCounter, std::uint8_t flags,
                              std::uint8_t flagsStart, std::uint8_t flagsEnd, std::uint8_t* out);
using HashManyKernel = HashManyFunction*;

// HashOne input by input.
HashManyFunction HashManyPortable;
// Four lanes in 128-bit registers. Only call when CpuHasSse41().
HashManyFunction HashManySse41;
// Eight lanes in 256-bit registers, the rest of a batch four at a time.
// Only call when CpuHasAvx2().
HashManyFunction HashManyAvx2;
// Sixteen lanes in 512-bit registers, the rest of a batch through the
// AVX2 kernel. Only call when CpuHasAvx512Vl().
HashManyFunction HashManyAvx512;

// The widest of them this CPU and operating system can run, chosen once.
HashManyKernel BestHashMany();
// Its name: "avx512", "avx2", "sse41" or "portable".
const char* BestHashManyName();

}  // namespace velmar::blake3
