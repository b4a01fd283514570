#include <filesystem>

#include "lists/VerifyJob.h"
#include "m3u/M3uKind.h"
#include "tests/m3u/M3uTestSupport.h"

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
    window.dialogAnswers.push_back(std::vector<std::string>{playlist});
    window.messageAnswers.push_back(MessageAnswer::Yes);
    RunMenuVerify(frame, M3uKind);

    EXPECT_EQ(RowNames(window), (std::vector<std::string>{"good.mp3", "x.mp3", "missing.mp3", "sub\\y.mp3", "  lead.mp3"}));
    EXPECT_EQ(RowIcons(window), (std::vector<StatusIcon>{IconOk, IconBad, IconNA, IconOk, IconOk}));
    EXPECT_TRUE(Contains(window.Log(), "SetText Label1 OK:3  BAD:1  N/A:1"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("x.mp3.BAD")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.mp3")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.mp3.BAD")));
    EXPECT_EQ(state.Busy, 0);
}

}  // namespace
}  // namespace velmar::test
