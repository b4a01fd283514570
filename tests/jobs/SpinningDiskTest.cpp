// The engine on a mount that reads like a spinning disk (one head, files laid
// out in name order, seeks counted): large files that need the disk are
// read one after another, never in interleaved pieces, and a run of small
// files goes over the platter in order instead of seeking for each. Every
// mount is fresh, so none of its files is in the page cache, and the engine
// picks its readers from the device, as for a user's folder.
// Needs FUSE and Debian's python3-fusepy; skipped where either is missing.
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "checksum/ChecksumEngine.h"
#include "checksum/FileReading.h"
#include "tests/support/FuseMount.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

constexpr const char* NoMount = "no FUSE mount here (needs /dev/fuse and python3-fusepy)";

struct DiskFigures {
    std::uint64_t reads = 0;
    std::uint64_t seeks = 0;
    std::uint64_t interleavings = 0;
};

// A figure of the mount's JSON stats, which name each figure once.
std::uint64_t Figure(const std::string& stats, const std::string& name) {
    const std::size_t at = stats.find("\"" + name + "\":");
    return at == std::string::npos ? ~std::uint64_t{0} : std::stoull(stats.substr(at + name.size() + 3));
}

// MD5 reads through the engine's lanes, the others file by file.
const struct {
    const char* name;
    DigestAlgorithm algorithm;
} Algorithms[] = {
    {.name = "MD5", .algorithm = DigestAlgorithm::Md5},
    {.name = "SHA-256", .algorithm = DigestAlgorithm::Sha256},
    {.name = "CRC-32", .algorithm = DigestAlgorithm::Crc32},
};

class SpinningDiskTest : public ::testing::Test {
protected:

    // Files f00000, f00001, ... in row order on the platter, `size` random bytes each.
    void WriteFiles(int count, std::size_t size) {
        std::mt19937 random(7);
        std::string bytes(size, '\0');
        for (int row = 0; row < count; ++row) {
            for (char& c : bytes) c = static_cast<char>(random());
            const std::string name = "f" + std::string(5 - std::to_string(row).size(), '0') + std::to_string(row);
            backing.Write(name, bytes);
            names.push_back(name);
        }
    }

    // Digests every file through the engine on a fresh mount, checks each
    // against the backing file's own, and gives what the disk did.
    std::optional<DiskFigures> DigestOnTheMount(DigestAlgorithm algorithm) {
        const std::string root = work.File("mnt");
        const std::string statsFile = work.File("stats.json");
        const int rows = static_cast<int>(names.size());
        const auto pathOf = [&](int row) { return root + "/" + names[row]; };
        const std::vector<std::string> disk = {"--seek-ms", "1", "--mib-per-s", "200", "--stats", statsFile};
        // The engine's question to the disk, on a mount of its own: its
        // reads are not the job's.
        EngineOptions options;
        {
            test::FuseMount asked("spinning_mount.py", backing.path(), root, disk);
            if (!asked.Mounted()) return std::nullopt;
            options = EngineOptionsFor(root, {}, rows, pathOf);
            EXPECT_TRUE(options.diskInTurn) << "a FUSE mount's disk cannot be told, and its seeks are a disk's";
        }
        test::FuseMount mount("spinning_mount.py", backing.path(), root, disk);
        if (!mount.Mounted()) return std::nullopt;
        {
            ChecksumEngine engine(rows, options, algorithm, pathOf);
            ReadBuffer buffer;
            for (int row = 0; row < rows; ++row)
                EXPECT_EQ(engine.Take(row).Text(), DigestFile(algorithm, backing.File(names[row]), buffer).Text())
                    << names[row];
        }
        mount.Unmount();
        const std::string stats = test::ReadAll(statsFile);
        return DiskFigures{.reads = Figure(stats, "reads"), .seeks = Figure(stats, "seeks"),
                           .interleavings = Figure(stats, "interleavings")};
    }

    test::TempDir backing;
    test::TempDir work;
    std::vector<std::string> names;
};

TEST_F(SpinningDiskTest, LargeFilesAreReadOneAfterAnother) {
    // Each far larger than the engine reads beside the others.
    WriteFiles(6, 4 << 20);
    for (const auto& [name, algorithm] : Algorithms) {
        const auto figures = DigestOnTheMount(algorithm);
        if (!figures) GTEST_SKIP() << NoMount;
        EXPECT_EQ(figures->interleavings, 0u) << name << ": " << figures->seeks << " seeks in " << figures->reads
                                              << " reads";
    }
}

TEST_F(SpinningDiskTest, SmallFilesGoOverThePlatterInOrder) {
    constexpr int Files = 2000;
    WriteFiles(Files, 4096);
    for (const auto& [name, algorithm] : Algorithms) {
        const auto figures = DigestOnTheMount(algorithm);
        if (!figures) GTEST_SKIP() << NoMount;
        EXPECT_LE(figures->seeks, Files / 10u) << name << ": in " << figures->reads << " reads of " << Files
                                               << " files";
    }
}

}  // namespace
}  // namespace velmar
