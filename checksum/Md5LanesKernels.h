// The kernels behind MD5UpdateLanes, each with its contract; tests hold the
// vector one to the lane-by-lane one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "checksum/Md5Lanes.h"

namespace velmar::md5lanes {

using Kernel = void (*)(MD5Context* const contexts[Md5Lanes], const std::uint8_t* const data[Md5Lanes],
                        std::size_t blocks);

// MD5Transform block by block, one lane after another.
void UpdateScalar(MD5Context* const contexts[Md5Lanes], const std::uint8_t* const data[Md5Lanes],
                  std::size_t blocks);

// The lanes in step in 256-bit registers, two interleaved groups of eight, or
// one when eight or fewer are live. Only call when CpuHasAvx2().
void UpdateAvx2(MD5Context* const contexts[Md5Lanes], const std::uint8_t* const data[Md5Lanes],
                std::size_t blocks);

// The same, with the AVX-512VL rotate and three-input logic instructions on
// the same 256-bit registers. Only call when CpuHasAvx512Vl().
void UpdateAvx512Vl(MD5Context* const contexts[Md5Lanes], const std::uint8_t* const data[Md5Lanes],
                    std::size_t blocks);

// AVX2 instructions and the ymm state saved by the operating system.
bool CpuHasAvx2();

// CpuHasAvx2(), AVX-512F and VL instructions, and the opmask and zmm state
// saved by the operating system.
bool CpuHasAvx512Vl();

}  // namespace velmar::md5lanes
