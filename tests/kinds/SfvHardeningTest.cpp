// Lists and listed files that are not what they claim: devices, folders,
// link loops, odd bytes in names, files that change under the job.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "lists/VerifyJob.h"
#include "kinds/SfvKind.h"
#include "checksum/ChecksumEngine.h"
#include "tests/kinds/SfvTestSupport.h"

namespace velmar {
namespace {

using test::Contains;
using test::RowIcons;
using test::RowNames;

class SfvHardeningTest : public test::SfvTest {
protected:
    JobResult VerifyList(const std::string& list) {
        return frame.Run([&] { velmar::VerifyList(frame, SfvKind, list, dir.path(), ReadPurpose::CommandLineVerify); });
    }
};
VELMAR_AT_EACH_READING_POLICY(SfvHardeningTest);

TEST_P(SfvHardeningTest, AListThatIsNoRegularFileIsReportedMissingAndNeverHangs) {
    ::mkdir(dir.File("folder.sfv").c_str(), 0755);
    ASSERT_EQ(::symlink("loop.sfv", dir.File("loop.sfv").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.File("fifo.sfv").c_str(), 0644), 0);
    for (const std::string& list : {dir.File("folder.sfv"), dir.File("loop.sfv"), std::string("/dev/zero"),
                                   dir.File("fifo.sfv")}) {
        test::RecordingSink events;
        const JobResult result = VerifyOn(events, list, dir.path(), ReadPurpose::MenuVerify);
        EXPECT_EQ(result.end, JobEnd::Failed) << list;
        EXPECT_EQ(result.message, "SFV File Does Not Exist.. Exiting") << list;
    }
}

TEST_P(SfvHardeningTest, ListedDevicesFoldersAndLoopsAreNotAvailable) {
    ::mkdir(dir.File("folder.bin").c_str(), 0755);
    ASSERT_EQ(::symlink("loop.bin", dir.File("loop.bin").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.File("zero.bin").c_str()), 0);
    dir.Write("list.sfv", "folder.bin 00000000\nloop.bin 00000000\nzero.bin 00000000\n");
    VerifyList(dir.File("list.sfv"));
    EXPECT_EQ(RowIcons(sink), (std::vector<StatusIcon>{IconNA, IconNA, IconNA}));
}

TEST_P(SfvHardeningTest, NamesWithFormatSignsControlBytesAndInvalidUtf8AreKeptAsBytes) {
    const std::vector<std::string> names = {"100%", "%s%n%x", "tab\there", "\xff\xfe-not-utf8"};
    std::string list;
    for (const auto& name : names) {
        dir.Write(name, name);
        list += Line(name, name);
    }
    dir.Write("list.sfv", list);
    VerifyList(dir.File("list.sfv"));
    EXPECT_EQ(RowNames(sink), names);
    EXPECT_EQ(RowIcons(sink), std::vector<StatusIcon>(names.size(), IconOk));
}

TEST_P(SfvHardeningTest, LinesAroundThePieceLengthSplitWhereTheReaderDoes) {
    // 511 bytes fit one piece; at 512 the last byte begins the next piece,
    // which has no blank and ends the list as malformed.
    dir.Write("a.bin", "a");
    const std::string entry = Line("a.bin", "a");
    for (std::size_t length : {510u, 511u}) {
        test::RecordingSink events;
        const std::string name(length - 9, 'x');
        dir.Write("list.sfv", name + " 00000000\n" + entry);
        EXPECT_EQ(VerifyOn(events, dir.File("list.sfv"), dir.path()).end, JobEnd::Completed) << length;
        EXPECT_EQ(RowNames(events), (std::vector<std::string>{name, "a.bin"})) << length;
    }
    dir.Write("list.sfv", std::string(503, 'x') + " 00000000\n" + entry);
    const JobResult result = VerifyList(dir.File("list.sfv"));
    EXPECT_EQ(result.end, JobEnd::Failed);
    EXPECT_EQ(result.message, "Bad SFV File.. Exiting");
}

TEST_P(SfvHardeningTest, FilesChangedBeforeTheirTurnAreToldApartAndNothingIsLost) {
    dir.Write("truncated.bin", "whole");
    dir.Write("folder.bin", "was a file");
    dir.Write("gone.bin", "gone");
    const std::string list = Line("truncated.bin", "whole") + Line("folder.bin", "was a file") + Line("gone.bin", "gone") +
                             Line("twice.bin", "twice") + Line("twice.bin", "twice");
    dir.Write("list.sfv", list);
    ::truncate(dir.File("truncated.bin").c_str(), 2);
    ::unlink(dir.File("folder.bin").c_str());
    ::mkdir(dir.File("folder.bin").c_str(), 0755);
    ::unlink(dir.File("gone.bin").c_str());
    dir.Write("twice.bin", "changed");
    sink.answers.push_back(true);
    VerifyList(dir.File("list.sfv"));
    EXPECT_EQ(RowIcons(sink), (std::vector<StatusIcon>{IconBad, IconNA, IconNA, IconBad, IconBad}));
    EXPECT_EQ(test::ReadAll(dir.File("truncated.bin.BAD")), "wh");
    EXPECT_EQ(test::ReadAll(dir.File("twice.bin.BAD")), "changed") << "renamed once; the second rename finds nothing";
    struct stat st{};
    EXPECT_EQ(::stat(dir.File("folder.bin").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode)) << "a folder is never renamed";
}

TEST_P(SfvHardeningTest, TheListsFolderRemovedAfterTheFirstRowLeavesTheRestMissing) {
    const std::string folder = dir.path();
    std::string list;
    for (const char* name : {"1.bin", "2.bin", "3.bin"}) {
        dir.Write(name, name);
        list += Line(name, "other bytes");
    }
    dir.Write("list.sfv", list);
    const std::string firstBad = "RowMarked 0 " + std::to_string(IconBad);
    sink.onRecord = [&](std::size_t) {
        if (sink.Log().back() == firstBad) std::filesystem::remove_all(folder);
    };
    sink.answers.push_back(true);
    // Workers reading ahead might read the rest before the folder goes.
    control.engine.workers = 1;
    const JobResult result = VerifyList(folder + "/list.sfv");
    EXPECT_EQ(result.end, JobEnd::Completed);
    EXPECT_EQ(RowIcons(sink), (std::vector<StatusIcon>{IconBad, IconNA, IconNA}));
    EXPECT_TRUE(Contains(sink.Log(), "Summary OK:0  BAD:1  N/A:2"));
    EXPECT_TRUE(Contains(sink.Log(), "Ask Rename Bad Files?"));
    EXPECT_TRUE(sink.Log().back().starts_with("Told 1 bad file was not renamed:\n1.bin: "))
        << "the rename of a vanished file is told as not done, and the job still ends as it should";
}

}  // namespace
}  // namespace velmar
