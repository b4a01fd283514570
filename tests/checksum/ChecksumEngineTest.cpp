// The engine hands rows back in row order whatever order their files finish
// in, ends its reads within a block on every stop, picks its workers by
// the kind of device, read from sysfs and the mount table, and the CPUs its
// cgroup grants, and on a disk read in turn reads the files in memory on
// every worker and the others one at a time.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <thread>

#include <unistd.h>

#include <gtest/gtest.h>

#include "checksum/ChecksumEngine.h"
#include "checksum/FileReading.h"
#include "platform/SeekCost.h"
#include "platform/DeviceKind.h"
#include "platform/Files.h"
#include "platform/PageCache.h"
#include "platform/UsableCpus.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

TEST(ChecksumEngineTest, RowsComeBackInOrderWhenTheirFilesFinishOutOfOrder) {
    constexpr int Rows = 40;
    std::mutex mutex;
    std::vector<int> finished;
    ChecksumEngine engine(Rows, 4, [&](int row, ReadBuffer&) {
        // Every fourth row is slow, so later rows overtake it.
        if (row % 4 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        FileDigest digest;
        digest.status = FileDigestStatus::Ok;
        digest.bytes[0] = static_cast<std::uint8_t>(row);
        digest.size = 1;
        std::lock_guard lock(mutex);
        finished.push_back(row);
        return digest;
    });
    for (int row = 0; row < Rows; ++row) EXPECT_EQ(engine.Take(row).bytes[0], row);
    engine.Stop();
    EXPECT_FALSE(std::is_sorted(finished.begin(), finished.end())) << "the workers never overtook each other";
}

TEST(ChecksumEngineTest, ARowDoneComesBackSoonWhileTheRowsAfterItTakeLong) {
    // The job is woken for runs of rows, but a large file on a slow disk must
    // not keep the one before it from showing until the run is done.
    constexpr int Rows = 20;
    ChecksumEngine engine(Rows, 2, [&](int row, ReadBuffer&) {
        if (row > 0) std::this_thread::sleep_for(std::chrono::milliseconds(300));
        FileDigest digest;
        digest.status = FileDigestStatus::Ok;
        return digest;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(engine.Take(0).status, FileDigestStatus::Ok);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    engine.Stop();

    // Nor, on a disk read in turn, a large file that a worker streams from
    // the disk's reader the small files it holds in its MD5 lanes.
    test::TempDir dir;
    const std::string small = dir.Write("small", "small");
    const std::string large = dir.Write("large", "");
    std::filesystem::resize_file(large, std::uintmax_t{4} << 30);
    std::atomic<std::uint64_t> bytes{0};
    ChecksumEngine lanes(3, {.workers = 1 + 1, .diskInTurn = true, .nothingCached = true}, DigestAlgorithm::Md5,
                         [&](int row) { return row == 0 ? small : large; }, DigestWatch(nullptr, &bytes));
    EXPECT_EQ(lanes.Take(0).length, 5u);
    EXPECT_LT(bytes.load(), std::uint64_t{4} << 30) << "the small file waited for the large one";
    lanes.Stop();
}

TEST(ChecksumEngineTest, EveryWorkerCountGivesEachFileItsOwnDigest) {
    // Sizes around a block and a lane's read, so lanes end at different
    // times and take new files; a missing file among them; two files that
    // BLAKE3 splits over the cores, while other workers read too.
    test::TempDir dir;
    std::vector<std::string> paths;
    std::mt19937 random(5);
    // Small ones around a batch's capacity, and more than one group of MD5
    // lanes of them in one batch.
    for (std::size_t size : {0, 1, 63, 64, 65, 4096, 262143, 262144, 262145, 1048583, 7, 100000, 3 << 20, 640, 128,
                             (9 << 20) + 5, 12 << 20, 65535, 65536, 1000, 2047, 2048, 3000, 5000, 8191, 8192}) {
        std::string bytes(size, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        paths.push_back(dir.Write("f" + std::to_string(paths.size()), bytes));
    }
    paths.insert(paths.begin() + 5, dir.File("missing"));
    const int rows = static_cast<int>(paths.size());
    for (DigestAlgorithm algorithm :
         {DigestAlgorithm::Md5, DigestAlgorithm::Sha256, DigestAlgorithm::Crc32, DigestAlgorithm::Blake3}) {
        ReadBuffer buffer;
        // The last reads as on a disk read in turn with nothing in memory:
        // every file larger than a read-ahead request through its reader.
        // Two and three workers read small files in batches where the kernel
        // allows it; the fourth reads them one system call at a time.
        for (const EngineOptions& options : {EngineOptions{.workers = 1}, EngineOptions{.workers = 2},
                                             EngineOptions{.workers = 3},
                                             EngineOptions{.workers = 3, .batchedReads = false},
                                             EngineOptions{.workers = 3, .diskInTurn = true},
                                             EngineOptions{.workers = 3, .diskInTurn = true, .nothingCached = true}}) {
            const int workers = options.workers;
            // Every byte the workers read is counted, in the lanes too.
            std::atomic<std::uint64_t> bytesRead{0}, bytesSized{0};
            std::atomic<int> rowsSized{0};
            std::uint64_t bytes = 0;
            {
                ChecksumEngine engine(rows, EngineOptionsFor("", options), algorithm,
                                      [&](int row) { return paths[std::size_t(row)]; },
                                      DigestWatch(nullptr, &bytesRead, &bytesSized, &rowsSized));
                for (int row = 0; row < rows; ++row) {
                    const FileDigest expected = DigestFile(algorithm, paths[std::size_t(row)], buffer);
                    const FileDigest digest = engine.Take(row);
                    EXPECT_EQ(digest.status, expected.status) << row << " on " << workers << " workers";
                    EXPECT_EQ(digest.Text(), expected.Text()) << row << " on " << workers << " workers";
                    bytes += RegularFileSize(paths[std::size_t(row)]).value_or(0);
                }
            }
            EXPECT_EQ(bytesRead, bytes) << workers << " workers";
            // The bar's total comes from the files as the engine opens them.
            EXPECT_EQ(bytesSized, bytes) << workers << " workers";
            EXPECT_EQ(rowsSized, rows) << workers << " workers";
        }
    }
}

// Either stop: the one the caller's watch carries (the user's, or a quit)
// and the engine's own (a fatal end), on the job's own thread or on workers.
// The last two read as on a disk read in turn with nothing in memory, the
// large files through the disk's one reader.
struct StopCase {
    bool engineStop;
    int workers;
    bool diskInTurn = false;
};
const StopCase StopCases[] = {{false, 1}, {false, 2}, {true, 1}, {true, 2}, {false, 2, true}, {true, 2, true}};

void StopBy(const StopCase& c, ChecksumEngine& engine, std::atomic<std::uint8_t>& flag) {
    if (c.engineStop) engine.Stop();
    else flag = 1;
}

TEST(ChecksumEngineTest, AStopLeavesTheRowsNotTakenUnread) {
    constexpr int Rows = 100000;
    for (const StopCase& c : StopCases) {
        std::atomic<std::uint8_t> flag{0};
        std::atomic<int> read{0};
        ChecksumEngine engine(Rows, c.workers, [&](int, ReadBuffer&) {
            ++read;
            FileDigest digest;
            digest.status = FileDigestStatus::Ok;
            return digest;
        }, &flag);
        EXPECT_EQ(engine.Take(0).status, FileDigestStatus::Ok);
        StopBy(c, engine, flag);
        // A worker may be past its check of the stop, on its way into a row.
        const int readBefore = read + c.workers;
        int stopped = 0;
        for (int row = 1; row < Rows; ++row) stopped += engine.Take(row).status == FileDigestStatus::Stopped;
        EXPECT_LE(read.load(), readBefore) << "read on after the stop, " << c.workers << " workers";
        EXPECT_GE(stopped, Rows - 1000) << "the workers ran far ahead of the job";
    }
}

TEST(ChecksumEngineTest, EveryStopEndsTheReadsUnderWayWithinABlock) {
    // Files far too large to be read during the test; holes cost no disk.
    test::TempDir dir;
    constexpr int Rows = 6;
    std::vector<std::string> paths;
    for (int i = 0; i < Rows; ++i) {
        paths.push_back(dir.Write("big" + std::to_string(i), ""));
        std::filesystem::resize_file(paths.back(), std::uintmax_t{64} << 30);
    }
    // SHA-256 on plain workers, MD5 through the lanes (three per worker).
    for (DigestAlgorithm algorithm : {DigestAlgorithm::Sha256, DigestAlgorithm::Md5}) {
        for (const StopCase& c : StopCases) {
            std::atomic<std::uint8_t> flag{0};
            std::atomic<std::uint64_t> bytes{0};
            ChecksumEngine engine(Rows, {.workers = c.workers, .diskInTurn = c.diskInTurn, .nothingCached = c.diskInTurn},
                                  algorithm,
                                  [&](int row) { return paths[std::size_t(row)]; }, DigestWatch(&flag, &bytes));
            std::chrono::steady_clock::time_point stoppedAt;
            std::uint64_t bytesAtStop = 0;
            // The stop comes from another thread while this one waits for a
            // row, or reads it itself with one worker.
            std::thread stopper([&] {
                while (bytes == 0) std::this_thread::yield();
                stoppedAt = std::chrono::steady_clock::now();
                bytesAtStop = bytes;
                StopBy(c, engine, flag);
            });
            for (int row = 0; row < Rows; ++row) EXPECT_EQ(engine.Take(row).status, FileDigestStatus::Stopped) << row;
            stopper.join();
            engine.Stop();
            const auto took = std::chrono::steady_clock::now() - stoppedAt;
            const char* what = c.engineStop ? "the engine's Stop" : "the watch's stop";
            EXPECT_LT(took, std::chrono::seconds(5)) << what << ", " << c.workers << " workers";
            // Besides the blocks in hand when the stop came, about one more
            // per file under way.
            EXPECT_LE(bytes - bytesAtStop, 4u * Rows * ReadBuffer::DefaultSize) << what << ", " << c.workers << " workers";
        }
    }
}

// Who reads what, seen from read(2): the threads that read files in
// memory, and how many reads of evicted files were under way at once.
struct ReadLog {
    std::mutex mutex;
    std::set<std::thread::id> threads;
    std::set<ino_t> evicted;
    std::atomic<int> evictedUnderWay{0}, mostEvictedUnderWay{0};
};
ReadLog* readLog = nullptr;

ssize_t LoggedRead(int fd, void* buffer, std::size_t count, off_t offset) {
    struct stat status{};
    ::fstat(fd, &status);
    bool evicted;
    {
        std::lock_guard lock(readLog->mutex);
        evicted = readLog->evicted.count(status.st_ino) > 0;
        if (!evicted) readLog->threads.insert(std::this_thread::get_id());
    }
    if (!evicted) return offset < 0 ? ::read(fd, buffer, count) : ::pread(fd, buffer, count, offset);
    const int underWay = ++readLog->evictedUnderWay;
    for (int most = readLog->mostEvictedUnderWay; underWay > most && !readLog->mostEvictedUnderWay.compare_exchange_weak(most, underWay);) {}
    // Long enough for another worker to start a read of its own meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const ssize_t n = offset < 0 ? ::read(fd, buffer, count) : ::pread(fd, buffer, count, offset);
    --readLog->evictedUnderWay;
    return n;
}

TEST(ChecksumEngineTest, OnADiskReadInTurnFilesInMemoryGoOnEveryWorkerAndTheOthersOneAtATime) {
    // A disk's file system, where evicting works.
    test::TempDir dir("/var/tmp");
    std::vector<std::string> paths;
    // The files evicted below are larger than any file announced to the disk
    // ahead of its row, which would be read beside the others.
    for (int i = 0; i < 12; ++i)
        paths.push_back(dir.Write("f" + std::to_string(i), std::string(i % 3 == 0 ? 9 << 20 : 1 << 20, char('a' + i))));
    const int rows = static_cast<int>(paths.size());
    ReadBuffer buffer;
    // SHA-256 on plain workers, MD5 through the lanes.
    for (DigestAlgorithm algorithm : {DigestAlgorithm::Sha256, DigestAlgorithm::Md5}) {
        std::vector<std::string> expected;
        for (const std::string& path : paths) expected.push_back(DigestFile(algorithm, path, buffer).Text());
        ReadLog log;
        // Every third file from the disk.
        for (int i = 0; i < rows; i += 3) {
            const int fd = ::open(paths[std::size_t(i)].c_str(), O_RDONLY);
            struct stat status{};
            ::fstat(fd, &status);
            ::fdatasync(fd);
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            InputFile file;
            ASSERT_TRUE(file.Open(paths[std::size_t(i)]));
            if (file.UncachedBytes() == 0) GTEST_SKIP() << "this file system keeps its pages";
            ::close(fd);
            log.evicted.insert(status.st_ino);
        }
        readLog = &log;
        const ReadFunction before = SetReadFunctionForTesting(LoggedRead);
        {
            ChecksumEngine engine(rows, {.workers = 3, .diskInTurn = true}, algorithm,
                                  [&](int row) { return paths[std::size_t(row)]; });
            for (int row = 0; row < rows; ++row)
                EXPECT_EQ(engine.Take(row).Text(), expected[std::size_t(row)]) << row;
        }
        SetReadFunctionForTesting(before);
        EXPECT_GE(log.threads.size(), 2u) << "the files in memory were read one at a time";
        EXPECT_EQ(log.threads.count(std::this_thread::get_id()), 0u) << "the job read the files itself";
        EXPECT_EQ(log.mostEvictedUnderWay, 1) << "two files were read from the disk at once";
    }
}

TEST(ChecksumEngineTest, PinnedWorkersAreExactlyThatManyWhateverTheDisk) {
    for (const int pinned : {1, 3})
        for (const char* folder : {"/var/tmp", "/dev/shm"}) {
            const EngineOptions options = EngineOptionsFor(folder, {.workers = pinned});
            EXPECT_EQ(options.workers, pinned) << folder;
            EXPECT_FALSE(options.diskInTurn) << folder;
        }
    EXPECT_FALSE(EngineOptionsFor("/dev/shm", {}).diskInTurn) << "memory needs no turn";
}

// A sysfs tree as the kernel lays it out: a spinning disk with a partition,
// an NVMe disk with a partition, device-mapper devices over either or both,
// a loop device without a queue folder, and two btrfs file systems, one
// spanning a spinning partition; with a mount table beside it.
class FakeSysfs {
public:
    explicit FakeSysfs(const std::string& mountinfo = "") {
        Disk("sda", "8:0", '1');
        Partition("sda", "sda1", "8:1");
        Disk("nvme0n1", "259:0", '0');
        Partition("nvme0n1", "nvme0n1p1", "259:1");
        Mapper("dm-0", "253:0", {"nvme0n1/nvme0n1p1"});
        Mapper("dm-1", "253:1", {"nvme0n1/nvme0n1p1", "sda/sda1"});
        Mapper("dm-2", "253:2", {"dm-0"});
        std::filesystem::create_directories(Devices() / "loop0");
        Link("7:0", Devices() / "loop0");
        Btrfs("4f1c", {"nvme0n1/nvme0n1p1", "dm-0"});
        Btrfs("9a07", {"dm-2", "sda/sda1"});
        std::ofstream(dir.File("mountinfo")) << mountinfo;
    }
    std::string Root() const { return dir.path(); }
    SystemTree Tree() const { return {.sysfs = dir.path(), .mountinfo = dir.File("mountinfo")}; }
    // A disk that says it spins at the number of the device under `path`.
    void SpinningDiskUnder(const std::string& path) {
        struct stat status{};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        Disk("vda", std::to_string(major(status.st_dev)) + ":" + std::to_string(minor(status.st_dev)), '1');
    }

private:
    std::filesystem::path Devices() const { return std::filesystem::path(dir.path()) / "devices"; }
    void Link(const std::string& number, const std::filesystem::path& target) {
        std::filesystem::create_directories(std::filesystem::path(dir.path()) / "dev" / "block");
        std::filesystem::create_directory_symlink(target, std::filesystem::path(dir.path()) / "dev" / "block" / number);
        std::filesystem::create_directories(std::filesystem::path(dir.path()) / "class" / "block");
        std::filesystem::create_directory_symlink(target,
                                                  std::filesystem::path(dir.path()) / "class" / "block" / target.filename());
    }
    void Btrfs(const std::string& fsid, const std::vector<std::string>& devices) {
        const auto folder = std::filesystem::path(dir.path()) / "fs" / "btrfs" / fsid / "devices";
        std::filesystem::create_directories(folder);
        for (const std::string& device : devices)
            std::filesystem::create_directory_symlink(Devices() / device, folder / std::filesystem::path(device).filename());
    }
    void Disk(const std::string& name, const std::string& number, char rotational) {
        std::filesystem::create_directories(Devices() / name / "queue");
        std::ofstream(Devices() / name / "queue" / "rotational") << rotational << '\n';
        Link(number, Devices() / name);
    }
    void Partition(const std::string& disk, const std::string& name, const std::string& number) {
        std::filesystem::create_directories(Devices() / disk / name);
        std::ofstream(Devices() / disk / name / "partition") << "1\n";
        Link(number, Devices() / disk / name);
    }
    void Mapper(const std::string& name, const std::string& number, const std::vector<std::string>& below) {
        // A mapper device has a queue of its own that says nothing of the disks.
        Disk(name, number, '0');
        std::filesystem::create_directories(Devices() / name / "slaves");
        for (const std::string& slave : below)
            std::filesystem::create_directory_symlink(Devices() / slave,
                                                      Devices() / name / "slaves" / std::filesystem::path(slave).filename());
    }
    test::TempDir dir;
};

TEST(DeviceKindTest, TheDisksBelowDecide) {
    FakeSysfs sysfs;
    const struct {
        unsigned major, minor;
        DeviceKind kind;
    } cases[] = {
        {8, 0, DeviceKind::Rotational},   {8, 1, DeviceKind::Rotational},  {259, 0, DeviceKind::Solid},
        {259, 1, DeviceKind::Solid},      {253, 0, DeviceKind::Solid},     {253, 1, DeviceKind::Rotational},
        {253, 2, DeviceKind::Solid},      {7, 0, DeviceKind::Unknown},     {9, 9, DeviceKind::Unknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BlockDeviceKind(c.major, c.minor, sysfs.Root()), c.kind) << c.major << ":" << c.minor;
    EXPECT_EQ(DeviceKindOf("/dev/shm"), DeviceKind::Solid) << "tmpfs is memory";
    EXPECT_EQ(DeviceKindOf("/proc/self"), DeviceKind::Unknown) << "no block device";
}

// A disk that says it spins is read in turn unless the reads of the job's
// own files find seeks as cheap as flash's.
TEST(DeviceKindTest, ADiskThatSaysItSpinsIsReadInTurnUnlessItsSeeksAreCheap) {
    test::TempDir dir("/var/tmp");
    std::vector<std::string> paths;
    for (int i = 0; i < 8; ++i) paths.push_back(dir.Write("f" + std::to_string(i), std::string(65536, 'x')));
    FakeSysfs sysfs;
    sysfs.SpinningDiskUnder(dir.path());
    if (DeviceKindOf(dir.path(), sysfs.Tree()) != DeviceKind::Rotational) GTEST_SKIP() << "no block device under /var/tmp";
    const auto pathOf = [&](int row) { return paths[static_cast<std::size_t>(row)]; };
    EXPECT_TRUE(EngineOptionsFor(dir.path(), {}, 8, nullptr, sysfs.Tree()).diskInTurn) << "no files to ask";
    const auto seek = MeasureSeek(8, pathOf);
    if (UsableCpus() > 1) {
        EXPECT_EQ(EngineOptionsFor(dir.path(), {}, 8, pathOf, sysfs.Tree()).diskInTurn,
                  !seek || *seek > CheapSeek);
    }
    EXPECT_FALSE(EngineOptionsFor(dir.path(), {.workers = 2}, 8, pathOf, sysfs.Tree()).diskInTurn)
        << "pinned workers are not asked about";
}

// File systems without a block device of their own (0:N) are followed
// through the mount table to the devices below.
TEST(DeviceKindTest, MountsWithoutABlockDeviceAreFollowedToTheirDevices) {
    // Overlay layers in memory, one with a colon in its name.
    const std::string memory = "/dev/shm/velmar-layers-" + std::to_string(::getpid());
    std::filesystem::create_directories(memory + "/lower:2");
    const std::string mountinfo =
        "26 1 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n"
        "40 26 0:901 / /pool rw,relatime shared:5 - btrfs /dev/nvme0n1p1 rw,ssd,subvolid=5,subvol=/\n"
        "41 26 0:902 /home /mixed\\040pool rw - btrfs /dev/sda1 rw,subvol=/home\n"
        "42 26 0:903 / /lonely rw - btrfs /dev/nvme0n1 rw\n"
        "43 26 0:904 / /gone rw - btrfs /dev/sdz rw\n"
        "44 26 0:905 / /merged rw - overlay overlay rw,lowerdir=" + memory + ":" + memory +
        "/lower\\0722,upperdir=/dev/shm,workdir=/dev/shm\n"
        "45 26 0:906 / /half rw - overlay overlay rw,lowerdir=/dev/shm:/velmar-no-such-layer,upperdir=/dev/shm\n"
        "46 26 0:907 / /cache rw - bcachefs /dev/nvme0n1p1:/dev/sda1 rw\n"
        "47 26 0:908 / /tank rw - zfs tank/home rw,xattr\n"
        "48 26 0:909 / /ntfs rw - fuseblk /dev/nvme0n1p1 rw\n"
        "49 26 0:910 / /net rw - nfs4 server:/export rw\n"
        "50 26 0:911 / /pool/inner rw - fuse.sshfs me@host: rw\n";
    FakeSysfs sysfs(mountinfo);
    const struct {
        const char* path;
        unsigned minor;
        DeviceKind kind;
        const char* why;
    } cases[] = {
        {"/pool/a", 901, DeviceKind::Solid, "btrfs: every device under its fsid is flash"},
        {"/pool/subvolume/a", 999, DeviceKind::Solid, "a subvolume's number of its own: the mount holding it"},
        {"/pool/inner/a", 911, DeviceKind::Unknown, "the deepest mount with the number"},
        {"/mixed pool/a", 902, DeviceKind::Rotational, "btrfs with one spinning device"},
        {"/lonely", 903, DeviceKind::Solid, "btrfs sysfs does not list: its source"},
        {"/gone", 904, DeviceKind::Unknown, "a source sysfs does not know"},
        {"/merged/a", 905, DeviceKind::Solid, "overlay over memory"},
        {"/half", 906, DeviceKind::Unknown, "overlay with a layer that cannot be told"},
        {"/cache", 907, DeviceKind::Rotational, "bcachefs with a spinning device"},
        {"/tank", 908, DeviceKind::Unknown, "a ZFS pool"},
        {"/ntfs", 909, DeviceKind::Unknown, "FUSE"},
        {"/net", 910, DeviceKind::Unknown, "network"},
        {"/elsewhere", 912, DeviceKind::Rotational, "no number matches: the deepest mount holding it"},
    };
    for (const auto& c : cases) EXPECT_EQ(MountedKind(c.path, 0, c.minor, sysfs.Tree()), c.kind) << c.why;
    std::filesystem::remove_all(memory);
}

TEST(UsableCpusTest, TheTightestCgroupQuotaOnTheWayDown) {
    test::TempDir root;
    const struct {
        const char* folder;
        const char* cpuMax;
    } files[] = {
        {"a", "max 100000"}, {"a/b", "250000 100000"}, {"a/b/c", "50000 100000"},
        {"d", "lots 100000"}, {"e", "100000 100000"},  {"e/f", "400000 100000"},
    };
    for (const auto& f : files) {
        std::filesystem::create_directories(root.File(f.folder));
        std::ofstream(root.File(f.folder) + "/cpu.max") << f.cpuMax << '\n';
    }
    const struct {
        const char* cgroup;
        std::optional<int> cpus;
    } cases[] = {
        {"/", std::nullopt}, {"/a", std::nullopt}, {"/a/b", 3}, {"/a/b/c", 1}, {"/a/b/gone", 3},
        {"/d", std::nullopt}, {"/e/f", 1},          {"/../a/b", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(CgroupCpuLimit(root.path(), c.cgroup), c.cpus) << c.cgroup;
    EXPECT_GE(UsableCpus(), 1);
}

}  // namespace
}  // namespace velmar
