#include "lists/CommentBlocks.h"
#include "lists/VerifyJob.h"
#include "m3u/M3uKind.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/TextStream.h"
#include "tests/m3u/M3uTestSupport.h"

#include <filesystem>

namespace velmar::test {
namespace {

const std::string Header = "#MD5M3U Velmar v1.84\r\n";
constexpr std::time_t Created = 1796600102;
const FileTimeOf FixedTime = [](const InputFile&) { return Created; };

std::string Entry(std::string_view bytes, std::string_view name) {
    return "#" + Md5Of(bytes) + "\r\n" + std::string(name) + "\r\n";
}

TEST_P(M3uTest, WrittenPlaylistReadsAndVerifiesBack) {
    dir.Write("a.mp3", "first");
    dir.Write("b.mp3", "");
    // No item selected writes no comment block; the WinSFV box changes nothing.
    const std::string playlist = Prepare({"a.mp3", "b.mp3"}, -1);
    window.setup.checkBox1 = true;
    RunCreation(frame, M3uKind);
    EXPECT_EQ(ReadAll(playlist), Header + Entry("first", "a.mp3") + Entry("", "b.mp3"));
    EXPECT_TRUE(Contains(window.Log(), "MessageBox Ok M3U file creation complete!"));

    Read(playlist);
    EXPECT_EQ(names, (std::vector<std::string>{"a.mp3", "b.mp3"}));
    EXPECT_EQ(digests, (std::vector<std::string>{Md5Of("first"), "d41d8cd98f00b204e9800998ecf8427e"}));

    // Verifying it asks nothing: an unscripted question would throw.
    FakeWindow verifier;
    verifier.dialogAnswers.push_back(std::vector<std::string>{playlist});
    JobFrame verify(verifier, state);
    RunMenuVerify(verify, M3uKind);
    EXPECT_EQ(RowIcons(verifier), (std::vector<StatusIcon>{IconOk, IconOk}));
    EXPECT_TRUE(Contains(verifier.Log(), "SetText Label1 OK:2  BAD:0  N/A:0"));
}

TEST_P(M3uTest, CommentBlocksUseTheHashLead) {
    dir.Write("e.mp3", "");
    const std::string longLine(600, 'x');
    struct Case {
        int mode;
        std::string edit2, commentFile;
        bool pickComment;
        std::string block;
    } cases[] = {
        {1, "", "", false, "# \r\n#\r\n"},
        {1, std::string(255, 'c'), "", false, "# " + std::string(255, 'c') + "\r\n#\r\n"},
        {0, "", "one\r\ntwo", true, "# one\r\n# two#\r\n"},
        {0, "", longLine + "\n", true, "# " + longLine.substr(0, 511) + "# " + longLine.substr(511) + "\r\n#\r\n"},
        {0, "", "", false, ""},
        {2, "", "", false, "#\r\n#            0  " + FileInfoTimeText(Created) + " e.mp3 \r\n#\r\n"},
    };
    for (const Case& c : cases) {
        const std::string playlist = Prepare({"e.mp3"}, c.mode);
        window.setup.edit2 = c.edit2;
        if (c.mode == 0)
            window.dialogAnswers.push_back(c.pickComment ? std::optional(std::vector{dir.Write("c.txt", c.commentFile)})
                                                         : std::nullopt);
        RunCreation(frame, M3uKind, {{}, FixedTime});
        EXPECT_EQ(ReadAll(playlist), Header + c.block + Entry("", "e.mp3")) << "mode " << c.mode;
    }
}

TEST_P(M3uTest, FileInfoShowsTheTrueSizePast2GiB) {
    std::filesystem::resize_file(dir.Write("big.bin", ""), 3221225472);
    const std::string playlist = Prepare({"big.bin"}, 2);
    // The block alone: the job would read all 3 GiB before the playlist exists.
    TextWriter out;
    ASSERT_TRUE(out.Create(playlist));
    WriteCommentBlock(frame, out, *M3uKind.comments, {2, "", &window.setup.rows, dir.path(), FixedTime});
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(ReadAll(playlist), "#\r\n#   3221225472  " + FileInfoTimeText(Created) + " big.bin \r\n#\r\n");
}

TEST_P(M3uTest, FileGoneBeforeGoIsFatal) {
    dir.Write("a.mp3", "a");
    // With file-info comments the block finds it first, else the digests do;
    // either way no incomplete playlist is put in place.
    std::string playlist = Prepare({"a.mp3", "gone.mp3"}, 2);
    EXPECT_THROW(RunCreation(frame, M3uKind), ProgramEnded);
    EXPECT_FALSE(PathExists(playlist));
    EXPECT_EQ(window.Log().back(), "MessageBox Ok Error Reading File.. Exiting");

    playlist = Prepare({"a.mp3", "gone.mp3"}, 3);
    EXPECT_THROW(RunCreation(frame, M3uKind), ProgramEnded);
    EXPECT_FALSE(PathExists(playlist));
}

}  // namespace
}  // namespace velmar::test
