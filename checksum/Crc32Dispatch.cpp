// Picks the fastest CRC-32 kernel the CPU and operating system support.
#include "checksum/Crc32.h"
#include "checksum/Crc32Kernels.h"

#include "checksum/CpuFeatures.h"

namespace velmar {
namespace crc32 {

namespace {

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

bool CpuHasClmul() { return CpuHasPclmul() && CpuHasSse41(); }
bool CpuHasVpclmul256() { return CpuHasClmul() && CpuHasAvx2() && CpuHasVpclmulqdq(); }
bool CpuHasVpclmul() { return CpuHasClmul() && CpuHasAvx512Bw() && CpuHasVpclmulqdq(); }

Kernel BestKernel() { return Chosen().kernel; }
const char* BestKernelName() { return Chosen().name; }

}  // namespace crc32

std::uint32_t Crc32Update(std::uint32_t crc, const void* data, std::size_t count) {
    return crc32::BestKernel()(crc, static_cast<const std::uint8_t*>(data), count);
}

}  // namespace velmar
