#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/PageCache.h"
#include "tests/support/ReadSeam.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

using test::ReadSeam;
using test::TempDir;

TEST(InputFile, OpensOnlyRegularFiles) {
    TempDir dir;
    std::string file = dir.Write("a.bin", "abc");
    ::mkfifo(dir.File("fifo").c_str(), 0600);
    std::filesystem::create_symlink(file, dir.File("link"));

    InputFile f;
    EXPECT_TRUE(f.Open(file));
    EXPECT_TRUE(f.Open(dir.File("link"))) << "a symlink to a file is that file";
    EXPECT_FALSE(f.Open(dir.File("missing")));
    EXPECT_FALSE(f.Open(dir.path())) << "a folder must not pass for an empty file";
    EXPECT_FALSE(f.Open(dir.File("fifo"))) << "a FIFO without writer must neither hang nor open";
    EXPECT_FALSE(f.Open("/dev/zero")) << "a device would never end";
    EXPECT_FALSE(f.IsOpen());
}

TEST(InputFileDeathTest, RefusesAFileTheUserMayNotRead) {
    TempDir dir;
    std::string file = dir.Write("secret", "x");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(file.c_str(), 0600);
    // Root reads every file, so a root run asks as the unprivileged "nobody".
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (::geteuid() == 0) {
                ::chown(file.c_str(), 0, 0);
                if (::setgid(65534) != 0 || ::setuid(65534) != 0) std::_Exit(2);
            } else {
                ::chmod(file.c_str(), 0);
            }
            InputFile f;
            std::_Exit(f.Open(file) ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(InputFile, ReadsUntilEndAndRetriesInterruptedReads) {
    TempDir dir;
    std::string file = dir.Write("a.bin", "hello world");
    ReadSeam seam(-1, /*interruptEachRead=*/true);
    InputFile f;
    ASSERT_TRUE(f.Open(file));
    char buf[64];
    bool failed = true;
    EXPECT_EQ(f.ReadFull(buf, sizeof buf, failed), 11u);
    EXPECT_FALSE(failed);
    EXPECT_EQ(std::string(buf, 11), "hello world");
    EXPECT_EQ(f.Read(buf, sizeof buf), 0);
}

TEST(InputFile, ReportsAReadError) {
    TempDir dir;
    std::string file = dir.Write("a.bin", std::string(100, 'x'));
    InputFile f;
    ASSERT_TRUE(f.Open(file));
    ReadSeam seam(/*failAfterReads=*/1);
    char buf[40];
    EXPECT_EQ(f.Read(buf, sizeof buf), 40);
    EXPECT_EQ(f.Read(buf, sizeof buf), -1);
}

TEST(InputFile, SizeIsSixtyFourBitAndTimeIsRecent) {
    TempDir dir;
    std::string file = dir.File("sparse");
    std::time_t before = std::time(nullptr);
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    const std::int64_t fiveGiB = 5LL << 30;
    ASSERT_EQ(::ftruncate(fd, fiveGiB), 0);
    ::close(fd);
    std::time_t after = std::time(nullptr);

    InputFile f;
    ASSERT_TRUE(f.Open(file));
    EXPECT_EQ(f.Size(), fiveGiB);
    EXPECT_GE(f.CreationTime(), before - 1);
    EXPECT_LE(f.CreationTime(), after + 1);
}

// By either kernel interface: cachestat, and mincore as kernels before 6.5
// answer. On a disk's file system, since memory file systems never evict.
// Announcing a file asks the disk only for one not wholly in memory.
TEST(InputFile, CountsTheBytesNotInThePageCache) {
    TempDir dir("/var/tmp");
    constexpr std::uint64_t Size = (4u << 20) + 5;
    InputFile f;
    ASSERT_TRUE(f.Open(dir.Write("empty", "")));
    EXPECT_EQ(f.UncachedBytes(), 0u);
    const std::string path = dir.Write("f", std::string(Size, 'x'));
    ASSERT_TRUE(f.Open(path));
    const auto announced = [&path](std::uint64_t limit) {
        const Announcement a = AnnounceSmallFile(path, limit);
        return std::pair{a.bytes, a.fromDisk};
    };
    EXPECT_EQ(announced(Size), std::pair(Size, false)) << "in memory";
    EXPECT_EQ(announced(Size - 1), std::pair(std::uint64_t{0}, false)) << "too large";
    const auto byEach = [&f] {
        std::uint64_t bytes[2];
        for (const bool mincore : {false, true}) {
            SkipCachestatForTesting(mincore);
            bytes[mincore] = f.UncachedBytes();
        }
        SkipCachestatForTesting(false);
        EXPECT_EQ(bytes[0], bytes[1]) << "cachestat and mincore differ";
        return bytes[0];
    };
    EXPECT_EQ(byEach(), 0u) << "just written";
    ASSERT_EQ(::fdatasync(f.Descriptor()), 0);
    // Only whole folios leave, and a file system may hold a file in large ones.
    ASSERT_EQ(::posix_fadvise(f.Descriptor(), Size / 2, 0, POSIX_FADV_DONTNEED), 0);
    const std::uint64_t part = byEach();
    if (part == 0) GTEST_SKIP() << "this file system keeps its pages";
    EXPECT_LT(part, Size) << "partly evicted";
    ASSERT_EQ(::posix_fadvise(f.Descriptor(), 0, 0, POSIX_FADV_DONTNEED), 0);
    EXPECT_EQ(byEach(), Size) << "wholly evicted";
    EXPECT_EQ(announced(Size), std::pair(Size, true)) << "evicted";
    f.Close();
    EXPECT_EQ(f.UncachedBytes(), 0u) << "nothing open";
}

TEST(PathExists, FilesAndFoldersExistDanglingLinksDoNot) {
    TempDir dir;
    std::string file = dir.Write("a", "");
    std::filesystem::create_symlink(dir.File("nowhere"), dir.File("dangling"));
    EXPECT_TRUE(PathExists(file));
    EXPECT_TRUE(PathExists(dir.path()));
    EXPECT_FALSE(PathExists(dir.File("b")));
    EXPECT_FALSE(PathExists(dir.File("dangling")));
}

TEST(RenameNoReplace, MovesWhenTheTargetIsFreeAndNeverReplaces) {
    TempDir dir;
    std::string bad = dir.Write("a.bin", "bad");
    std::string target = dir.File("a.bin.BAD");
    ASSERT_TRUE(RenameNoReplace(bad, target));
    EXPECT_FALSE(PathExists(bad));
    EXPECT_EQ(test::ReadAll(target), "bad");

    std::string second = dir.Write("a.bin", "second");
    EXPECT_FALSE(RenameNoReplace(second, target));
    EXPECT_EQ(test::ReadAll(second), "second");
    EXPECT_EQ(test::ReadAll(target), "bad") << "the existing target must survive";

    EXPECT_FALSE(RenameNoReplace(dir.File("missing"), dir.File("other")));
    EXPECT_FALSE(PathExists(dir.File("other")));
}

}  // namespace
}  // namespace velmar
