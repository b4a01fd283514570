// Lists as other tools and other systems write them: byte-order marks,
// UTF-16, names in legacy code pages, in another Unicode normalization or
// letter case, the sum tools' other layouts. Each is told its kind by its
// lines when its name tells nothing, verifies with the marks its files
// deserve, and a bad file found any of these ways is renamed only inside
// the list's folder.
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kinds/SumToolKinds.h"
#include "kinds/M3uKind.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "kinds/ListKinds.h"
#include "kinds/SfvKind.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/JobTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/TreeListing.h"

namespace velmar::test {
namespace {

struct Entry {
    std::string listed;   // the name as the list holds it, in the list's bytes
    std::string content;  // the digest the list gives is this content's; "" for one no file has
};

struct Case {
    const char* what;
    const ListKind& kind;
    std::vector<std::string> files;  // on disk, each holding its own name as content
    std::vector<Entry> entries;
    std::string (*encode)(const std::string& text);  // the list's text as stored
    std::vector<StatusIcon> marks;
    std::vector<std::string> rows;  // the rows' names, when they differ from the listed names
};

std::string AsIs(const std::string& text) { return text; }
std::string WithUtf8Mark(const std::string& text) { return "\xEF\xBB\xBF" + text; }
// UTF-16 of text that is ASCII or Latin-1 bytes, each a code point of its own.
std::string Utf16(const std::string& text, bool littleEndian) {
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : text) {
        const char units[2] = {c, '\0'};
        out.push_back(units[littleEndian ? 0 : 1]);
        out.push_back(units[littleEndian ? 1 : 0]);
    }
    return out;
}
std::string Utf16Le(const std::string& text) { return Utf16(text, true); }
// Big-endian, with a Ctrl-Z ending the text before bytes that are no list.
std::string Utf16BeWithCtrlZ(const std::string& text) { return Utf16(text + "\x1A" + "garbage", false); }

std::string ListText(const ListKind& kind, const std::vector<Entry>& entries, TempDir& dir) {
    std::string text = kind.listUnusableMessage == SfvKind.listUnusableMessage ? "; made elsewhere\r\n" : "";
    ReadBuffer buffer;
    for (const Entry& entry : entries) {
        FileDigest digest;
        digest.status = FileDigestStatus::Ok;
        digest.size = DigestSize(kind.algorithm);
        if (!entry.content.empty()) digest = DigestFile(kind.algorithm, dir.Write(".content", entry.content), buffer);
        std::string line = kind.entryLines(entry.listed, digest, kind, {});
        line.insert(line.size() - 1, "\r");
        text += line;
    }
    std::filesystem::remove(dir.File(".content"));
    return text;
}

const std::string Latin1Cafe = "Caf\xE9.bin";  // Windows-1252 and Latin-1
const std::string Utf8Cafe = "Caf\xC3\xA9.bin";
const std::string Utf8Ete = "\xC3\xA9t\xC3\xA9.bin";
// The text with each composed e acute (U+00E9, U+00C9) as e and a combining acute.
std::string Nfd(std::string text) {
    for (const char* composed : {"\xC3\xA9", "\xC3\x89"})
        for (std::size_t at; (at = text.find(composed)) != std::string::npos;)
            text.replace(at, 2, composed[1] == '\xA9' ? "e\xCC\x81" : "E\xCC\x81");
    return text;
}

// The CR LF lines of `text`, each rewritten by `rewrite`.
std::string EachLine(const std::string& text, std::string (*rewrite)(const std::string& line)) {
    std::string out;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        out += rewrite(text.substr(at, end - at)) + "\r\n";
    return out;
}

std::vector<Case> Cases() {
    std::string md5 = std::string(32, '0');
    return {
        {"UTF-8 mark, CR LF, a subfolder", SfvKind, {"track01.bin", "sub/" + Utf8Cafe},
         {{"track01.bin", "track01.bin"}, {"sub\\" + Utf8Cafe, "sub/" + Utf8Cafe}}, WithUtf8Mark, {IconOk, IconOk}, {}},
        {"UTF-16 little-endian", SfvKind, {"track01.bin", Utf8Cafe},
         {{"track01.bin", "track01.bin"}, {Latin1Cafe, Utf8Cafe}}, Utf16Le, {IconOk, IconOk},
         {"track01.bin", Utf8Cafe}},
        {"UTF-16 big-endian, Ctrl-Z", SfvKind, {"track01.bin"}, {{"track01.bin", "track01.bin"}}, Utf16BeWithCtrlZ,
         {IconOk}, {}},
        {"Windows-1252 name in a subfolder", SfvKind, {"sub/" + Utf8Cafe},
         {{"sub\\" + Latin1Cafe, "sub/" + Utf8Cafe}}, AsIs, {IconOk}, {"sub\\" + Utf8Cafe}},
        {"DOS 437 name", SfvKind, {Utf8Cafe}, {{"Caf\x82.bin", Utf8Cafe}}, AsIs, {IconOk}, {Utf8Cafe}},
        {"Shift_JIS name", Md5Kind, {"\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.bin"},
         {{"\x83\x65\x83\x58\x83\x67.bin", "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.bin"}}, AsIs, {IconOk},
         {"\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.bin"}},
        {"letter case, one candidate or two", SfvKind, {"track01.bin", "caf\xC3\xA9.bin", "dup.bin", "Dup.bin"},
         {{"TRACK01.BIN", "track01.bin"}, {"CAF\xC3\x89.BIN", "caf\xC3\xA9.bin"}, {"DUP.BIN", "dup.bin"}}, AsIs,
         {IconOk, IconOk, IconNA}, {}},
        {"decomposed names (macOS) for composed files and the other way, folders too", SfvKind,
         {Utf8Cafe, Nfd("r\xC3\xA9sum\xC3\xA9/caf\xC3\xA9.bin")},
         {{Nfd(Utf8Cafe), Utf8Cafe}, {"r\xC3\xA9sum\xC3\xA9\\caf\xC3\xA9.bin", Nfd("r\xC3\xA9sum\xC3\xA9/caf\xC3\xA9.bin")}}, AsIs,
         {IconOk, IconOk}, {Utf8Cafe, Nfd("r\xC3\xA9sum\xC3\xA9\\caf\xC3\xA9.bin")}},
        // U+1EC7 composed, decomposed, and as U+00EA with a dot below.
        {"a name in a third form, files in the other two: neither taken", SfvKind,
         {"\xE1\xBB\x87.bin", "e\xCC\xA3\xCC\x82.bin"}, {{"\xC3\xAA\xCC\xA3.bin", "\xE1\xBB\x87.bin"}}, AsIs, {IconNA}, {}},
        {"Unicode's case folding, no locale's: a dotless i is no i", SfvKind,
         {"stra\xC3\x9F" "e.bin", Utf8Ete, "DISK.BIN", "\xC4\xB1ndex.bin"},
         {{"STRASSE.BIN", "stra\xC3\x9F" "e.bin"}, {Nfd("\xC3\x89T\xC3\x89.BIN"), Utf8Ete}, {"d\xC4\xB1sk.bin", "DISK.BIN"},
          {"INDEX.BIN", "\xC4\xB1ndex.bin"}},
         AsIs, {IconOk, IconOk, IconNA, IconNA}, {}},
        {"a listed name that is there wins over case", SfvKind, {"a.bin", "A.BIN"}, {{"A.BIN", "A.BIN"}}, AsIs,
         {IconOk}, {}},
        {"never the list itself", SfvKind, {}, {{"list", "x"}}, AsIs, {IconNA}, {}},
        {"BSD tags mixed with the usual lines", Md5Kind, {"track01.bin", "track02.bin"},
         {{"track01.bin", "track01.bin"}, {"track02.bin", "track02.bin"}},
         [](const std::string& text) {
             // The first line in the BSD layout: "MD5 (name) = digest".
             const std::size_t end = text.find("\r\n");
             const std::string first = text.substr(0, end);
             return "MD5 (" + first.substr(34) + ") = " + first.substr(0, 32) + text.substr(end);
         },
         {IconOk, IconOk}, {}},
        // md5 -r's layout, a name beginning with a blank kept whole.
        {"BSD reversed layout", Md5Kind, {"track01.bin", " blank.bin"},
         {{"track01.bin", "track01.bin"}, {" blank.bin", " blank.bin"}},
         [](const std::string& text) {
             return EachLine(text, [](const std::string& line) { return line.substr(0, 32) + line.substr(33); });
         },
         {IconOk, IconOk}, {}},
        {"OpenSSL's layout", Sha256Kind, {"track01.bin", "(1).bin"},
         {{"track01.bin", "track01.bin"}, {"(1).bin", "(1).bin"}},
         [](const std::string& text) {
             return EachLine(text, [](const std::string& line) {
                 return "SHA2-256(" + line.substr(66) + ")= " + line.substr(0, 64);
             });
         },
         {IconOk, IconOk}, {}},
        // md5sum's escaped line, which the MD5 kind writes too.
        {"escaped name with a backslash", Md5Kind, {"back\\slash.bin"}, {{"back\\slash.bin", "back\\slash.bin"}},
         AsIs, {IconOk}, {}},
        // Old Windows tools: names in quotes, whole paths from a root or a
        // drive, found below the list's folder only.
        {"names in double quotes", Md5Kind, {"data1", "data2"}, {{"\"data1\"", "data1"}, {"\"\\data2\"", "data2"}},
         AsIs, {IconOk, IconOk}, {}},
        {"whole paths and drive letters", Md5Kind, {"data3", "data4", "Album/01.flac"},
         {{"c:\\/data3", "data3"}, {"//data4", "data4"}, {"D:\\backup\\Album\\01.flac", "Album/01.flac"},
          {"/elsewhere/../x.bin", "x.bin"}},
         AsIs, {IconOk, IconOk, IconOk, IconNA}, {}},
    };
}

class ListsFromElsewhereTest : public test::ReadingPolicyTest {};
VELMAR_AT_EACH_READING_POLICY(ListsFromElsewhereTest);

TEST_P(ListsFromElsewhereTest, EachListVerifiesWithTheMarksItsFilesDeserve) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        for (const std::string& file : c.files) {
            std::filesystem::create_directories(std::filesystem::path(dir.File(file)).parent_path());
            dir.Write(file, file);
        }
        dir.Write("LIST", c.encode(ListText(c.kind, c.entries, dir)));
        EXPECT_EQ(ListKindOf(dir.File("LIST")).name, c.kind.name);

        RecordingSink sink;
        VerifyInto(sink, c.kind, dir.File("LIST"));
        std::vector<std::string> rows = c.rows;
        if (rows.empty())
            for (const Entry& entry : c.entries) rows.push_back(entry.listed);
        EXPECT_EQ(RowNames(sink), rows);
        EXPECT_EQ(RowIcons(sink), c.marks);
        // Each row tells the file it was found as, and how, when a fallback found it.
        for (const RecordingSink::Row& row : sink.Rows()) {
            SCOPED_TRACE(row.name);
            if (row.icon == IconNA) {
                EXPECT_EQ(row.details.reason, "missing");
            }
            if (row.icon != IconOk) continue;
            EXPECT_EQ(row.details.computed, row.details.expected);
            EXPECT_EQ(row.details.size, RegularFileSize(row.details.path));
            const bool asListed = PathExists(ListedFilePath(dir.path(), row.name));
            EXPECT_EQ(row.details.reason.starts_with("matches; found as "), !asListed) << row.details.reason;
        }
    }
}

// A list's name tells its kind (letter case aside); failing that, the first
// of its first lines that a kind other than SFV reads as its entry does;
// else it is SFV.
TEST(ListKindOf, TellsTheKindByTheNameThenByTheFirstLinesElseSfv) {
    const std::string md5 = "d41d8cd98f00b204e9800998ecf8427e", sha256(64, 'A'), zeros128(128, '0');
    // a.bin holds "abc" in every case.
    const std::string sha512OfAbc =
        "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f";
    const std::string blake2OfAbc =
        "BA80A53F981C4D0D6A2797B69F12F6E94C212F14685AC4B74B12BB6FDBFFA2D17D87C5392AAB792DC252D5DE4533CC9518D38AA8DBF1925AB92386EDD4009923";
    const std::string xxh128OfAbc = "06b05ab6733a618578af5f94892f3950",
                      sha3OfAbc = "3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532";
    const std::string sha3_512OfAbc =
        "b751850b1a57168a5693cd924b6b096e08f621827444f70d884f5d0240d2712e10e116e9192af3c91a7ec57647e3934057340b4cf408d5a56592f8274eec53f0";
    const struct {
        const char* name;
        std::optional<std::string> text;  // nothing: no such file
        const ListKind& kind;
    } cases[] = {
        {"ALBUM.M3U", "a.bin 00000000\n", M3uKind},
        {"md5sum.txt", "", Md5Kind},
        {"SHA256SUMS", std::nullopt, Sha256Kind},
        {"album.sfv", sha256 + "  a.bin\n", SfvKind},
        {"sums.txt", "\n" + md5 + "  a.bin\n", Md5Kind},
        {"sums", sha256 + " *a.bin\n", Sha256Kind},
        {"sums", "MD5 (a.bin) = " + md5 + "\n", Md5Kind},
        {"sums", "SHA256 (a.bin) = " + sha256 + "\n", Sha256Kind},
        {"sums", "SHA2-256(a.bin)= " + sha256 + "\n", Sha256Kind},
        {"sums", md5 + " a.bin\n", Md5Kind},
        {"a.bin.MD5", sha256 + "\n", Md5Kind},  // by its name, whatever it holds
        {"a.bin.sha256", sha256 + "\n", Sha256Kind},
        {"a.bin", md5 + "\n", SfvKind},  // a digest alone names nothing here
        {"playlist", "#EXTM3U\n#EXTINF:1,Artist - Title\n#" + md5 + "\na.bin\n", M3uKind},
        // Lines SFV would take for entries do not hide the ones that follow.
        {"sums", "# made 20261209\n" + md5 + "  a.bin\n", Md5Kind},
        {"list", "; made elsewhere\na.bin 0BADF00D\n", SfvKind},
        {"sums", std::string(40, '0') + "  a.bin\n", Sha1Kind},
        {"sums", std::string(48, '0') + "  a.bin\n", SfvKind},  // no kind's digits
        // Digits that fit two kinds: the name, a BSD tag, the first file.
        {"B2SUMS", sha512OfAbc + "  a.bin\n", Blake2Kind},
        {"sums", zeros128 + "  a.bin\nBLAKE2b (b.bin) = " + zeros128 + "\n", Blake2Kind},
        {"sums", sha512OfAbc + "  a.bin\n", Sha512Kind},
        {"sums", "\\" + blake2OfAbc + "  a.bin\n", Blake2Kind},
        {"sums", zeros128 + "  a.bin\n", Sha512Kind},
        {"sums", "6437b3ac38465133ffb63b75273a8db548c558465d79db03fd359c6cd5bd9d85  a.bin\n", Blake3Kind},
        {"sums", std::string(64, '0') + "  a.bin\n", Sha256Kind},
        {"a.bin.b3", "6437B3AC38465133FFB63B75273A8DB548C558465D79DB03FD359C6CD5BD9D85\n", Blake3Kind},
        {"sums", xxh128OfAbc + "  a.bin\n", Xxh128Kind},
        {"sums", md5 + "  a.bin\nXXH128 (b.bin) = " + md5 + "\n", Xxh128Kind},
        {"sums", "XXH3_" + std::string(16, '0') + "  a.bin\n", Xxh3Kind},
        {"sums", std::string(16, '0') + "  a.bin\n", SfvKind},  // xxhsum's XXH64, no kind here
        {"sums", sha3OfAbc + "  a.bin\n", Sha3_256Kind},
        {"sums", "SHA3-256(a.bin)= " + sha256 + "\n", Sha3_256Kind},
        {"sums", zeros128 + "  a.bin\nSHA3-512 (b.bin) = " + zeros128 + "\n", Sha3_512Kind},
        {"XXH3SUMS.txt", "", Xxh3Kind},
        {"list.xxh128", "", Xxh128Kind},
        // A name two kinds go by: the lines, else the first of them.
        {"list.SHA3", sha3_512OfAbc + "  a.bin\n", Sha3_512Kind},
        {"list.sha3", sha256 + "  a.bin\n", Sha3_256Kind},
        {"list.sha3", "", Sha3_256Kind},
        {"list", std::string(40000, ';') + "\n" + md5 + "  a.bin\n", SfvKind},  // past the first 32 KiB
        {"list", std::string("\x7F" "ELF\0\x01\xFF\n", 8), SfvKind},
        {"list", "", SfvKind},
        {"list", std::nullopt, SfvKind},
    };
    for (const auto& c : cases) {
        TempDir dir;
        if (c.text) dir.Write(c.name, *c.text);
        dir.Write("a.bin", "abc");
        EXPECT_EQ(ListKindOf(dir.File(c.name)).name, c.kind.name)
            << c.name << ": " << c.text.value_or("(missing)").substr(0, 60);
    }
}

// A list named at start-up or dropped that cannot be opened or read as its
// kind fails the job with that kind's message, an SFV list with SFV's as
// ever; a FIFO at the path blocks neither the look at its lines nor the job.
TEST(CommandLineVerify, AMissingOrUnusableListFailsWithItsKindsMessage) {
    const struct {
        const char* name;
        std::optional<std::string> text;  // nothing: no such file
        const char* message;
    } cases[] = {
        {"none.sfv", std::nullopt, "SFV File Does Not Exist.. Exiting"},
        {"list", "a.bin 1234ABCD\nno-blank-at-all\n", "Bad SFV File.. Exiting"},
        {"fifo", std::nullopt, "SFV File Does Not Exist.. Exiting"},
        {"md5sum", std::nullopt, "Error Reading MD5 File.. Exiting"},
        {"Album.m3u", "#EXTM3U\nAlbum.mp3\n", "Error Reading M3U File.. Exiting"},
        {"SHA256SUMS", "a.bin 1234ABCD\n", "Error Reading SHA256 File.. Exiting"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        if (c.text) dir.Write(c.name, *c.text);
        if (std::string_view(c.name) == "fifo") {
            ASSERT_EQ(::mkfifo(dir.File(c.name).c_str(), 0644), 0);
        }
        RecordingSink sink;
        JobControl control;
        JobFrame frame(sink, control);
        const std::string path = dir.File(c.name);
        // The kind is told in the job, as the start-up list's is.
        const JobResult result =
            frame.Run([&] { VerifyList(frame, ListKindOf(path), path, ReadPurpose::CommandLineVerify); });
        EXPECT_EQ(result.end, JobEnd::Failed) << c.name;
        EXPECT_EQ(result.message, c.message) << c.name;
    }
}

TEST_P(ListsFromElsewhereTest, ABadFileFoundInAnotherCaseOrFormIsRenamedOnlyInsideTheListsFolder) {
    TempDir dir;
    ::mkdir(dir.File("list").c_str(), 0755);
    ::mkdir(dir.File("outside").c_str(), 0755);
    dir.Write("list/track02.bin", "changed");
    dir.Write("outside/out.bin", "changed");
    dir.Write("list/" + Utf8Cafe, "changed");
    dir.Write("outside/" + Utf8Ete, "changed");
    dir.Write("list/list.sfv", ListText(SfvKind,
                                        {{"TRACK02.BIN", "original"},
                                         {"..\\outside\\OUT.BIN", "original"},
                                         {Nfd(Utf8Cafe), "original"},
                                         {"..\\outside\\" + Nfd(Utf8Ete), "original"}},
                                        dir));
    RecordingSink sink;
    VerifyInto(sink, SfvKind, dir.File("list/list.sfv"), true);
    EXPECT_EQ(RowIcons(sink), (std::vector<StatusIcon>{IconBad, IconBad, IconBad, IconBad}));
    EXPECT_TRUE(PathExists(dir.File("list/track02.bin.BAD")));
    EXPECT_TRUE(PathExists(dir.File("outside/out.bin")));
    EXPECT_TRUE(PathExists(dir.File("list/" + Utf8Cafe + ".BAD")));
    EXPECT_TRUE(PathExists(dir.File("outside/" + Utf8Ete)));
}

}  // namespace
}  // namespace velmar::test
