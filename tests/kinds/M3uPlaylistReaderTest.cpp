#include "tests/kinds/M3uTestSupport.h"

namespace velmar::test {
namespace {

VELMAR_AT_EACH_READING_POLICY(M3uTest);  // every M3uTest of this program

const std::string A = Md5Of("a"), B = Md5Of("b"), C = Md5Of("c"), D = Md5Of("d");

TEST_P(M3uTest, EveryDigestLineTakesTheNextLineAsItsName) {
    const std::string text = "#EXTM3U\n#EXTINF:12,Title\n"     // no header of ours, other tools' lines
                             "#" + A + " anything after\r\n  a b.mp3 \r\n"  // CR LF, blanks kept
                             "#" + Upper(B) + "\n\n"                 // bare LF, empty name
                             "#" + C.substr(1) + " \n"               // 31 digits: a line of its own
                             "#" + C + "\n#" + D + "\n"              // a digest line taken as a name
                             "#" + A + "\n"                          // last line: no entry
                             "\x1A#" + B + "\nafter.mp3\n";          // past the end of the text
    EXPECT_EQ(ReadText(text).end, JobEnd::Completed);
    EXPECT_EQ(entries, 3);
    EXPECT_EQ(names, (std::vector<std::string>{"  a b.mp3 ", "", "#" + D}));
    EXPECT_EQ(digests, (std::vector<std::string>{A, Upper(B), C}));
    EXPECT_EQ(RowNames(sink), names);
    EXPECT_EQ(RowIcons(sink), std::vector<StatusIcon>(3, IconPending));
}

TEST_P(M3uTest, PlaylistWithoutEntryIsFatal) {
    for (const std::string& text :
         std::vector<std::string>{"", "#EXTM3U\n#EXTINF:1,a\na.mp3\n", "#MD5M3U Velmar v1.84\r\n#" + A}) {
        const JobResult result = ReadText(text);
        EXPECT_EQ(result.end, JobEnd::Failed);
        EXPECT_EQ(result.message, "Error Reading M3U File.. Exiting");
        EXPECT_TRUE(sink.Rows().empty());
    }
    const JobResult missing = Read(dir.File("missing.m3u"));
    EXPECT_EQ(missing.end, JobEnd::Failed);
    EXPECT_EQ(missing.message, "Error Reading M3U File.. Exiting");
}

TEST_P(M3uTest, DigestCutByNulIsFatalAfterItsRow) {
    std::string cut = "#" + A + "\nfirst.mp3\n#" + B + "\ncut.mp3\n";
    cut[cut.find(B) + 5] = '\0';
    const JobResult result = ReadText(cut);
    EXPECT_EQ(result.end, JobEnd::Failed);
    EXPECT_EQ(result.message, "Error Reading M3U File.. Exiting");
    EXPECT_EQ(sink.Log().back(), "RowAdded cut.mp3");
}

TEST_P(M3uTest, QuitRequestEndsTheReadBeforeAnyLine) {
    control.QuitRequested = 1;
    EXPECT_EQ(ReadText("#" + A + "\na.mp3\n").end, JobEnd::Quit);
    EXPECT_TRUE(sink.Log().empty());
}

}  // namespace
}  // namespace velmar::test
