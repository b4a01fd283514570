// CRC-32 kernels in memory, next to the library implementations on this
// machine. Two sizes: 256 MiB streams from DRAM; 512 KiB is one file read's
// worth and sits in L2, which is what the kernels see while checking files.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "checksum/Crc32.h"
#include "checksum/Crc32Kernels.h"

#ifdef VELMAR_HAVE_ZLIB
#include <zlib.h>
#endif
#ifdef VELMAR_HAVE_ISAL
#include <isa-l/crc.h>
#endif

namespace {

using namespace velmar;

constexpr std::size_t kLarge = std::size_t{256} << 20;
constexpr std::size_t kL2 = CrcReadChunk;

// Random bytes, touched once up front so page faults stay out of the timing.
const std::vector<std::uint8_t>& Data() {
    static const std::vector<std::uint8_t> data = [] {
        std::vector<std::uint8_t> v(kLarge);
        std::mt19937_64 rng(42);
        for (std::size_t i = 0; i < v.size(); i += 8) {
            const std::uint64_t r = rng();
            for (int b = 0; b < 8; ++b) v[i + b] = static_cast<std::uint8_t>(r >> (8 * b));
        }
        return v;
    }();
    return data;
}

// The final value of a sample whose length exercises every kernel's tail;
// the library implementations must agree with it before they are timed.
std::uint32_t Expected() {
    static const std::uint32_t value =
        Crc32Final(crc32::UpdateBytewise(Crc32Init(), Data().data(), 100003));
    return value;
}

void Run(benchmark::State& state, crc32::Kernel kernel) {
    const std::size_t n = static_cast<std::size_t>(state.range(0));
    const std::uint8_t* p = Data().data();
    if (Crc32Final(kernel(Crc32Init(), p, 100003)) != Expected()) {
        state.SkipWithError("kernel disagrees with the reference");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(kernel(Crc32Init(), p, n));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * n));
}

void BM_Crc32Bytewise(benchmark::State& state) { Run(state, crc32::UpdateBytewise); }
void BM_Crc32Slicing16(benchmark::State& state) { Run(state, crc32::UpdateSlicing16); }

void BM_Crc32Clmul(benchmark::State& state) {
    if (!crc32::CpuHasClmul()) return state.SkipWithError("no PCLMULQDQ");
    Run(state, crc32::UpdateClmul);
}

void BM_Crc32Vpclmul256(benchmark::State& state) {
    if (!crc32::CpuHasVpclmul256()) return state.SkipWithError("no VPCLMULQDQ/AVX2");
    Run(state, crc32::UpdateVpclmul256);
}
void BM_Crc32Vpclmul(benchmark::State& state) {
    if (!crc32::CpuHasVpclmul()) return state.SkipWithError("no VPCLMULQDQ/AVX-512");
    Run(state, crc32::UpdateVpclmul);
}

BENCHMARK(BM_Crc32Bytewise)->Arg(kLarge)->Arg(kL2);
BENCHMARK(BM_Crc32Slicing16)->Arg(kLarge)->Arg(kL2);
BENCHMARK(BM_Crc32Clmul)->Arg(kLarge)->Arg(kL2);
BENCHMARK(BM_Crc32Vpclmul256)->Arg(kLarge)->Arg(kL2);
BENCHMARK(BM_Crc32Vpclmul)->Arg(kLarge)->Arg(kL2);

// zlib and ISA-L take and return the final (complemented) value, 0 to start.
#ifdef VELMAR_HAVE_ZLIB
void BM_Crc32Zlib(benchmark::State& state) {
    const std::size_t n = static_cast<std::size_t>(state.range(0));
    const std::uint8_t* p = Data().data();
    if (::crc32(0, p, 100003) != Expected()) return state.SkipWithError("zlib disagrees");
    for (auto _ : state) benchmark::DoNotOptimize(::crc32(0, p, static_cast<uInt>(n)));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * n));
}
BENCHMARK(BM_Crc32Zlib)->Arg(kLarge)->Arg(kL2);
#endif

#ifdef VELMAR_HAVE_ISAL
void BM_Crc32Isal(benchmark::State& state) {
    const std::size_t n = static_cast<std::size_t>(state.range(0));
    const std::uint8_t* p = Data().data();
    if (crc32_gzip_refl(0, p, 100003) != Expected()) return state.SkipWithError("ISA-L disagrees");
    for (auto _ : state) benchmark::DoNotOptimize(crc32_gzip_refl(0, p, n));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * n));
}
BENCHMARK(BM_Crc32Isal)->Arg(kLarge)->Arg(kL2);
#endif

}  // namespace
