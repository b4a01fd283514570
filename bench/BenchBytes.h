// The input of the in-memory benchmarks: bytes no compressor or branch
// predictor makes easy, the same on every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmar::bench {

inline std::vector<std::uint8_t> PseudoRandomBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t x = 0x9e3779b9;  // xorshift32
    for (auto& byte : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        byte = static_cast<std::uint8_t>(x);
    }
    return bytes;
}

}  // namespace velmar::bench
