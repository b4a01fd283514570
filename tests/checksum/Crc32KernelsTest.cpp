#include <gtest/gtest.h>

#include "tests/support/KernelCase.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "checksum/Crc32.h"
#include "checksum/Crc32Kernels.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define VELMAR_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define VELMAR_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define VELMAR_POISON(p, n) ((void)(p), (void)(n))
#define VELMAR_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace velmar::crc32 {
namespace {

std::vector<std::uint8_t> RandomBytes(std::size_t n, std::uint32_t stream) {
    std::mt19937 rng(stream);
    std::vector<std::uint8_t> v(n);
    for (auto& b : v) b = static_cast<std::uint8_t>(rng());
    return v;
}

std::uint32_t Reference(const std::vector<std::uint8_t>& v) {
    return UpdateBytewise(Crc32Init(), v.data(), v.size());
}

TEST(Crc32Reference, TableMatchesPublishedEntries) {
    EXPECT_EQ(CrcTable[0], 0x00000000u);
    EXPECT_EQ(CrcTable[1], 0x77073096u);
    EXPECT_EQ(CrcTable[128], 0xEDB88320u);
    EXPECT_EQ(CrcTable[255], 0x2D02EF8Du);
}

TEST(Crc32Reference, KnownValues) {
    const std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    const std::uint8_t ff[] = {0xFF};
    EXPECT_EQ(Crc32Final(UpdateBytewise(Crc32Init(), digits, 9)), 0xCBF43926u);
    EXPECT_EQ(Crc32Final(UpdateBytewise(Crc32Init(), ff, 1)), 0xFF000000u);
    EXPECT_EQ(Crc32Final(UpdateBytewise(Crc32Init(), nullptr, 0)), 0x00000000u);

    EXPECT_EQ(Crc32Final(Crc32Update(Crc32Init(), digits, 9)), 0xCBF43926u);
    EXPECT_EQ(Crc32Final(Crc32Update(Crc32Init(), ff, 1)), 0xFF000000u);
    EXPECT_EQ(Crc32Final(Crc32Update(Crc32Init(), nullptr, 0)), 0x00000000u);
}

// The kernels use FoldConstant for the 2048-bit distance, for which no
// published value is at hand; it must reproduce the ones that are.
TEST(Crc32Reference, FoldConstantReproducesPublishedMultipliers) {
    EXPECT_EQ(FoldConstant(512 + 32), 0x154442bd4u);
    EXPECT_EQ(FoldConstant(512 - 32), 0x1c6e41596u);
    EXPECT_EQ(FoldConstant(128 + 32), 0x1751997d0u);
    EXPECT_EQ(FoldConstant(128 - 32), 0x0ccaa009eu);
}

using KernelCase = test::KernelCase<Kernel>;
using test::Always;

std::uint32_t ViaCrc32Update(std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
    return Crc32Update(crc, p, n);
}

class Crc32Kernel : public test::KernelTest<Kernel> {
protected:
    std::uint32_t Update(std::uint32_t crc, const std::uint8_t* p, std::size_t n) const {
        return GetParam().update(crc, p, n);
    }
};

// A 64-byte aligned arena in which only the bytes handed to the kernel are
// addressable under AddressSanitizer, so a read past the end is caught (and
// a read before the start, down to ASan's 8-byte granule).
class Arena {
public:
    // Past 4096 so that long runs, which kernels may treat differently, are
    // also seen at every alignment.
    static constexpr std::size_t kMaxAlign = 64, kMaxLen = 4096 + 640, kSize = kMaxAlign + kMaxLen + 64;

    Arena() : storage_(kSize + 64) {
        const auto addr = reinterpret_cast<std::uintptr_t>(storage_.data());
        base_ = storage_.data() + ((64 - addr % 64) % 64);
    }
    ~Arena() { VELMAR_UNPOISON(base_, kSize); }

    void Fill(std::size_t align, const std::uint8_t* src, std::size_t n) {
        VELMAR_UNPOISON(base_, kSize);
        std::memcpy(base_ + align, src, n);
    }
    // Returns base + align with exactly `len` bytes readable from there.
    const std::uint8_t* Expose(std::size_t align, std::size_t len) {
        VELMAR_UNPOISON(base_, kSize);
        VELMAR_POISON(base_, align);
        VELMAR_POISON(base_ + align + len, kSize - align - len);
        return base_ + align;
    }

private:
    std::vector<std::uint8_t> storage_;
    std::uint8_t* base_;
};

TEST_P(Crc32Kernel, EveryLengthAtEveryAlignment) {
    const auto data = RandomBytes(Arena::kMaxLen, 1);
    // expected[len]: the reference value of the first len bytes.
    std::vector<std::uint32_t> expected(Arena::kMaxLen + 1);
    expected[0] = Crc32Init();
    for (std::size_t len = 1; len <= Arena::kMaxLen; ++len)
        expected[len] = UpdateBytewise(expected[len - 1], &data[len - 1], 1);

    Arena arena;
    for (std::size_t align = 0; align < Arena::kMaxAlign; ++align) {
        arena.Fill(align, data.data(), data.size());
        for (std::size_t len = 0; len <= Arena::kMaxLen; ++len) {
            const std::uint8_t* p = arena.Expose(align, len);
            const std::uint32_t got = Update(Crc32Init(), p, len);
            if (got != expected[len]) {
                ADD_FAILURE() << "length " << len << " at alignment " << align << ": got " << std::hex
                              << got << ", want " << expected[len];
                return;
            }
        }
    }
}

// Callers feed a file in reads of whatever size the system returns; pieces
// of every size from empty to several accumulator loops must chain.
TEST_P(Crc32Kernel, ChainsAcrossArbitrarySplits) {
    std::mt19937 rng(2);
    for (int trial = 0; trial < 300; ++trial) {
        const auto data = RandomBytes(rng() % 40000, rng());
        std::uint32_t crc = Crc32Init();
        std::size_t at = 0;
        while (at < data.size()) {
            // Piece lengths spread evenly over orders of magnitude, 0 to 16 KiB.
            std::size_t piece = rng() % (std::size_t{1} << (rng() % 15));
            piece = std::min(piece, data.size() - at);
            crc = Update(crc, data.data() + at, piece);
            at += piece;
        }
        ASSERT_EQ(crc, Reference(data)) << "trial " << trial << ", " << data.size() << " bytes";
    }
}

TEST_P(Crc32Kernel, LongInputs) {
    for (std::size_t n : {std::size_t{1} << 20, (std::size_t{3} << 20) + 255}) {
        const auto data = RandomBytes(n, static_cast<std::uint32_t>(n));
        EXPECT_EQ(Update(Crc32Init(), data.data(), n), Reference(data)) << n << " bytes";
    }
    // Saturated input drives every product term at once.
    const std::vector<std::uint8_t> ones(100000, 0xFF);
    EXPECT_EQ(Update(Crc32Init(), ones.data(), ones.size()), Reference(ones));
}

INSTANTIATE_TEST_SUITE_P(
    Kernels, Crc32Kernel,
    ::testing::Values(KernelCase{"Slicing16", UpdateSlicing16, Always},
                      KernelCase{"Clmul", UpdateClmul, CpuHasClmul},
                      KernelCase{"Vpclmul256", UpdateVpclmul256, CpuHasVpclmul256},
                      KernelCase{"Vpclmul", UpdateVpclmul, CpuHasVpclmul},
                      KernelCase{"Crc32Update", ViaCrc32Update, Always}),
    test::KernelName<Kernel>);

}  // namespace
}  // namespace velmar::crc32
