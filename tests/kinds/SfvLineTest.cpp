#include "kinds/SfvLine.h"

#include <gtest/gtest.h>

namespace velmar {
namespace {

constexpr SfvChecksumPolicy Menu = SfvChecksumPolicy::SkipBadLength;
constexpr SfvChecksumPolicy Strict = SfvChecksumPolicy::SkipBadLengthOrDigit;
constexpr SfvChecksumPolicy Select = SfvChecksumPolicy::ExitOnBadLength;
constexpr SfvChecksumPolicy AllPolicies[] = {Menu, Strict, Select};

SfvLine Parse(std::string_view piece, SfvChecksumPolicy policy) { return ParseSfvLine(piece, policy); }

TEST(SfvLineTest, OnlyTheFirstColumnMakesACommentOrABlankLine) {
    for (auto policy : AllPolicies) {
        EXPECT_EQ(Parse("; a comment 12345678\n", policy).kind, SfvLineKind::Skip);
        EXPECT_EQ(Parse(";\n", policy).kind, SfvLineKind::Skip);
        EXPECT_EQ(Parse("\n", policy).kind, SfvLineKind::Skip);
        EXPECT_EQ(Parse("\r junk", policy).kind, SfvLineKind::Skip);
        // No space anywhere: the list is malformed, whatever the reader.
        EXPECT_EQ(Parse("file.bin\n", policy).kind, SfvLineKind::Fatal);
        EXPECT_EQ(Parse("file.bin\t1234ABCD\n", policy).kind, SfvLineKind::Fatal) << "tabs are no separators";
        EXPECT_EQ(Parse("", policy).kind, SfvLineKind::Fatal);
    }

    // Two blanks, ";", a blank and a word: the last space leaves "indented\n",
    // cut to 8 characters, which reads as 0 where letters are allowed.
    const std::string_view indented = "  ; indented\n";
    SfvLine menu = Parse(indented, Menu);
    EXPECT_EQ(menu.kind, SfvLineKind::Entry);
    EXPECT_EQ(menu.entry.name, "  ;");
    EXPECT_EQ(menu.entry.expectedCrc, 0u);
    EXPECT_EQ(Parse(indented, Strict).kind, SfvLineKind::Skip);
    SfvLine select = Parse(indented, Select);
    EXPECT_EQ(select.kind, SfvLineKind::Entry);
    EXPECT_EQ(select.entry.name, "  ;");
}

TEST(SfvLineTest, TheNameIsEverythingBeforeTheLastSpace) {
    for (auto policy : AllPolicies) {
        SfvLine line = Parse("a b c 0000ABCD\n", policy);
        ASSERT_EQ(line.kind, SfvLineKind::Entry);
        EXPECT_EQ(line.entry.name, "a b c");
        EXPECT_EQ(line.entry.expectedCrc, 0x0000ABCDu);
        EXPECT_EQ(Parse("  lead.bin 1234abcd\n", policy).entry.name, "  lead.bin");
        EXPECT_EQ(Parse("x 1234abcd\n", policy).entry.expectedCrc, Parse("x 1234ABCD\n", policy).entry.expectedCrc);
        // A longer token is cut to its first 8 characters.
        EXPECT_EQ(Parse("x 1234ABCDEF\n", policy).entry.expectedCrc, 0x1234ABCDu);
        EXPECT_EQ(Parse(" 1234ABCD\n", policy).entry.name, "");
    }
}

TEST(SfvLineTest, TheFieldLengthDecidesBetweenSkipAndTheEnd) {
    // A blank after the digits leaves a field of just the line feed.
    EXPECT_EQ(Parse("x.bin 1234ABCD \n", Menu).kind, SfvLineKind::Skip);
    EXPECT_EQ(Parse("x.bin 1234ABCD \n", Strict).kind, SfvLineKind::Skip);
    SfvLine select = Parse("x.bin 1234ABCD \n", Select);
    EXPECT_EQ(select.kind, SfvLineKind::FatalAfterRow);
    EXPECT_EQ(select.entry.name, "x.bin 1234ABCD") << "the row shown before the end";

    // Seven digits at the very end of the list, without a line feed.
    EXPECT_EQ(Parse("x.bin 1234ABC", Menu).kind, SfvLineKind::Skip);
    EXPECT_EQ(Parse("x.bin 1234ABC", Strict).kind, SfvLineKind::Skip);
    EXPECT_EQ(Parse("x.bin 1234ABC", Select).kind, SfvLineKind::FatalAfterRow);

    // The same seven digits with their line feed make 8 characters: the two
    // readers that allow any character read 01234ABC, the strict one skips.
    EXPECT_EQ(Parse("x.bin 1234ABC\n", Menu).entry.expectedCrc, 0x01234ABCu);
    EXPECT_EQ(Parse("x.bin 1234ABC\n", Select).entry.expectedCrc, 0x01234ABCu);
    EXPECT_EQ(Parse("x.bin 1234ABC\n", Strict).kind, SfvLineKind::Skip);

    // A field character outside the digits: the value stops there, or the
    // strict reader drops the line.
    SfvLine menu = Parse("x.bin 12G45678\n", Menu);
    EXPECT_EQ(menu.kind, SfvLineKind::Entry);
    EXPECT_EQ(menu.entry.expectedCrc, 0x12u);
    EXPECT_EQ(Parse("x.bin 12G45678\n", Strict).kind, SfvLineKind::Skip);
    EXPECT_EQ(Parse("x.bin 12G45678\n", Select).entry.expectedCrc, 0x12u);
}

TEST(SfvLineTest, TheFieldReadsLikeAnUnsignedHexadecimalConversion) {
    EXPECT_EQ(SfvChecksumValue("1234ABCD"), 0x1234ABCDu);
    EXPECT_EQ(SfvChecksumValue("\t\v 00ff\n"), 0xFFu) << "leading white space";
    EXPECT_EQ(SfvChecksumValue("+000001F"), 0x1Fu);
    EXPECT_EQ(SfvChecksumValue("-0000001"), 0xFFFFFFFFu) << "negated modulo 2^32";
    EXPECT_EQ(SfvChecksumValue("0x00ABCD"), 0xABCDu);
    EXPECT_EQ(SfvChecksumValue("-0X10"), 0xFFFFFFF0u);
    EXPECT_EQ(SfvChecksumValue("0xZZZZZZ"), 0u) << "a prefix without digits is the digit 0";
    EXPECT_EQ(SfvChecksumValue("0x"), 0u);
    EXPECT_EQ(SfvChecksumValue("12 34567"), 0x12u);
    EXPECT_EQ(SfvChecksumValue("--123456"), 0u);
    EXPECT_EQ(SfvChecksumValue("        "), 0u);
    EXPECT_EQ(SfvChecksumValue(""), 0u);

    // Through the reader: a tab may open the field; the strict reader refuses it.
    EXPECT_EQ(Parse("x.bin \t000001F\n", Menu).entry.expectedCrc, 0x1Fu);
    EXPECT_EQ(Parse("x.bin \t000001F\n", Strict).kind, SfvLineKind::Skip);
    EXPECT_EQ(Parse("x.bin 0x00ABCD\n", Menu).entry.expectedCrc, 0xABCDu);
    EXPECT_EQ(Parse("x.bin 0x00ABCD\n", Strict).kind, SfvLineKind::Skip);
}

TEST(SfvLineTest, ANulByteEndsThePieceAsItWouldEndTheLineBuffer) {
    using namespace std::string_literals;
    // Without the NUL the last space would be the one before "junk".
    SfvLine line = Parse("x.bin 1234ABCD\0 junk\n"s, Menu);
    EXPECT_EQ(line.kind, SfvLineKind::Entry);
    EXPECT_EQ(line.entry.name, "x.bin");
    EXPECT_EQ(line.entry.expectedCrc, 0x1234ABCDu);
    EXPECT_EQ(Parse("x.bin 1234ABC\0D\n"s, Menu).kind, SfvLineKind::Skip);
    EXPECT_EQ(Parse("\0; hidden\n"s, Menu).kind, SfvLineKind::Fatal);
}

}  // namespace
}  // namespace velmar
