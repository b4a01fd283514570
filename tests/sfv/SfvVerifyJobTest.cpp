#include "lists/VerifyJob.h"
#include "sfv/SfvKind.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "lists/KindCommands.h"
#include "lists/SelectVerify.h"
#include "tests/sfv/SfvTestSupport.h"

namespace velmar {
namespace {

using test::Contains;
using test::ProgramEnded;
using test::RowIcons;
using test::RowNames;

class SfvVerifyJobTest : public test::SfvTest {
protected:
    void Verify(const std::string& list, ReadPurpose purpose = ReadPurpose::CommandLineVerify) {
        dir.Write("list.sfv", list);
        VerifyList(frame, SfvKind, dir.File("list.sfv"), dir.path(), purpose);
    }
    bool Exists(const std::string& name) { return ::access(dir.File(name).c_str(), F_OK) == 0; }
};
VELMAR_AT_EACH_READING_POLICY(SfvVerifyJobTest);

TEST_P(SfvVerifyJobTest, GoodBadAndMissingFilesAreTalliedAndOnlyBadOnesRenamed) {
    dir.Write("good.bin", "good");
    dir.Write("bad.bin", "changed");
    window.messageAnswers.push_back(MessageAnswer::Yes);
    Verify(Crlf("; a comment\n" + Line("good.bin", "good") + Line("bad.bin", "original") +
                Line("gone.bin", "gone")));

    EXPECT_EQ(RowNames(window), (std::vector<std::string>{"good.bin", "bad.bin", "gone.bin"}));
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconOk, IconBad, IconNA}));
    EXPECT_TRUE(Contains(window.Log(), "SetText Label1 OK:1  BAD:1  N/A:1"));
    EXPECT_TRUE(Contains(window.Log(), "MessageBox YesNo Rename Bad Files?"));
    EXPECT_TRUE(Exists("bad.bin.BAD"));
    EXPECT_FALSE(Exists("bad.bin"));
    EXPECT_TRUE(Exists("good.bin"));
    EXPECT_FALSE(Exists("gone.bin.BAD"));
    EXPECT_EQ(state.Busy, 0);
}

TEST_P(SfvVerifyJobTest, NoBadFileAsksNothingAndNoKeepsTheNames) {
    dir.Write("a.bin", "a");
    Verify(Line("a.bin", "a"));
    EXPECT_FALSE(Contains(window.Log(), "MessageBox YesNo Rename Bad Files?"));
    EXPECT_TRUE(Contains(window.Log(), "SetText Label1 OK:1  BAD:0  N/A:0"));

    test::FakeWindow second;
    JobFrame job(second, state);
    second.messageAnswers.push_back(MessageAnswer::No);
    dir.Write("list.sfv", Line("a.bin", "not a"));
    VerifyList(job, SfvKind, dir.File("list.sfv"), dir.path(), ReadPurpose::CommandLineVerify);
    EXPECT_TRUE(Exists("a.bin"));
    EXPECT_FALSE(Exists("a.bin.BAD"));
}

TEST_P(SfvVerifyJobTest, ARenameNeverReplacesAndTheNextFileIsStillRenamed) {
    dir.Write("one.bin", "one");
    dir.Write("one.bin.BAD", "kept");
    dir.Write("two.bin", "two");
    window.messageAnswers.push_back(MessageAnswer::Yes);
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
    EXPECT_EQ(RowNames(window), (std::vector<std::string>{"disc1\\track01.mp3", "Track02.mp3"}));
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconOk, IconOk}));
}

TEST_P(SfvVerifyJobTest, ALeftTrimmedRetryFindsTheFileButTheRenameUsesTheListedName) {
    dir.Write("indented.bin", "data");
    window.messageAnswers.push_back(MessageAnswer::Yes);
    Verify("  indented.bin 00000000\n");
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconBad}));
    EXPECT_TRUE(Exists("indented.bin")) << "no file has the listed name with its blanks";
}

TEST_P(SfvVerifyJobTest, NamesWithBlanksAndTwoRowsOfOneFile) {
    dir.Write("a b c", "abc");
    window.messageAnswers.push_back(MessageAnswer::No);
    Verify(Line("a b c", "abc") + Line("a b c", "other"));
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconOk, IconBad}));
}

TEST_P(SfvVerifyJobTest, LinesThatAreNotEntriesUnderEachPolicy) {
    // Seven digits at the end of the file: skipped by the command line's
    // policy, with or without a line feed.
    dir.Write("a.bin", "a");
    for (const std::string tail : {"short.bin 1234567\n", "short.bin 1234567"}) {
        test::FakeWindow w;
        JobFrame job(w, state);
        dir.Write("list.sfv", Line("a.bin", "a") + tail);
        VerifyList(job, SfvKind, dir.File("list.sfv"), dir.path(), ReadPurpose::CommandLineVerify);
        EXPECT_EQ(test::RowNames(w), (std::vector<std::string>{"a.bin"})) << tail;
    }
    // A line with no blank after good lines ends the program.
    EXPECT_THROW(Verify(Line("a.bin", "a") + "noblankatall\n"), ProgramEnded);
    EXPECT_EQ(RowNames(window), (std::vector<std::string>{"a.bin"}));
    EXPECT_EQ(window.Log().back(), "MessageBox Ok Bad SFV File.. Exiting");
}

TEST_P(SfvVerifyJobTest, AMissingListIsFatal) {
    EXPECT_THROW(VerifyList(frame, SfvKind, dir.File("none.sfv"), dir.path(), ReadPurpose::MenuVerify),
                 ProgramEnded);
    EXPECT_EQ(window.Log().back(), "MessageBox Ok SFV File Does Not Exist.. Exiting");
}

TEST_P(SfvVerifyJobTest, SelectVerifyChecksChosenRowsAgainOnEveryPress) {
    dir.Write("a.bin", "a");
    dir.Write("b.bin", "broken");
    dir.Write("list.sfv", Line("a.bin", "a") + Line("b.bin", "b") + Line("c.bin", "c"));
    LoadSelectVerify(window, state, SfvKind, dir.File("list.sfv"));
    state.ListDirectory = dir.path();
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
