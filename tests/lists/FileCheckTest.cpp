// A download checked against what its web page shows, against the list
// beside it, and two files compared.
#include "lists/FileCheck.h"

#include <gtest/gtest.h>

#include "kinds/SumToolKinds.h"
#include "tests/support/JobTest.h"

namespace velmar {
namespace {

constexpr const char* Sha256OfAbc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

class FileCheckTest : public test::JobTest {
protected:
    std::string abc = dir.Write("abc.iso", "abc");
};

TEST_F(FileCheckTest, APastedDigestMatchesAsTheAlgorithmItIsOfTheOnesItsTextCanBe) {
    const struct {
        const char* text;
        StatusIcon icon;
        std::optional<DigestAlgorithm> matched;
    } cases[] = {
        {Sha256OfAbc, IconOk, DigestAlgorithm::Sha256},
        {"BA:78:16:BF:8F:01:CF:EA:41:41:40:DE:5D:AE:22:23:B0:03:61:A3:96:17:7A:9C:B4:10:FF:61:F2:00:15:AD", IconOk,
         DigestAlgorithm::Sha256},
        {"  ba7816bf 8f01cfea 414140de 5dae2223\n b00361a3 96177a9c b410ff61 f20015ad  ", IconOk, DigestAlgorithm::Sha256},
        {"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  abc.iso", IconOk, DigestAlgorithm::Sha256},
        {"ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=", IconOk, DigestAlgorithm::Sha256},
        {"sha256-ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=", IconOk, DigestAlgorithm::Sha256},
        {"sha512-3a81oZNherrMQXNJriBBMRLm+k6JqX6iCp7u5ktV05ohkpkqJ0/BqDa6PCOj/uu9RU1EI2Q86A4qmslPpUyknw==", IconOk,
         DigestAlgorithm::Sha512},
        {"0x352441C2", IconOk, DigestAlgorithm::Crc32},
        {"900150983cd24fb0d6963f7d28e17f72", IconOk, DigestAlgorithm::Md5},
        {"a9993e364706816aba3e25717850c26c9cd0d89d", IconOk, DigestAlgorithm::Sha1},
        // Not the likeliest of its length: found in the second read.
        {"6437b3ac38465133ffb63b75273a8db548c558465d79db03fd359c6cd5bd9d85", IconOk, DigestAlgorithm::Blake3},
        {"ba80a53f981c4d0d6a2797b69f12f6e94c212f14685ac4b74b12bb6fdbffa2d17d87c5392aab792dc252d5de4533cc9518d38aa8dbf1925ab92386edd4009923",
         IconOk, DigestAlgorithm::Blake2b},
        {"78af5f94892f3950", IconOk, DigestAlgorithm::Xxh3},
        {"06b05ab6733a618578af5f94892f3950", IconOk, DigestAlgorithm::Xxh128},
        {"3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532", IconOk, DigestAlgorithm::Sha3_256},
        {"b751850b1a57168a5693cd924b6b096e08f621827444f70d884f5d0240d2712e10e116e9192af3c91a7ec57647e3934057340b4cf408d5a56592f8274eec53f0",
         IconOk, DigestAlgorithm::Sha3_512},
        {"0000000000000000000000000000000000000000000000000000000000000000", IconBad, std::nullopt},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.text);
        const auto digest = ParsePastedDigest(each.text);
        ASSERT_TRUE(digest);
        test::RecordingSink rows;
        JobFrame check(rows, control);
        const FileCheck result = CheckFile(check, abc, &*digest);
        EXPECT_EQ(result.icon, each.icon);
        EXPECT_EQ(result.matched, each.matched);
        ASSERT_EQ(rows.Rows().size(), 1u);
        EXPECT_EQ(rows.Rows()[0].name, "abc.iso");
        EXPECT_EQ(rows.Rows()[0].icon, each.icon);
    }
    EXPECT_EQ(sink.Rows().size(), 0u);
}

TEST_F(FileCheckTest, WhatIsNoDigestIsRefusedAndAFileThatMatchesNoneNamesWhatWasTried) {
    for (const char* text : {"", "hello", "abc123", "0x", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015a",
                             "sha256-AAAA", "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa1="})
        EXPECT_FALSE(ParsePastedDigest(text)) << text;

    const auto wrong = ParsePastedDigest(std::string(64, 'f'));
    CheckFile(frame, abc, &*wrong);
    EXPECT_EQ(sink.Rows()[0].details.reason, "matches none of SHA-256, BLAKE3, SHA3-256");
    EXPECT_EQ(sink.Log().back(), "Summary BAD: matches none of SHA-256, BLAKE3, SHA3-256");
}

TEST_F(FileCheckTest, WithoutADigestEveryDigestComesFromOneReadAndAMissingFileIsNA) {
    const FileCheck shown = CheckFile(frame, abc, nullptr);
    EXPECT_EQ(shown.icon, IconOk);
    ASSERT_EQ(shown.algorithms.size(), ShownAlgorithms().size());
    const std::string reason = sink.Rows()[0].details.reason;
    EXPECT_NE(reason.find("CRC-32 352441c2\nMD5 900150983cd24fb0d6963f7d28e17f72\n"), std::string::npos) << reason;
    EXPECT_NE(reason.find(std::string("SHA-256 ") + Sha256OfAbc), std::string::npos) << reason;

    test::RecordingSink rows;
    JobFrame missing(rows, control);
    EXPECT_EQ(CheckFile(missing, dir.File("gone.iso"), nullptr).icon, IconNA);
    EXPECT_EQ(rows.Rows()[0].details.reason, "missing");
}

TEST_F(FileCheckTest, AgainstADistributionsListOnlyTheFileDownloadedIsChecked) {
    const std::string list = dir.Write("SHA256SUMS", std::string(64, '1') + " *desktop.iso\n" + Sha256OfAbc +
                                                          " *abc.iso\n" + std::string(64, '2') + " *server.iso\n" +
                                                          std::string(64, '3') + " *netinst.iso\n");
    const FileCheck checked = CheckFileAgainstList(frame, abc, Sha256Kind, list);
    EXPECT_EQ(checked.icon, IconOk);
    EXPECT_EQ(checked.matched, DigestAlgorithm::Sha256);
    ASSERT_EQ(sink.Rows().size(), 1u);
    EXPECT_EQ(sink.checkedList, list);

    test::RecordingSink rows;
    JobFrame unnamed(rows, control);
    EXPECT_EQ(CheckFileAgainstList(unnamed, dir.Write("other.iso", "x"), Sha256Kind, list).icon, IconNA);
    EXPECT_EQ(rows.Rows()[0].details.reason, "not named in SHA256SUMS");
}

TEST_F(FileCheckTest, TwoFilesAreIdenticalOrDifferAtAByteOrInSize) {
    const std::string big(3 * 1048576 + 5, 'v');
    std::string changed = big;
    changed[2 * 1048576 + 7] = 'w';
    const struct {
        std::string a, b;
        FileComparison::Answer answer;
        std::optional<std::uint64_t> at;
        const char* summary;
    } cases[] = {
        {big, big, FileComparison::Answer::Identical, std::nullopt, "Identical"},
        {big, changed, FileComparison::Answer::Different, 2 * 1048576 + 7, "Different at byte 2097159"},
        {"abc", "abcd", FileComparison::Answer::Different, std::nullopt, "Different: 3 against 4 bytes"},
        {"", "", FileComparison::Answer::Identical, std::nullopt, "Identical"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.summary);
        test::RecordingSink rows;
        JobFrame compare(rows, control);
        const FileComparison result = CompareFiles(compare, dir.Write("a", each.a), dir.Write("b", each.b));
        EXPECT_EQ(result.answer, each.answer);
        EXPECT_EQ(result.firstDifference, each.at);
        EXPECT_EQ(rows.Log().back(), std::string("Summary ") + each.summary);
        ASSERT_EQ(rows.Rows().size(), 2u);
        EXPECT_EQ(rows.Rows()[1].icon, each.answer == FileComparison::Answer::Identical ? IconOk : IconBad);
    }
    EXPECT_EQ(CompareFiles(frame, dir.File("none"), abc).answer, FileComparison::Answer::Unreadable);
}

}  // namespace
}  // namespace velmar
