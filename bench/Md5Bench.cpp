// MD5Update over 256 MiB in memory: in the 1,024-byte calls the file reader
// makes, and in one call that hands every block straight to the compressor.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "checksum/Md5.h"

namespace {

constexpr std::size_t Md5BenchBytes = std::size_t{256} << 20;

const std::vector<std::uint8_t>& Md5BenchData() {
    static const std::vector<std::uint8_t> data = [] {
        std::vector<std::uint8_t> v(Md5BenchBytes);
        std::uint32_t x = 0x9e3779b9;
        for (auto& byte : v) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            byte = static_cast<std::uint8_t>(x);
        }
        return v;
    }();
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

}  // namespace
