#include "tests/m3u/M3uTestSupport.h"

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
    EXPECT_EQ(ReadText(text), 3);
    EXPECT_EQ(names, (std::vector<std::string>{"  a b.mp3 ", "", "#" + D}));
    EXPECT_EQ(digests, (std::vector<std::string>{A, Upper(B), C}));
    EXPECT_EQ(RowNames(window), names);
    EXPECT_EQ(RowIcons(window), std::vector<StatusIcon>(3, IconPending));
}

TEST_P(M3uTest, PlaylistWithoutEntryIsFatal) {
    for (const std::string& text :
         std::vector<std::string>{"", "#EXTM3U\n#EXTINF:1,a\na.mp3\n", "#MD5M3U Velmar v1.84\r\n#" + A}) {
        EXPECT_THROW(ReadText(text), ProgramEnded);
        EXPECT_EQ(window.Log().back(), "MessageBox Ok Error Reading M3U File.. Exiting");
        EXPECT_TRUE(window.Rows().empty());
    }
    EXPECT_THROW(Read(dir.File("missing.m3u")), ProgramEnded);
    EXPECT_EQ(window.Log().back(), "MessageBox Ok Error Reading M3U File.. Exiting");
}

TEST_P(M3uTest, DigestCutByNulIsFatalAfterItsRow) {
    std::string cut = "#" + A + "\nfirst.mp3\n#" + B + "\ncut.mp3\n";
    cut[cut.find(B) + 5] = '\0';
    EXPECT_THROW(ReadText(cut), ProgramEnded);
    const auto log = window.Log();
    EXPECT_EQ(IndexOf(log, "AddRow cut.mp3 0") + 1, IndexOf(log, "MessageBox Ok Error Reading M3U File.. Exiting"));
}

TEST_P(M3uTest, QuitRequestEndsTheReadBeforeAnyLine) {
    state.QuitRequested = 1;
    EXPECT_THROW(ReadText("#" + A + "\na.mp3\n"), ProgramEnded);
    EXPECT_TRUE(window.Log().empty());
}

}  // namespace
}  // namespace velmar::test
