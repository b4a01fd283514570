// What vector instructions the CPU has and the operating system lets a
// program use: the one check the kernels of every digest are chosen by.
#pragma once

namespace velmar {

// SSE4.1 and PCLMULQDQ (the SSE registers are always saved on x86-64).
bool CpuHasSse41();
bool CpuHasPclmul();
// AVX2, with the ymm state saved by the operating system.
bool CpuHasAvx2();
// VPCLMULQDQ, with the ymm state saved.
bool CpuHasVpclmulqdq();
// CpuHasAvx2(), AVX-512F and VL, with the opmask and zmm state saved.
bool CpuHasAvx512Vl();
// CpuHasAvx512Vl() and AVX-512BW.
bool CpuHasAvx512Bw();

}  // namespace velmar
