#include "platform/TextStream.h"

#include <iconv.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/FileSizeLimit.h"
#include "tests/support/ReadSeam.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

using test::TempDir;

std::vector<std::string> Pieces(const std::string& path, bool* failed = nullptr) {
    TextReader reader;
    EXPECT_TRUE(reader.Open(path));
    std::vector<std::string> pieces;
    std::string piece;
    while (reader.ReadPiece(piece)) pieces.push_back(piece);
    if (failed) *failed = reader.Failed();
    return pieces;
}

// The rule as plainly as it can be said: drop CR, stop at 0x1A, cut after
// each line feed and after every 511 bytes kept.
std::vector<std::string> ModelPieces(const std::string& bytes) {
    std::vector<std::string> pieces;
    std::string current;
    for (char c : bytes) {
        if (c == 0x1A) break;
        if (c == '\r') continue;
        current.push_back(c);
        if (c == '\n' || current.size() == 511) {
            pieces.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) pieces.push_back(current);
    return pieces;
}

TEST(TextReader, DropsEveryCarriageReturnAndStopsAtCtrlZ) {
    TempDir dir;
    using V = std::vector<std::string>;
    EXPECT_EQ(Pieces(dir.Write("crlf", "a b\r\nc\rd\r\r\n\re")), (V{"a b\n", "cd\n", "e"}));
    EXPECT_EQ(Pieces(dir.Write("z", "one\ntw\x1Ao\nthree\n")), (V{"one\n", "tw"}));
    EXPECT_EQ(Pieces(dir.Write("zfirst", "\x1A" "after\n")), V{});
    EXPECT_EQ(Pieces(dir.Write("empty", "")), V{});
    EXPECT_EQ(Pieces(dir.Write("blank", "\n\r\n")), (V{"\n", "\n"}));
}

TEST(TextReader, CutsLongLinesInPiecesOf511) {
    TempDir dir;
    using V = std::vector<std::string>;
    std::string a510(510, 'a'), a511(511, 'a');
    EXPECT_EQ(Pieces(dir.Write("510", a510 + "\n")), V{a510 + "\n"});
    EXPECT_EQ(Pieces(dir.Write("511", a511 + "\n")), (V{a511, "\n"}));
    EXPECT_EQ(Pieces(dir.Write("1200", std::string(1200, 'b'))),
              (V{std::string(511, 'b'), std::string(511, 'b'), std::string(178, 'b')}));
    // Dropped CRs take no room in the line buffer.
    std::string withCr;
    for (int i = 0; i < 511; ++i) withCr += "a\r";
    EXPECT_EQ(Pieces(dir.Write("cr", withCr + "\n")), (V{a511, "\n"}));
}

TEST(TextReader, KeepsNulBytesAtTheirTrueLength) {
    TempDir dir;
    std::string line("ab\0cd\n", 6);
    auto pieces = Pieces(dir.Write("nul", line + std::string("\0", 1)));
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], line);
    EXPECT_EQ(pieces[1], std::string("\0", 1));
}

TEST(TextReader, MatchesThePlainRuleOnRandomText) {
    TempDir dir;
    std::mt19937 rng(1234);
    const char alphabet[] = {'a', ' ', '\r', '\n', '\0', 'z'};
    for (int round = 0; round < 40; ++round) {
        // Long enough to cross the reader's own buffer several times.
        std::size_t length = rng() % 200000;
        int lineFeedOdds = 1 + rng() % 1000;
        std::string bytes(length, 'a');
        for (char& c : bytes) {
            c = alphabet[rng() % 6];
            if (c == '\n' && rng() % lineFeedOdds) c = 'x';
        }
        if (round % 4 == 0 && length > 0) bytes[rng() % length] = 0x1A;
        EXPECT_EQ(Pieces(dir.Write("random", bytes)), ModelPieces(bytes)) << "round " << round;
    }
}

// The UTF-16 of UTF-8 text, after its byte-order mark.
std::string Utf16(const std::string& utf8, bool littleEndian) {
    const iconv_t cd = iconv_open(littleEndian ? "UTF-16LE" : "UTF-16BE", "UTF-8");
    std::string units(utf8.size() * 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* out = units.data();
    std::size_t inLeft = utf8.size(), outLeft = units.size();
    EXPECT_NE(iconv(cd, &in, &inLeft, &out, &outLeft), static_cast<std::size_t>(-1));
    iconv_close(cd);
    units.resize(units.size() - outLeft);
    return (littleEndian ? "\xFF\xFE" : "\xFE\xFF") + units;
}

TEST(TextReader, ReadsUtf16AsItsUtf8WhereverTheReadsCutIt) {
    TempDir dir;
    // Names in three scripts, a character beyond the first plane (a
    // surrogate pair), NULs and a line too long for one piece, repeated so
    // that pairs and units fall across the decoder's runs and the reads.
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "track" + std::to_string(i) + ".bin 2423DEB9\r\nCaf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.bin\r\n\xF0\x9F\x8E\xB5" +
                std::string(i % 3, '\0') + ".flac\r\n" + (i % 50 ? "" : std::string(600, 'x') + "\xC3\xA9\n");
    const std::string afterCtrlZ = std::string("\x1A\x00\x00\xD8\x01", 5);  // no UTF-16 after the end
    for (const bool littleEndian : {true, false}) {
        const std::string units = Utf16(text, littleEndian);
        const std::string ctrlZ = littleEndian ? std::string("\x1A\0", 2) : std::string("\0\x1A", 2);
        const std::string loneHigh = littleEndian ? "\x3D\xD8" : "\xD8\x3D";
        struct {
            const char* what;
            std::string bytes;
            bool fails;
        } lists[] = {
            {"whole", units, false},
            {"Ctrl-Z", units + ctrlZ + afterCtrlZ, false},
            {"half a unit at the end", units + "a", true},
            {"a high surrogate at the end", units + loneHigh, true},
            {"a high surrogate before a Ctrl-Z", units + loneHigh + ctrlZ, true},
            {"a high surrogate alone in the text", units + loneHigh + units.substr(2), true},
        };
        for (const auto& list : lists) {
            const std::string path = dir.Write("utf16", list.bytes);
            // The first read shows the whole mark, as it does on every file.
            for (const std::size_t readsAtMost : {0, 3, 5, 7, 4099}) {
                SCOPED_TRACE(std::string(list.what) + (littleEndian ? ", LE" : ", BE") + ", reads of at most " +
                             std::to_string(readsAtMost));
                test::ReadSeam seam(-1, false, readsAtMost);
                bool failed = false;
                const auto pieces = Pieces(path, &failed);
                EXPECT_EQ(failed, list.fails);
                if (!list.fails) {
                    EXPECT_EQ(pieces, ModelPieces(text));
                }
            }
        }
    }
}

TEST(TextReader, ALargeUtf16ListIsReadInBoundedMemory) {
    TempDir dir;
    // 64 MiB of U+0000 after the mark, a file that starts like a UTF-16 list
    // but is none: read whole, it would cost several times its size.
    constexpr off_t Size = 64 << 20;
    const std::string path = dir.Write("large", "\xFF\xFE");
    ASSERT_EQ(::truncate(path.c_str(), Size + 2), 0);
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    TextReader reader;
    ASSERT_TRUE(reader.Open(path));
    std::string piece;
    std::size_t characters = 0;
    while (reader.ReadPiece(piece)) characters += piece.size();
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(characters, static_cast<std::size_t>(Size / 2));
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 8 << 10) << "peak resident KiB grew by that much";
}

TEST(TextReader, RefusesWhatIsNoRegularFile) {
    TempDir dir;
    TextReader reader;
    EXPECT_FALSE(reader.Open(dir.path()));
    EXPECT_FALSE(reader.Open(dir.File("missing")));
    std::string piece;
    EXPECT_FALSE(reader.ReadPiece(piece));
}

TEST(TextWriter, WritesEveryLineFeedAsCrLfAndTextVerbatim) {
    TempDir dir;
    std::string path = dir.File("out.sfv");
    dir.Write("out.sfv", "old contents that must go");
    ::chmod(path.c_str(), 0640);
    TextWriter writer;
    ASSERT_TRUE(writer.Create(path));
    writer.Write("; %s %n %d\n");
    writer.Write("a\nb");
    std::string big(200000, 'q');
    big[100000] = '\n';
    writer.Write(big);
    EXPECT_EQ(test::ReadAll(path), "old contents that must go") << "nothing replaced before the commit";
    EXPECT_TRUE(writer.Commit());
    EXPECT_TRUE(writer.Commit());
    std::string expectedBig = big;
    expectedBig.replace(100000, 1, "\r\n");
    EXPECT_EQ(test::ReadAll(path), "; %s %n %d\r\na\r\nb" + expectedBig);
    EXPECT_EQ(test::NamesIn(dir.path()).size(), 1u);

    const mode_t umask = ::umask(027);
    ASSERT_TRUE(writer.Create(dir.File("new.sfv")));
    ::umask(umask);
    EXPECT_TRUE(writer.Commit());
    for (const char* name : {"out.sfv", "new.sfv"}) {
        struct stat written {};
        ASSERT_EQ(::stat(dir.File(name).c_str(), &written), 0);
        EXPECT_EQ(written.st_mode & 0777, 0640u) << name << ": an old file's permissions, else 0666 less the umask";
    }
}

TEST(TextWriter, AFailureLeavesTheOldFileAndNoOtherBehind) {
    TempDir dir;
    const std::string path = dir.Write("list.sfv", "old");
    TextWriter writer;
    EXPECT_FALSE(writer.Create(dir.File("no/such/folder/list.sfv")));
    EXPECT_FALSE(writer.Commit());

    ASSERT_TRUE(writer.Create(path));
    writer.Write(std::string(100, 'x'));
    {
        test::FileSizeLimit full(10);
        EXPECT_FALSE(writer.Commit()) << "a full disk must not pass for success";
    }
    EXPECT_EQ(test::ReadAll(path), "old");
    EXPECT_EQ(test::NamesIn(dir.path()).size(), 1u);
}

}  // namespace
}  // namespace velmar
