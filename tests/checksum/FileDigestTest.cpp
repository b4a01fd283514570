// Whole files through DigestFile, for every algorithm: known values, the
// same digest as one pass in memory through any buffer, full-size reads,
// and what a file that cannot be opened or read gives.
#include <sys/stat.h>
#include <unistd.h>

#include <random>

#include <gtest/gtest.h>

#include "checksum/Blake3.h"
#include "checksum/Blake3File.h"
#include "checksum/Crc32.h"
#include "checksum/FileDigest.h"
#include "checksum/Md5.h"
#include "checksum/EvpDigest.h"
#include "checksum/FileReading.h"
#include "checksum/XxhDigest.h"
#include "platform/TaskPool.h"
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

// Each algorithm's digits of `bytes` in one pass in memory.
std::string OnePass(DigestAlgorithm algorithm, const std::string& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::uint8_t digest[64];
    switch (algorithm) {
        case DigestAlgorithm::Crc32: {
            return HexText32(Crc32Final(Crc32Update(Crc32Init(), data, bytes.size())));
        }
        case DigestAlgorithm::Md5: {
            MD5Context c;
            MD5Init(&c);
            MD5Update(&c, data, static_cast<std::uint32_t>(bytes.size()));
            MD5Final(digest, &c);
            return HexText(digest, 16);
        }
        case DigestAlgorithm::Blake3: {
            Blake3Hasher h;
            h.Update(data, bytes.size());
            h.Final(digest);
            return HexText(digest, Blake3DigestSize);
        }
        case DigestAlgorithm::Xxh3:
        case DigestAlgorithm::Xxh128: {
            XxhDigestContext c(algorithm);
            c.Update(data, bytes.size());
            c.Final(digest);
            return HexText(digest, DigestSize(algorithm));
        }
        default: {
            EvpDigestContext c(algorithm);
            c.Update(data, bytes.size());
            c.Final(digest);
            return HexText(digest, DigestSize(algorithm));
        }
    }
}

const DigestAlgorithm Algorithms[] = {DigestAlgorithm::Crc32,  DigestAlgorithm::Md5,    DigestAlgorithm::Sha256,
                                      DigestAlgorithm::Sha1,   DigestAlgorithm::Sha512, DigestAlgorithm::Blake2b,
                                      DigestAlgorithm::Blake3, DigestAlgorithm::Xxh3,   DigestAlgorithm::Xxh128,
                                      DigestAlgorithm::Sha3_256, DigestAlgorithm::Sha3_512, DigestAlgorithm::Sha224,
                                      DigestAlgorithm::Sha384};

TEST(DigestFile, KnownValues) {
    TempDir dir;
    ReadBuffer buffer;
    const std::string empty = dir.Write("empty", ""), abc = dir.Write("abc", "abc");
    const struct {
        DigestAlgorithm algorithm;
        std::string path, digits;
    } cases[] = {
        {DigestAlgorithm::Crc32, empty, "00000000"},
        {DigestAlgorithm::Crc32, dir.Write("digits", "123456789"), "cbf43926"},
        {DigestAlgorithm::Crc32, dir.Write("ff", "\xff"), "ff000000"},
        {DigestAlgorithm::Md5, empty, "d41d8cd98f00b204e9800998ecf8427e"},
        {DigestAlgorithm::Md5, abc, "900150983cd24fb0d6963f7d28e17f72"},
        {DigestAlgorithm::Sha256, empty, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {DigestAlgorithm::Sha256, abc, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {DigestAlgorithm::Sha1, abc, "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {DigestAlgorithm::Sha512, abc,
         "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
        {DigestAlgorithm::Blake2b, abc,
         "ba80a53f981c4d0d6a2797b69f12f6e94c212f14685ac4b74b12bb6fdbffa2d17d87c5392aab792dc252d5de4533cc9518d38aa8dbf1925ab92386edd4009923"},
        {DigestAlgorithm::Blake3, empty, "af1349b9f5f9a1a6a0404dea36dcc9499bcb25c9adc112b7cc9a93cae41f3262"},
        {DigestAlgorithm::Blake3, abc, "6437b3ac38465133ffb63b75273a8db548c558465d79db03fd359c6cd5bd9d85"},
        // xxhsum's canonical order: most significant byte first.
        {DigestAlgorithm::Xxh3, empty, "2d06800538d394c2"},
        {DigestAlgorithm::Xxh3, abc, "78af5f94892f3950"},
        {DigestAlgorithm::Xxh128, empty, "99aa06d3014798d86001c324468d497f"},
        {DigestAlgorithm::Xxh128, abc, "06b05ab6733a618578af5f94892f3950"},
        {DigestAlgorithm::Sha3_256, empty, "a7ffc6f8bf1ed76651c14756a061d662f580ff4de43b49fa82d80a4b80f8434a"},
        {DigestAlgorithm::Sha3_256, abc, "3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532"},
        {DigestAlgorithm::Sha3_512, abc,
         "b751850b1a57168a5693cd924b6b096e08f621827444f70d884f5d0240d2712e10e116e9192af3c91a7ec57647e3934057340b4cf408d5a56592f8274eec53f0"},
        {DigestAlgorithm::Sha224, abc, "23097d223405d8228642a477bda255b32aadbce4bda0b3f7e36c9da7"},
        {DigestAlgorithm::Sha384, abc,
         "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7"},
    };
    for (const auto& c : cases) {
        const FileDigest digest = DigestFile(c.algorithm, c.path, buffer);
        EXPECT_EQ(digest.status, FileDigestStatus::Ok);
        EXPECT_EQ(digest.Text(), c.digits);
    }
    EXPECT_EQ(Crc32Of(Crc32File(dir.File("digits"), buffer)), 0xCBF43926u);
}

TEST(DigestFile, MatchesOnePassThroughAnyBufferInFullSizeReads) {
    TempDir dir;
    for (DigestAlgorithm algorithm : Algorithms) {
        // A buffer that is no multiple of a block makes every refill end mid-block.
        for (std::size_t bufferSize : {std::size_t{1500}, ReadBuffer::DefaultSize}) {
            ReadBuffer buffer(bufferSize);
            for (std::size_t size : {std::size_t{0}, std::size_t{1023}, std::size_t{524288}, std::size_t{524289},
                                     std::size_t{3 * 524288 + 7}}) {
                const std::string bytes = RandomBytes(size, static_cast<unsigned>(size));
                const std::string path = dir.Write("f", bytes);
                ReadSeam seam;
                const FileDigest digest = DigestFile(algorithm, path, buffer);
                EXPECT_EQ(digest.status, FileDigestStatus::Ok);
                EXPECT_EQ(digest.Text(), OnePass(algorithm, bytes)) << size << " through a buffer of " << bufferSize;
                // Every read asks for the whole buffer; only the last falls
                // short, and after it only a read that finds nothing.
                const auto& reads = seam.Returned();
                const std::size_t last = reads.size() - (reads.back() == 0 && reads.size() > 1 ? 2 : 1);
                for (std::size_t i = 0; i < last; ++i) EXPECT_EQ(reads[i], ssize_t(bufferSize));
                EXPECT_LE(reads[last], ssize_t(bufferSize));
            }
        }
    }
}

TEST(DigestFile, WhatCannotBeOpenedOrReadHasNoDigestButACrcKeepsTheValueSoFar) {
    TempDir dir;
    ReadBuffer buffer;
    const std::string bytes = RandomBytes(2 * 524288 + 100, 7);
    const std::string path = dir.Write("f", bytes);
    for (DigestAlgorithm algorithm : Algorithms) {
        EXPECT_EQ(DigestFile(algorithm, dir.File("missing"), buffer).status, FileDigestStatus::OpenFailed);
        EXPECT_EQ(DigestFile(algorithm, dir.path(), buffer).status, FileDigestStatus::OpenFailed)
            << "a folder is not an empty file";

        ReadSeam seam(/*failAfterReads=*/1);
        const FileDigest digest = DigestFile(algorithm, path, buffer);
        EXPECT_EQ(digest.status, FileDigestStatus::ReadFailed);
        EXPECT_TRUE(digest.Text().empty()) << "no digest may come out of a failed read";
        // What an SFV verification compares: the value of the bytes before the error.
        EXPECT_EQ(digest.Digits(), OnePass(algorithm, bytes.substr(0, 524288)));
    }
}

TEST(DigestFile, AStoppedWatchBeginsNoFile) {
    TempDir dir;
    ReadBuffer buffer;
    const std::string path = dir.Write("f", RandomBytes(3 * 524288, 9));
    std::atomic<std::uint8_t> stop{1};
    for (DigestAlgorithm algorithm : Algorithms) {
        ReadSeam seam;
        EXPECT_EQ(DigestFile(algorithm, path, buffer, &stop).status, FileDigestStatus::Stopped);
        EXPECT_TRUE(seam.Returned().empty()) << "a file begun after the stop";
    }
    stop = 0;
    EXPECT_EQ(DigestFile(DigestAlgorithm::Md5, path, buffer, &stop).status, FileDigestStatus::Ok);
}

TEST(DigestFile, InterruptedReadsAreRetried) {
    TempDir dir;
    ReadBuffer buffer;
    const std::string bytes = RandomBytes(600000, 8);
    const std::string path = dir.Write("f", bytes);
    for (DigestAlgorithm algorithm : Algorithms) {
        ReadSeam seam(-1, /*interruptEachRead=*/true);
        const FileDigest digest = DigestFile(algorithm, path, buffer);
        EXPECT_EQ(digest.status, FileDigestStatus::Ok);
        EXPECT_EQ(digest.Text(), OnePass(algorithm, bytes));
    }
}

// A large BLAKE3 file is read on several threads at once; these tests give
// it three helpers whatever this machine has, and compare with one pass.
class Blake3OnCores : public ::testing::Test {
protected:

    // Reads as the system does, but runs `action` before read number
    // `at`, and counts the reads that begin once `stop` is set.
    struct Hook {
        static inline int at = -1;
        static inline void (*action)() = nullptr;
        static inline std::atomic<int> reads{0}, afterStop{0};
        static inline std::atomic<std::uint8_t> stop{0};
        static inline std::string path;
        static inline off_t resizeTo = 0;
        static ssize_t Read(int fd, void* buffer, std::size_t count, off_t offset) {
            if (reads++ == at) action();
            if (stop) ++afterStop;
            return offset < 0 ? ::read(fd, buffer, count) : ::pread(fd, buffer, count, offset);
        }
    };
    ReadFunction Install(int at, void (*action)()) {
        Hook::at = at;
        Hook::action = action;
        Hook::reads = 0;
        Hook::afterStop = 0;
        Hook::stop = 0;
        return SetReadFunctionForTesting(Hook::Read);
    }

    TempDir dir_;
    TaskPool pool_{3};
    const ReadingHelp help_{.pool = &pool_, .helpers = 3};
};

TEST_F(Blake3OnCores, MatchesOnePassAroundTheSplitSizeAndPartEdges) {
    const std::uint64_t piece = Blake3SplitPiece, split = Blake3SplitSize;
    const std::string bytes = RandomBytes(split + 5 * piece + 1500, 21);
    for (std::size_t bufferSize : {std::size_t{1500}, ReadBuffer::DefaultSize}) {
        ReadBuffer buffer(bufferSize);
        for (std::uint64_t size : {split - 1, split, split + 1, split + piece - 1, split + 2 * piece,
                                   split + 5 * piece + 1500}) {
            if (bufferSize != ReadBuffer::DefaultSize && size != split + 1) continue;
            const std::string path = dir_.Write("f", bytes.substr(0, size));
            std::atomic<std::uint64_t> counted{0};
            ReadSeam seam;
            const FileDigest digest = DigestFile(DigestAlgorithm::Blake3, path, buffer, {nullptr, &counted}, help_);
            EXPECT_EQ(digest.status, FileDigestStatus::Ok);
            EXPECT_EQ(digest.Text(), OnePass(DigestAlgorithm::Blake3, bytes.substr(0, size)))
                << size << " through a buffer of " << bufferSize;
            EXPECT_EQ(digest.length, size);
            EXPECT_EQ(counted, size);
            EXPECT_EQ(seam.PositionalReads() > 0, size >= split) << size << ": split or not";
        }
    }
}

// After a failed read on any thread the digest is that of the bytes before
// it, as far as they were read in order, and says how many those were.
TEST_F(Blake3OnCores, AReadErrorGivesTheDigestOfTheBytesBeforeIt) {
    ReadBuffer buffer;
    const std::string bytes = RandomBytes(Blake3SplitSize + 4 * Blake3SplitPiece + 99, 22);
    const std::string path = dir_.Write("f", bytes);
    for (int failAfter : {0, 1, 6, 17}) {
        ReadSeam seam(failAfter);
        const FileDigest digest = DigestFile(DigestAlgorithm::Blake3, path, buffer, {}, help_);
        EXPECT_EQ(digest.status, FileDigestStatus::ReadFailed) << failAfter;
        EXPECT_EQ(digest.error, EIO);
        EXPECT_LT(digest.length, bytes.size());
        EXPECT_EQ(digest.Digits(), OnePass(DigestAlgorithm::Blake3, bytes.substr(0, digest.length))) << failAfter;
    }
}

TEST_F(Blake3OnCores, AStopEndsEveryThreadWithinABlock) {
    ReadBuffer buffer;
    const std::string path = dir_.Write("f", RandomBytes(4 * Blake3SplitSize, 23));
    const ReadFunction before = Install(5, [] { Hook::stop = 1; });
    const FileDigest digest = DigestFile(DigestAlgorithm::Blake3, path, buffer, &Hook::stop, help_);
    SetReadFunctionForTesting(before);
    EXPECT_EQ(digest.status, FileDigestStatus::Stopped);
    // Each of the four threads may have begun one read before it saw the stop.
    EXPECT_LE(Hook::afterStop, 4);
}

// A file cut short or grown while it is read gives the digest of what was
// there to read, front to back, as one thread reading to the end would.
TEST_F(Blake3OnCores, AFileThatShrinksOrGrowsGivesTheDigestOfWhatWasRead) {
    ReadBuffer buffer;
    const std::uint64_t piece = Blake3SplitPiece;
    const struct {
        std::uint64_t opened, then;
    } cases[] = {
        {.opened = 12 * piece, .then = 10 * piece + 123},
        {.opened = 12 * piece, .then = 3 * piece},
        {.opened = 12 * piece, .then = piece},
        {.opened = 9 * piece, .then = 9 * piece + 5000},
    };
    for (const auto& c : cases) {
        std::string bytes = RandomBytes(c.opened, 24);
        Hook::path = dir_.Write("f", bytes);
        Hook::resizeTo = static_cast<off_t>(c.then);
        bytes.resize(c.then);  // a file grown by truncate(2) reads as zeros
        const ReadFunction before = Install(0, [] { ASSERT_EQ(::truncate(Hook::path.c_str(), Hook::resizeTo), 0); });
        const FileDigest digest = DigestFile(DigestAlgorithm::Blake3, Hook::path, buffer, {}, help_);
        SetReadFunctionForTesting(before);
        EXPECT_EQ(digest.status, FileDigestStatus::Ok);
        EXPECT_EQ(digest.length, c.then);
        EXPECT_EQ(digest.Text(), OnePass(DigestAlgorithm::Blake3, bytes)) << c.opened << " to " << c.then;
    }
}

}  // namespace
}  // namespace velmar

namespace velmar {
namespace {

// A large file's digests share each block on the pool's threads: each is
// the one its algorithm gives alone, whichever thread took it.
TEST(DigestFileEachWay, SideBySideEachDigestIsItsAlgorithmsAlone) {
    TempDir dir;
    const std::string bytes = RandomBytes(EachWaySpreadSize + 12345, 31);
    const std::string path = dir.Write("big.iso", bytes);
    const std::vector<DigestAlgorithm> algorithms = {DigestAlgorithm::Crc32, DigestAlgorithm::Md5,
                                                     DigestAlgorithm::Sha256, DigestAlgorithm::Sha512,
                                                     DigestAlgorithm::Blake3};
    TaskPool pool(2);
    ReadBuffer buffer;
    std::atomic<std::uint64_t> counted{0};
    const auto digests = DigestFileEachWay(algorithms, path, buffer, {nullptr, &counted}, {.pool = &pool, .helpers = 2});
    for (std::size_t i = 0; i < algorithms.size(); ++i)
        EXPECT_EQ(digests[i].Text(), OnePass(algorithms[i], bytes)) << DigestName(algorithms[i]);
    EXPECT_EQ(counted, bytes.size());
}

}  // namespace
}  // namespace velmar
