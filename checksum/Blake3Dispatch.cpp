// Picks the widest BLAKE3 lane kernel the CPU and operating system support.
#include "checksum/Blake3Kernels.h"
#include "checksum/CpuFeatures.h"

namespace velmar::blake3 {
namespace {

struct Choice {
    HashManyKernel kernel;
    const char* name;
};

Choice Choose() {
    if (CpuHasAvx512Vl()) return {HashManyAvx512, "avx512"};
    if (CpuHasAvx2()) return {HashManyAvx2, "avx2"};
    if (CpuHasSse41()) return {HashManySse41, "sse41"};
    return {HashManyPortable, "portable"};
}

const Choice& Chosen() {
    static const Choice choice = Choose();
    return choice;
}

}  // namespace

HashManyKernel BestHashMany() { return Chosen().kernel; }
const char* BestHashManyName() { return Chosen().name; }

}  // namespace velmar::blake3
