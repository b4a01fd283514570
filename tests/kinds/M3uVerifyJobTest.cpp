#include <filesystem>

#include "lists/VerifyJob.h"
#include "kinds/M3uKind.h"
#include "tests/kinds/M3uTestSupport.h"

namespace velmar::test {
namespace {

TEST_P(M3uTest, VerifyMarksEachRowAndRenamesOnlyBadFiles) {
    std::filesystem::create_directory(dir.File("sub"));
    dir.Write("good.mp3", "good");
    dir.Write("x.mp3", "changed");
    dir.Write("sub/y.mp3", "y");
    dir.Write("  lead.mp3", "lead");
    dir.Write("lead.mp3", "not this one");
    const std::string playlist = List("#MD5M3U Velmar v1.84\r\n#" + Upper(Md5Of("good")) + "\r\ngood.mp3\r\n#" +
                                          Md5Of("x") + "\r\nx.mp3\r\n#" + Md5Of("m") + "\r\nmissing.mp3\r\n#" +
                                          Md5Of("y") + "\r\nsub\\y.mp3\r\n#" + Md5Of("lead") + "\r\n  lead.mp3\r\n",
                                      "p.m3u");
    sink.answers.push_back(true);
    EXPECT_EQ(frame.Run([&] { VerifyList(frame, M3uKind, playlist, ReadPurpose::MenuVerify); }).end,
              JobEnd::Completed);

    EXPECT_EQ(RowNames(sink), (std::vector<std::string>{"good.mp3", "x.mp3", "missing.mp3", "sub\\y.mp3", "  lead.mp3"}));
    EXPECT_EQ(RowIcons(sink), (std::vector<StatusIcon>{IconOk, IconBad, IconNA, IconOk, IconOk}));
    EXPECT_TRUE(Contains(sink.Log(), "Summary OK:3  BAD:1  N/A:1"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("x.mp3.BAD")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.mp3")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.mp3.BAD")));
}

}  // namespace
}  // namespace velmar::test
