#include <gtest/gtest.h>

#include "tests/support/KernelCase.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "checksum/Md5Lanes.h"
#include "checksum/Md5LanesKernels.h"

namespace velmar::md5lanes {
namespace {

using KernelCase = test::KernelCase<Kernel>;
using test::Always;

class Md5LanesKernel : public test::KernelTest<Kernel> {};

std::string DigestText(MD5Context context) {
    std::uint8_t digest[16];
    MD5Final(digest, &context);
    return MD5DigestText(digest);
}

// Each lane's stream goes in as a prefix through MD5Update, then through the
// kernel in the rounds from its own start to its own end (every round with
// its own block count, other lanes passing nullptr), then a partial tail
// through MD5Update. Every lane must end as if MD5Update had had it all.
TEST_P(Md5LanesKernel, StaggeredLanesMatchOneStreamEach) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 40; ++trial) {
        const int rounds = 1 + static_cast<int>(rng() % 8);
        std::vector<std::size_t> roundBlocks(rounds);
        for (auto& n : roundBlocks) n = rng() % 5;  // zero blocks too

        std::vector<std::uint8_t> streams[Md5Lanes];
        MD5Context contexts[Md5Lanes];
        int start[Md5Lanes], end[Md5Lanes];
        std::size_t at[Md5Lanes];
        for (int i = 0; i < Md5Lanes; ++i) {
            start[i] = static_cast<int>(rng() % (rounds + 1));
            end[i] = start[i] + static_cast<int>(rng() % (rounds + 1 - start[i]));
            std::size_t blocks = rng() % 4;
            at[i] = 64 * blocks;
            for (int r = start[i]; r < end[i]; ++r) blocks += roundBlocks[r];
            streams[i].resize(64 * blocks + rng() % 64);
            for (auto& b : streams[i]) b = static_cast<std::uint8_t>(rng());

            MD5Init(&contexts[i]);
            MD5Update(&contexts[i], streams[i].data(), static_cast<std::uint32_t>(at[i]));
        }
        for (int r = 0; r < rounds; ++r) {
            MD5Context* lanes[Md5Lanes] = {};
            const std::uint8_t* data[Md5Lanes] = {};
            for (int i = 0; i < Md5Lanes; ++i) {
                if (r < start[i] || r >= end[i]) continue;
                lanes[i] = &contexts[i];
                data[i] = streams[i].data() + at[i];
                at[i] += 64 * roundBlocks[r];
            }
            GetParam().update(lanes, data, roundBlocks[r]);
        }
        for (int i = 0; i < Md5Lanes; ++i) {
            const auto tail = static_cast<std::uint32_t>(streams[i].size() - at[i]);
            MD5Update(&contexts[i], streams[i].data() + at[i], tail);
            MD5Context whole;
            MD5Init(&whole);
            MD5Update(&whole, streams[i].data(), static_cast<std::uint32_t>(streams[i].size()));
            ASSERT_EQ(DigestText(contexts[i]), DigestText(whole)) << "trial " << trial << ", lane " << i;
        }
    }
}

// Three blocks add 0x600 bits. The low word wraps past zero or onto it in
// some lanes and not in others; in lanes 3 and 11 the high word wraps as well.
TEST_P(Md5LanesKernel, BitCountCarriesIntoHighWord) {
    const std::uint32_t bitCounts[Md5Lanes][2] = {
        {0xFFFFFE00, 0}, {0xFFFFFC00, 1}, {0xFFFFFA00, 7}, {0xFFFFFE00, 0xFFFFFFFF},
        {0, 0}, {0x200, 0xFFFFFFFF}, {0xFFFFF000, 3}, {0xFFFFF800, 0x80000000},
        {0xFFFFFA00, 2}, {0x400, 5}, {0xFFFFFE00, 0x7FFFFFFF}, {0xFFFFFC00, 0xFFFFFFFF},
        {0xFFFFFFFF, 0}, {0xFFFFF800, 9}, {0x1000, 0}, {0xFFFFFA00, 0xFFFFFFFE}};
    const std::vector<std::uint8_t> data(3 * 64, 0x5A);
    MD5Context contexts[Md5Lanes], expected[Md5Lanes];
    MD5Context* lanes[Md5Lanes];
    const std::uint8_t* from[Md5Lanes];
    for (int i = 0; i < Md5Lanes; ++i) {
        MD5Init(&contexts[i]);
        std::memcpy(contexts[i].bitCount, bitCounts[i], sizeof bitCounts[i]);
        expected[i] = contexts[i];
        MD5Update(&expected[i], data.data(), 3 * 64);
        lanes[i] = &contexts[i];
        from[i] = data.data();
    }
    GetParam().update(lanes, from, 3);
    for (int i = 0; i < Md5Lanes; ++i) {
        EXPECT_EQ(contexts[i].bitCount[0], expected[i].bitCount[0]) << "lane " << i;
        EXPECT_EQ(contexts[i].bitCount[1], expected[i].bitCount[1]) << "lane " << i;
    }
}

// Which lanes are live decides how the vector kernels group them: eight or
// fewer run as one group wherever they sit, more as two. Every pattern must
// give each live lane its own digest and leave idle lanes, whose data
// pointers are nullptr, untouched.
TEST_P(Md5LanesKernel, AnyLiveLanesMatchOneStreamEach) {
    static_assert(Md5Lanes == 16);
    const std::uint16_t patterns[] = {0xFFFF, 0x000F, 0xFF00, 0x8000, 0x8001, 0x5555, 0x01FF, 0xFFFE, 0x0000};
    std::vector<std::uint8_t> streams[Md5Lanes];
    std::mt19937 rng(11);
    for (auto& stream : streams) {
        stream.resize(5 * 64);
        for (auto& b : stream) b = static_cast<std::uint8_t>(rng());
    }
    for (const std::uint16_t live : patterns) {
        MD5Context contexts[Md5Lanes], expected[Md5Lanes];
        MD5Context* lanes[Md5Lanes] = {};
        const std::uint8_t* data[Md5Lanes] = {};
        for (int i = 0; i < Md5Lanes; ++i) {
            MD5Init(&contexts[i]);
            MD5Update(&contexts[i], streams[i].data(), 64 * (i % 3));  // lanes start from different states
            expected[i] = contexts[i];
            if (!(live >> i & 1)) continue;
            MD5Update(&expected[i], streams[i].data() + 64 * (i % 3), 3 * 64);
            lanes[i] = &contexts[i];
            data[i] = streams[i].data() + 64 * (i % 3);
        }
        GetParam().update(lanes, data, 3);
        for (int i = 0; i < Md5Lanes; ++i) {
            const bool same = std::memcmp(contexts[i].state, expected[i].state, sizeof contexts[i].state) == 0 &&
                              std::memcmp(contexts[i].bitCount, expected[i].bitCount, sizeof contexts[i].bitCount) == 0;
            EXPECT_TRUE(same) << "live lanes " << std::hex << live << std::dec << ", lane " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, Md5LanesKernel,
                         ::testing::Values(KernelCase{"Scalar", UpdateScalar, Always},
                                           KernelCase{"Avx2", UpdateAvx2, CpuHasAvx2},
                                           KernelCase{"Avx512Vl", UpdateAvx512Vl, CpuHasAvx512Vl},
                                           KernelCase{"MD5UpdateLanes", MD5UpdateLanes, Always}),
                         test::KernelName<Kernel>);

}  // namespace
}  // namespace velmar::md5lanes
