#include <random>

#include <gtest/gtest.h>

#include "checksum/Md5.h"
#include "tests/support/ReadSeam.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

using test::ReadSeam;
using test::TempDir;

std::string InMemory(const std::string& bytes) {
    MD5Context c;
    MD5Init(&c);
    MD5Update(&c, reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()));
    std::uint8_t d[16];
    MD5Final(d, &c);
    return MD5DigestText(d);
}

TEST(MD5FileDigest, KnownDigests) {
    TempDir dir;
    ReadBuffer buffer;
    auto empty = MD5FileDigest(dir.Write("empty", ""), buffer);
    EXPECT_EQ(empty.status, FileDigestStatus::Ok);
    EXPECT_EQ(empty.text, "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(MD5FileDigest(dir.Write("abc", "abc"), buffer).text, "900150983cd24fb0d6963f7d28e17f72");
}

TEST(MD5FileDigest, MatchesInMemoryAcrossBufferRefills) {
    TempDir dir;
    std::mt19937 rng(99);
    // A buffer that is no multiple of 1,024 makes reads short at every refill.
    for (std::size_t bufferSize : {std::size_t{1500}, std::size_t{4096}, ReadBuffer::DefaultSize}) {
        ReadBuffer buffer(bufferSize);
        for (std::size_t size : {std::size_t{1023}, std::size_t{1024}, std::size_t{1025}, std::size_t{3 << 20}}) {
            std::string bytes(size, '\0');
            for (char& c : bytes) c = static_cast<char>(rng());
            auto result = MD5FileDigest(dir.Write("f", bytes), buffer);
            EXPECT_EQ(result.status, FileDigestStatus::Ok);
            EXPECT_EQ(result.text, InMemory(bytes)) << size << " through a buffer of " << bufferSize;
        }
    }
}

TEST(MD5FileDigest, ReportsWhatItCannotOpenOrRead) {
    TempDir dir;
    ReadBuffer buffer;
    EXPECT_EQ(MD5FileDigest(dir.File("missing"), buffer).status, FileDigestStatus::OpenFailed);
    EXPECT_EQ(MD5FileDigest(dir.path(), buffer).status, FileDigestStatus::OpenFailed);

    std::string path = dir.Write("f", std::string(2 << 20, 'x'));
    ReadSeam seam(/*failAfterReads=*/2);
    auto result = MD5FileDigest(path, buffer);
    EXPECT_EQ(result.status, FileDigestStatus::ReadFailed);
    EXPECT_TRUE(result.text.empty()) << "no digest may come out of a failed read";
}

}  // namespace
}  // namespace velmar
