// MD5Update over 256 MiB in memory: in the 1,024-byte calls the file reader
// makes, and in one call that hands every block straight to the compressor.
// Then one core's rate on 1 MiB per message, which stays in cache: one
// message through MD5Update against sixteen side by side through
// MD5UpdateLanes, with the kernel it picked, and with each kernel by itself;
// then four live lanes of sixteen, as a worker with few files runs them.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bench/BenchBytes.h"
#include "checksum/Md5.h"
#include "checksum/Md5Lanes.h"
#include "checksum/Md5LanesKernels.h"

namespace {

constexpr std::size_t Md5BenchBytes = std::size_t{256} << 20;

const std::vector<std::uint8_t>& Md5BenchData() {
    static const std::vector<std::uint8_t> data = velmar::bench::PseudoRandomBytes(Md5BenchBytes);
    return data;
}

void BM_Md5Update1024ByteCalls(benchmark::State& state) {
    const auto& data = Md5BenchData();
    for (auto _ : state) {
        velmar::MD5Context context;
        velmar::MD5Init(&context);
        for (std::size_t offset = 0; offset < data.size(); offset += 1024) {
            velmar::MD5Update(&context, data.data() + offset, 1024);
        }
        std::uint8_t digest[16];
        velmar::MD5Final(digest, &context);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_Md5Update1024ByteCalls)->Unit(benchmark::kMillisecond);

void BM_Md5UpdateOneCall(benchmark::State& state) {
    const auto& data = Md5BenchData();
    for (auto _ : state) {
        velmar::MD5Context context;
        velmar::MD5Init(&context);
        velmar::MD5Update(&context, data.data(), static_cast<std::uint32_t>(data.size()));
        std::uint8_t digest[16];
        velmar::MD5Final(digest, &context);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_Md5UpdateOneCall)->Unit(benchmark::kMillisecond);

constexpr std::size_t Md5LaneBytes = std::size_t{1} << 20;

void BM_MD5Update1MiB(benchmark::State& state) {
    const std::uint8_t* data = Md5BenchData().data();
    for (auto _ : state) {
        velmar::MD5Context context;
        velmar::MD5Init(&context);
        velmar::MD5Update(&context, data, static_cast<std::uint32_t>(Md5LaneBytes));
        benchmark::DoNotOptimize(context.state);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Md5LaneBytes));
}
BENCHMARK(BM_MD5Update1MiB)->Unit(benchmark::kMicrosecond);

// `live` 1 MiB messages, lane i from the i-th MiB of the data; the other
// lanes are idle.
void RunLanes(benchmark::State& state, velmar::md5lanes::Kernel update, int live = velmar::Md5Lanes) {
    velmar::MD5Context contexts[velmar::Md5Lanes];
    velmar::MD5Context* lanes[velmar::Md5Lanes] = {};
    const std::uint8_t* data[velmar::Md5Lanes] = {};
    for (int i = 0; i < live; ++i) {
        lanes[i] = &contexts[i];
        data[i] = Md5BenchData().data() + i * Md5LaneBytes;
    }
    for (auto _ : state) {
        for (auto& context : contexts) velmar::MD5Init(&context);
        update(lanes, data, Md5LaneBytes / 64);
        benchmark::DoNotOptimize(contexts);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * live * Md5LaneBytes));
}

void BM_MD5UpdateLanes16x1MiB(benchmark::State& state) {
    state.SetLabel(velmar::Md5LanesKernelName());
    RunLanes(state, velmar::MD5UpdateLanes);
}
BENCHMARK(BM_MD5UpdateLanes16x1MiB)->Unit(benchmark::kMicrosecond);

void BM_MD5UpdateLanes16x1MiBAvx2(benchmark::State& state) {
    if (!velmar::md5lanes::CpuHasAvx2()) return state.SkipWithError("no AVX2");
    RunLanes(state, velmar::md5lanes::UpdateAvx2);
}
BENCHMARK(BM_MD5UpdateLanes16x1MiBAvx2)->Unit(benchmark::kMicrosecond);

void BM_MD5UpdateLanes16x1MiBAvx512(benchmark::State& state) {
    if (!velmar::md5lanes::CpuHasAvx512Vl()) return state.SkipWithError("no AVX-512VL");
    RunLanes(state, velmar::md5lanes::UpdateAvx512Vl);
}
BENCHMARK(BM_MD5UpdateLanes16x1MiBAvx512)->Unit(benchmark::kMicrosecond);

void BM_MD5UpdateLanes16x1MiBScalar(benchmark::State& state) {
    RunLanes(state, velmar::md5lanes::UpdateScalar);
}
BENCHMARK(BM_MD5UpdateLanes16x1MiBScalar)->Unit(benchmark::kMicrosecond);

void BM_MD5UpdateLanes4of16x1MiB(benchmark::State& state) {
    state.SetLabel(velmar::Md5LanesKernelName());
    RunLanes(state, velmar::MD5UpdateLanes, 4);
}
BENCHMARK(BM_MD5UpdateLanes4of16x1MiB)->Unit(benchmark::kMicrosecond);

}  // namespace
