#include "checksum/CpuFeatures.h"

#if defined(__x86_64__)
#include <cpuid.h>
#endif

#include <cstdint>

namespace velmar {
namespace {

struct Features {
    bool sse41 = false, pclmul = false, avx2 = false, vpclmulqdq = false, avx512vl = false, avx512bw = false;
};

#if defined(__x86_64__)

// XCR0, the register state the operating system saves on a context switch.
std::uint64_t EnabledStateMask() {
    std::uint32_t lo, hi;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return std::uint64_t{hi} << 32 | lo;
}

Features Detect() {
    Features f;
    unsigned eax, ebx, ecx, edx;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return f;
    f.sse41 = ecx & bit_SSE4_1;
    f.pclmul = ecx & bit_PCLMUL;
    // The ymm registers are only usable if the OS saves the SSE and AVX
    // states (XCR0 bits 1 and 2); AVX-512 instructions fault, even on ymm
    // registers, unless it also saves the opmask and both upper-zmm states
    // (bits 5, 6 and 7). A CPU that has the instructions under an OS or
    // hypervisor that leaves them out would fault.
    if (!(ecx & bit_AVX) || !(ecx & bit_OSXSAVE)) return f;
    const std::uint64_t saved = EnabledStateMask();
    if ((saved & 0x06) != 0x06 || !__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return f;
    f.avx2 = ebx & bit_AVX2;
    f.vpclmulqdq = ecx & bit_VPCLMULQDQ;
    f.avx512vl = f.avx2 && (saved & 0xE6) == 0xE6 && (ebx & bit_AVX512F) && (ebx & bit_AVX512VL);
    f.avx512bw = f.avx512vl && (ebx & bit_AVX512BW);
    return f;
}

#else

Features Detect() { return {}; }

#endif

const Features& Detected() {
    static const Features features = Detect();
    return features;
}

}  // namespace

bool CpuHasSse41() { return Detected().sse41; }
bool CpuHasPclmul() { return Detected().pclmul; }
bool CpuHasAvx2() { return Detected().avx2; }
bool CpuHasVpclmulqdq() { return Detected().vpclmulqdq; }
bool CpuHasAvx512Vl() { return Detected().avx512vl; }
bool CpuHasAvx512Bw() { return Detected().avx512bw; }

}  // namespace velmar
