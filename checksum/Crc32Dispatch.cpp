// Picks the fastest CRC-32 kernel the CPU and operating system support.
#include "checksum/Crc32.h"
#include "checksum/Crc32Kernels.h"

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace velmar {
namespace crc32 {

namespace {

#if defined(__x86_64__)

struct CpuFeatures {
    bool clmul = false;
    bool vpclmul256 = false;
    bool vpclmul = false;
};

// XCR0, the register state the operating system saves on a context switch.
std::uint64_t EnabledStateMask() {
    std::uint32_t lo, hi;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return std::uint64_t{hi} << 32 | lo;
}

CpuFeatures Detect() {
    CpuFeatures f;
    unsigned eax, ebx, ecx, edx;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return f;
    const bool pclmul = ecx & bit_PCLMUL;
    const bool sse41 = ecx & bit_SSE4_1;
    const bool osxsave = ecx & bit_OSXSAVE;
    f.clmul = pclmul && sse41;  // the SSE registers are always saved on x86-64

    // The ymm registers are only usable if the OS saves the SSE and AVX
    // states (XCR0 bits 1 and 2), the zmm registers only if it also saves the
    // opmask and both upper-zmm states (bits 5, 6, 7); a CPU that has the
    // instructions under an OS or hypervisor that leaves them out would fault.
    if (!f.clmul || !osxsave) return f;
    const std::uint64_t saved = EnabledStateMask();
    if ((saved & 0x06) != 0x06 || !__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return f;
    f.vpclmul256 = (ebx & bit_AVX2) && (ecx & bit_VPCLMULQDQ);
    if ((saved & 0xE6) != 0xE6) return f;
    const bool avx512 = (ebx & bit_AVX512F) && (ebx & bit_AVX512BW) && (ebx & bit_AVX512VL);
    f.vpclmul = avx512 && (ecx & bit_VPCLMULQDQ);
    return f;
}

const CpuFeatures& Features() {
    static const CpuFeatures features = Detect();
    return features;
}

#endif

struct Choice {
    Kernel kernel;
    const char* name;
};

Choice Choose() {
    if (CpuHasVpclmul()) return {UpdateVpclmul, "vpclmul"};
    if (CpuHasVpclmul256()) return {UpdateVpclmul256, "vpclmul256"};
    if (CpuHasClmul()) return {UpdateClmul, "clmul"};
    return {UpdateSlicing16, "slicing16"};
}

const Choice& Chosen() {
    static const Choice choice = Choose();
    return choice;
}

}  // namespace

#if defined(__x86_64__)
bool CpuHasClmul() { return Features().clmul; }
bool CpuHasVpclmul256() { return Features().vpclmul256; }
bool CpuHasVpclmul() { return Features().vpclmul; }
#else
bool CpuHasClmul() { return false; }
bool CpuHasVpclmul256() { return false; }
bool CpuHasVpclmul() { return false; }
#endif

Kernel BestKernel() { return Chosen().kernel; }
const char* BestKernelName() { return Chosen().name; }

}  // namespace crc32

std::uint32_t Crc32Update(std::uint32_t crc, const void* data, std::size_t count) {
    return crc32::BestKernel()(crc, static_cast<const std::uint8_t*>(data), count);
}

}  // namespace velmar
