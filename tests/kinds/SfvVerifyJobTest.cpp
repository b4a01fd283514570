#include "lists/VerifyJob.h"
#include "kinds/SfvKind.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/KindCommands.h"
#include "platform/Files.h"
#include "tests/kinds/SfvTestSupport.h"

namespace velmar {
namespace {

using test::Contains;
using test::RowIcons;
using test::RowNames;

class SfvVerifyJobTest : public test::SfvTest {
protected:
    JobResult Verify(const std::string& list, ReadPurpose purpose = ReadPurpose::CommandLineVerify) {
        dir.Write("list.sfv", list);
        return frame.Run([&] { VerifyList(frame, SfvKind, dir.File("list.sfv"), dir.path(), purpose); });
    }
    bool Exists(const std::string& name) { return ::access(dir.File(name).c_str(), F_OK) == 0; }
};
VELMAR_AT_EACH_READING_POLICY(SfvVerifyJobTest);

TEST_P(SfvVerifyJobTest, GoodBadAndMissingFilesAreTalliedAndOnlyBadOnesRenamed) {
    dir.Write("good.bin", "good");
    dir.Write("bad.bin", "changed");
    sink.answers.push_back(true);
    const JobResult result = Verify(Crlf("; a comment\n" + Line("good.bin", "good") + Line("bad.bin", "original") +
                                         Line("gone.bin", "gone")));

    EXPECT_EQ(result.end, JobEnd::Completed);
    EXPECT_EQ(RowNames(sink), (std::vector<std::string>{"good.bin", "bad.bin", "gone.bin"}));
    EXPECT_EQ(RowIcons(sink), (std::vector<StatusIcon>{IconOk, IconBad, IconNA}));
    EXPECT_TRUE(Contains(sink.Log(), "Summary OK:1  BAD:1  N/A:1"));
    EXPECT_TRUE(Contains(sink.Log(), "Ask Rename Bad Files?"));
    EXPECT_TRUE(Exists("bad.bin.BAD"));
    EXPECT_FALSE(Exists("bad.bin"));
    EXPECT_TRUE(Exists("good.bin"));
    EXPECT_FALSE(Exists("gone.bin.BAD"));
}

TEST_P(SfvVerifyJobTest, NoBadFileAsksNothingAndNoKeepsTheNames) {
    dir.Write("a.bin", "a");
    Verify(Line("a.bin", "a"));
    EXPECT_FALSE(Contains(sink.Log(), "Ask Rename Bad Files?"));
    EXPECT_TRUE(Contains(sink.Log(), "Summary OK:1  BAD:0  N/A:0"));

    test::RecordingSink second;
    second.answers.push_back(false);
    dir.Write("list.sfv", Line("a.bin", "not a"));
    EXPECT_EQ(VerifyOn(second, dir.File("list.sfv"), dir.path()).end, JobEnd::Completed);
    EXPECT_TRUE(Contains(second.Log(), "Ask Rename Bad Files?"));
    EXPECT_TRUE(Exists("a.bin"));
    EXPECT_FALSE(Exists("a.bin.BAD"));
}

TEST_P(SfvVerifyJobTest, ARenameNeverReplacesAndTheNextFileIsStillRenamed) {
    dir.Write("one.bin", "one");
    dir.Write("one.bin.BAD", "kept");
    dir.Write("two.bin", "two");
    sink.answers.push_back(true);
    Verify(Line("one.bin", "x") + Line("two.bin", "y"));
    EXPECT_EQ(test::ReadAll(dir.File("one.bin.BAD")), "kept");
    EXPECT_TRUE(Exists("one.bin"));
    EXPECT_TRUE(Exists("two.bin.BAD"));
}

TEST_P(SfvVerifyJobTest, WindowsStyleListsWithSubfoldersCaseAndCtrlZ) {
    ::mkdir(dir.File("disc1").c_str(), 0755);
    dir.Write("disc1/track01.mp3", "t1");
    dir.Write("Track02.mp3", "t2");
    std::string lower = test::Hex8(test::CrcOf("t2"));
    for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Verify(Crlf(Line("disc1\\track01.mp3", "t1") + "Track02.mp3 " + lower + "\n") + "\x1A" + "junk 00000000\r\n");
    EXPECT_EQ(RowNames(sink), (std::vector<std::string>{"disc1\\track01.mp3", "Track02.mp3"}));
    EXPECT_EQ(RowIcons(sink), (std::vector<StatusIcon>{IconOk, IconOk}));
}

TEST_P(SfvVerifyJobTest, ALeftTrimmedRetryFindsTheFileButTheRenameUsesTheListedName) {
    dir.Write("indented.bin", "data");
    sink.answers.push_back(true);
    Verify("  indented.bin 00000000\n");
    EXPECT_EQ(RowIcons(sink), (std::vector<StatusIcon>{IconBad}));
    EXPECT_TRUE(Exists("indented.bin")) << "no file has the listed name with its blanks";
}

TEST_P(SfvVerifyJobTest, NamesWithBlanksAndTwoRowsOfOneFile) {
    dir.Write("a b c", "abc");
    sink.answers.push_back(false);
    Verify(Line("a b c", "abc") + Line("a b c", "other"));
    EXPECT_EQ(RowIcons(sink), (std::vector<StatusIcon>{IconOk, IconBad}));
}

TEST_P(SfvVerifyJobTest, LinesThatAreNotEntriesUnderEachPolicy) {
    // Seven digits at the end of the file: skipped by the command line's
    // policy, with or without a line feed.
    dir.Write("a.bin", "a");
    for (const std::string tail : {"short.bin 1234567\n", "short.bin 1234567"}) {
        test::RecordingSink events;
        dir.Write("list.sfv", Line("a.bin", "a") + tail);
        EXPECT_EQ(VerifyOn(events, dir.File("list.sfv"), dir.path()).end, JobEnd::Completed) << tail;
        EXPECT_EQ(RowNames(events), (std::vector<std::string>{"a.bin"})) << tail;
    }
    // A line with no blank after good lines fails the job.
    const JobResult result = Verify(Line("a.bin", "a") + "noblankatall\n");
    EXPECT_EQ(result.end, JobEnd::Failed);
    EXPECT_EQ(result.failure, JobFailure::ListUnusable);
    EXPECT_EQ(result.message, "Bad SFV File.. Exiting");
    EXPECT_EQ(RowNames(sink), (std::vector<std::string>{"a.bin"}));
}

TEST_P(SfvVerifyJobTest, AMissingListIsFatal) {
    const JobResult result =
        frame.Run([&] { VerifyList(frame, SfvKind, dir.File("none.sfv"), dir.path(), ReadPurpose::MenuVerify); });
    EXPECT_EQ(result.end, JobEnd::Failed);
    EXPECT_EQ(result.failure, JobFailure::ListUnusable);
    EXPECT_EQ(result.message, "SFV File Does Not Exist.. Exiting");
    EXPECT_TRUE(sink.Log().empty());
}

TEST_P(SfvVerifyJobTest, SelectVerifyChecksChosenRowsAgainOnEveryPress) {
    dir.Write("a.bin", "a");
    dir.Write("b.bin", "broken");
    dir.Write("list.sfv", Line("a.bin", "a") + Line("b.bin", "b") + Line("c.bin", "c"));
    test::FakeWindow window;
    MainWindowState state;
    test::PinReading(state);
    test::ProgramEndCatcher catcher;
    window.dialogAnswers.push_back(std::vector<std::string>{dir.File("list.sfv")});
    SelectVerifyCommand(window, state, SfvKind);
    ASSERT_EQ(RowNames(window), (std::vector<std::string>{"a.bin", "b.bin", "c.bin"}));

    window.Select({1});
    SelectVerifyGo(window, state, SfvKind);
    ASSERT_TRUE(test::WaitForJobsToEnd());
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconPending, IconBad, IconPending}));

    dir.Write("b.bin", "b");  // repaired
    window.Select({1, 2});
    SelectVerifyGo(window, state, SfvKind);
    ASSERT_TRUE(test::WaitForJobsToEnd());
    SelectVerifyGo(window, state, SfvKind);
    ASSERT_TRUE(test::WaitForJobsToEnd());
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconPending, IconOk, IconNA}));
}

}  // namespace
}  // namespace velmar
