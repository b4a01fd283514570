// Lists verified on a real mount whose disc fails in the middle of a file.
// The M3U job and those of the kinds in the sum tools' layout end the program with "Error Reading File.. Exiting"
// at the failing file; the SFV job counts the file as bad, as it does any
// file whose bytes do not give the listed CRC. Nothing is renamed or lost.
// Needs FUSE and Debian's python3-fusepy; skipped where either is missing.
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "kinds/SumLine.h"
#include "lists/VerifyJob.h"
#include "kinds/M3uKind.h"
#include "kinds/ListKinds.h"
#include "kinds/SumToolKinds.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/FuseMount.h"
#include "tests/support/JobTest.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

constexpr const char* GoodMd5 = "755f85c2723bb39381c7379a604160d8";

// The kinds whose lists hold a digest and a name per line, each list named
// as the kind names it.
std::vector<const ListKind*> SumKinds() {
    std::vector<const ListKind*> kinds;
    for (const SumToolKind& each : SumToolKinds()) kinds.push_back(&each.kind);
    return kinds;
}

class FailingMountTest : public ::testing::Test, public test::AtEachReadingPolicy {
protected:
    void SetUp() override {
        backing.Write("good.bin", "good");
        // Past the 64 KiB the mount gives before its reads fail.
        backing.Write("failing.bin", std::string(200000, 'x'));
        backing.Write("list.sfv", "good.bin 6C844E92\nfailing.bin 00000000\n");
        ReadBuffer buffer;
        for (const ListKind* kind : SumKinds()) {
            FileDigest zeros;
            zeros.status = FileDigestStatus::Ok;
            zeros.size = DigestSize(kind->algorithm);
            const FileDigest good = DigestFile(kind->algorithm, backing.File("good.bin"), buffer);
            backing.Write(kind->firstName, kind->entryLines("good.bin", good, *kind, {}) +
                                               kind->entryLines("failing.bin", zeros, *kind, {}));
        }
        backing.Write("list.m3u", "#" + std::string(GoodMd5) + "\ngood.bin\n#" + std::string(32, '0') + "\nfailing.bin\n");
        if (!mount.Mounted()) GTEST_SKIP() << "no FUSE mount here (needs /dev/fuse and python3-fusepy)";
    }

    // Runs a verification of the list `name` on the mount, read as `kind`,
    // Yes to every question.
    JobResult Verify(test::RecordingSink& sink, const std::string& name, const ListKind& kind, ReadPurpose purpose) {
        sink.answers.push_back(true);
        JobControl control;
        test::PinReading(control);
        JobFrame frame(sink, control);
        const JobResult result = frame.Run([&] { VerifyList(frame, kind, root + "/" + name, purpose); });
        EXPECT_TRUE(std::filesystem::exists(backing.File("failing.bin"))) << name;
        EXPECT_TRUE(std::filesystem::exists(backing.File("good.bin"))) << name;
        return result;
    }

    test::TempDir backing;
    test::TempDir mountParent;
    const std::string root = mountParent.File("mnt");
    test::FuseMount mount{"failing_mount.py", backing.path(), root};
};

VELMAR_AT_EACH_READING_POLICY(FailingMountTest);

TEST_P(FailingMountTest, DigestListsFailAtTheFailingFile) {
    std::vector<std::pair<std::string, const ListKind*>> jobs = {{"list.m3u", &M3uKind}};
    for (const ListKind* kind : SumKinds()) jobs.push_back({kind->firstName, kind});
    ASSERT_GE(jobs.size(), 3u);
    for (const auto& [name, kind] : jobs) {
        test::RecordingSink sink;
        const JobResult result = Verify(sink, name, *kind, ReadPurpose::MenuVerify);
        EXPECT_EQ(result.end, JobEnd::Failed) << name;
        EXPECT_EQ(result.message, "Error Reading File.. Exiting") << name;
        EXPECT_EQ(test::RowIcons(sink), (std::vector<StatusIcon>{IconOk, IconPending})) << name;
    }
}

TEST_P(FailingMountTest, SfvCountsTheFailingFileBadAndItsRenameFailsQuietly) {
    test::RecordingSink sink;
    const std::string list = root + "/list.sfv";
    EXPECT_EQ(Verify(sink, "list.sfv", ListKindOf(list), ReadPurpose::CommandLineVerify).end, JobEnd::Completed);
    const auto log = sink.Log();
    EXPECT_EQ(test::RowIcons(sink), (std::vector<StatusIcon>{IconOk, IconBad}));
    // The row tells where and why: the bytes before the bad sector were read.
    const RowDetails failed = sink.Rows()[1].details;
    EXPECT_EQ(failed.reason, "failed at byte 65536: Input/output error");
    EXPECT_EQ(failed.size, 65536u);
    EXPECT_EQ(failed.computed, "");
    EXPECT_TRUE(test::Contains(log, "Summary OK:1  BAD:1  N/A:0"));
    EXPECT_TRUE(test::Contains(log, "Ask Rename Bad Files?"));
    EXPECT_FALSE(std::filesystem::exists(backing.File("failing.bin.BAD"))) << "the mount is read-only";
}

}  // namespace
}  // namespace velmar
