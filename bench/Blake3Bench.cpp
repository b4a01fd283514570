// One core's BLAKE3 rate on 1 MiB in cache: each lane kernel by itself on
// the file's chunks (16 blocks each, a batch of 64 a call), and the hasher
// in the 512 KiB updates a file's reads make, which adds the parents.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bench/BenchBytes.h"
#include "checksum/Blake3.h"
#include "checksum/Blake3Kernels.h"
#include "checksum/CpuFeatures.h"

namespace {

constexpr std::size_t Blake3BenchBytes = std::size_t{1} << 20;

const std::vector<std::uint8_t>& Blake3BenchData() {
    static const std::vector<std::uint8_t> data = velmar::bench::PseudoRandomBytes(Blake3BenchBytes);
    return data;
}

void BM_Blake3Kernel(benchmark::State& state, velmar::blake3::HashManyKernel kernel, bool (*available)()) {
    if (!available()) {
        state.SkipWithError("not supported on this CPU");
        return;
    }
    using namespace velmar;
    const auto& data = Blake3BenchData();
    constexpr std::size_t batch = 64, chunks = Blake3BenchBytes / Blake3ChunkSize;
    const std::uint8_t* inputs[batch];
    std::uint8_t out[batch * Blake3DigestSize];
    for (auto _ : state) {
        for (std::size_t first = 0; first < chunks; first += batch) {
            for (std::size_t i = 0; i < batch; ++i) inputs[i] = data.data() + (first + i) * Blake3ChunkSize;
            kernel(inputs, batch, Blake3ChunkSize / Blake3BlockSize, first, true, 0, blake3::ChunkStart,
                   blake3::ChunkEnd, out);
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
bool Always() { return true; }
BENCHMARK_CAPTURE(BM_Blake3Kernel, portable, velmar::blake3::HashManyPortable, Always);
BENCHMARK_CAPTURE(BM_Blake3Kernel, sse41, velmar::blake3::HashManySse41, velmar::CpuHasSse41);
BENCHMARK_CAPTURE(BM_Blake3Kernel, avx2, velmar::blake3::HashManyAvx2, velmar::CpuHasAvx2);
BENCHMARK_CAPTURE(BM_Blake3Kernel, avx512, velmar::blake3::HashManyAvx512, velmar::CpuHasAvx512Vl);

// A whole input of the argument's size in updates of up to 512 KiB, as a
// file is read: a small file's digest is mostly its tree's edges.
void BM_Blake3Hasher512KiBUpdates(benchmark::State& state) {
    const auto& data = Blake3BenchData();
    const std::size_t size = std::min(data.size(), static_cast<std::size_t>(state.range(0)));
    velmar::Blake3Hasher hasher;
    for (auto _ : state) {
        for (std::size_t at = 0; at < size; at += 524288)
            hasher.Update(data.data() + at, std::min<std::size_t>(524288, size - at));
        std::uint8_t digest[velmar::Blake3DigestSize];
        hasher.Final(digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_Blake3Hasher512KiBUpdates)->Arg(4096)->Arg(65536)->Arg(1 << 20);

}  // namespace
