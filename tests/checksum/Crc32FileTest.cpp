#include <random>

#include <gtest/gtest.h>

#include "checksum/Crc32.h"
#include "tests/support/ReadSeam.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

using test::ReadSeam;
using test::TempDir;

std::string RandomBytes(std::size_t n, unsigned stream) {
    std::mt19937 rng(stream);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng());
    return s;
}

std::uint32_t OnePass(const std::string& bytes) {
    return Crc32Final(Crc32Update(Crc32Init(), bytes.data(), bytes.size()));
}

TEST(Crc32File, KnownValues) {
    TempDir dir;
    ReadBuffer buffer;
    auto empty = Crc32File(dir.Write("empty", ""), buffer);
    EXPECT_TRUE(empty.opened);
    EXPECT_FALSE(empty.readFailed);
    EXPECT_EQ(empty.crc, 0u);
    EXPECT_EQ(Crc32File(dir.Write("digits", "123456789"), buffer).crc, 0xCBF43926u);
    EXPECT_EQ(Crc32File(dir.Write("ff", "\xff"), buffer).crc, 0xFF000000u);
}

TEST(Crc32File, ReadsInFullChunksAndMatchesOnePass) {
    TempDir dir;
    ReadBuffer buffer;
    struct Case {
        std::size_t size;
        std::vector<ssize_t> reads;
    };
    for (const Case& c : {Case{524288, {524288, 0}}, Case{524289, {524288, 1, 0}},
                          Case{3 * 524288 + 7, {524288, 524288, 524288, 7, 0}}}) {
        std::string bytes = RandomBytes(c.size, static_cast<unsigned>(c.size));
        std::string path = dir.Write("f", bytes);
        ReadSeam seam;
        auto result = Crc32File(path, buffer);
        EXPECT_TRUE(result.opened);
        EXPECT_EQ(result.crc, OnePass(bytes)) << c.size;
        EXPECT_EQ(seam.Returned(), c.reads) << c.size;
    }
}

TEST(Crc32File, WhatCannotBeOpenedHasNoValue) {
    TempDir dir;
    ReadBuffer buffer;
    EXPECT_FALSE(Crc32File(dir.File("missing"), buffer).opened);
    EXPECT_FALSE(Crc32File(dir.path(), buffer).opened) << "a folder is not an empty file";
}

TEST(Crc32File, AReadErrorKeepsTheValueSoFarAndSaysSo) {
    TempDir dir;
    ReadBuffer buffer;
    std::string bytes = RandomBytes(2 * 524288 + 100, 7);
    std::string path = dir.Write("f", bytes);
    ReadSeam seam(/*failAfterReads=*/1);
    auto result = Crc32File(path, buffer);
    EXPECT_TRUE(result.opened);
    EXPECT_TRUE(result.readFailed);
    EXPECT_EQ(result.crc, OnePass(bytes.substr(0, 524288)));
}

TEST(Crc32File, InterruptedReadsAreRetried) {
    TempDir dir;
    ReadBuffer buffer;
    std::string bytes = RandomBytes(600000, 8);
    std::string path = dir.Write("f", bytes);
    ReadSeam seam(-1, /*interruptEachRead=*/true);
    auto result = Crc32File(path, buffer);
    EXPECT_FALSE(result.readFailed);
    EXPECT_EQ(result.crc, OnePass(bytes));
}

}  // namespace
}  // namespace velmar
