#include "lists/CommentBlocks.h"
#include "lists/VerifyJob.h"
#include "kinds/M3uKind.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/TextStream.h"
#include "tests/kinds/M3uTestSupport.h"

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
    inputs.winsfv = true;
    EXPECT_EQ(Create().end, JobEnd::Completed);
    EXPECT_EQ(ReadAll(playlist), Header + Entry("first", "a.mp3") + Entry("", "b.mp3"));

    EXPECT_EQ(Read(playlist).end, JobEnd::Completed);
    EXPECT_EQ(names, (std::vector<std::string>{"a.mp3", "b.mp3"}));
    EXPECT_EQ(digests, (std::vector<std::string>{Md5Of("first"), "d41d8cd98f00b204e9800998ecf8427e"}));

    // Verifying it asks nothing: an unscripted question would throw.
    RecordingSink verifier;
    JobFrame verify(verifier, control);
    EXPECT_EQ(verify.Run([&] { VerifyList(verify, M3uKind, playlist, ReadPurpose::MenuVerify); }).end,
              JobEnd::Completed);
    EXPECT_EQ(RowIcons(verifier), (std::vector<StatusIcon>{IconOk, IconOk}));
    EXPECT_TRUE(Contains(verifier.Log(), "Summary OK:2  BAD:0  N/A:0"));
}

TEST_P(M3uTest, CommentBlocksUseTheHashLead) {
    dir.Write("e.mp3", "");
    const std::string longLine(600, 'x');
    struct Case {
        int mode;
        std::string oneLineComment, commentFile;
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
        inputs.oneLineComment = c.oneLineComment;
        if (c.pickComment) inputs.commentFile = dir.Write("c.txt", c.commentFile);
        EXPECT_EQ(Create({{}, FixedTime}).end, JobEnd::Completed) << "mode " << c.mode;
        EXPECT_EQ(ReadAll(playlist), Header + c.block + Entry("", "e.mp3")) << "mode " << c.mode;
    }
}

TEST_P(M3uTest, FileInfoShowsTheTrueSizePast2GiB) {
    std::filesystem::resize_file(dir.Write("big.bin", ""), 3221225472);
    const std::string playlist = Prepare({"big.bin"}, CommentModeFileInfo);
    // The block alone: the job would read all 3 GiB before the playlist exists.
    TextWriter out;
    ASSERT_TRUE(out.Create(playlist));
    ASSERT_EQ(frame.Run([&] {
                  WriteCommentBlock(frame, out, *M3uKind.comments,
                                    {CommentModeFileInfo, "", "", &inputs.rows, dir.path(), FixedTime});
              }).end,
              JobEnd::Completed);
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(ReadAll(playlist), "#\r\n#   3221225472  " + FileInfoTimeText(Created) + " big.bin \r\n#\r\n");
}

TEST_P(M3uTest, FileGoneBeforeGoIsFatal) {
    dir.Write("a.mp3", "a");
    // With file-info comments the block finds it first, else the digests do;
    // either way no incomplete playlist is put in place.
    for (const int mode : {CommentModeFileInfo, CommentModeNone}) {
        const std::string playlist = Prepare({"a.mp3", "gone.mp3"}, mode);
        const JobResult result = Create();
        EXPECT_EQ(result.end, JobEnd::Failed) << "mode " << mode;
        EXPECT_EQ(result.message, "Error Reading File.. Exiting") << "mode " << mode;
        EXPECT_FALSE(PathExists(playlist)) << "mode " << mode;
    }
}

}  // namespace
}  // namespace velmar::test
