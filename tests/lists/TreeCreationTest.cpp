// Create from Folder for every kind: the rows are the tree's files in their
// order, the list goes into the folder and verifies, and what is no file of
// the list (links to folders, FIFOs, the list itself and its replacement)
// stays out of it. A folder that cannot be read stops the creation at go!.
// A library: every list below a folder verified in one run.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "jobs/TreeListing.h"
#include "lists/CommentBlocks.h"
#include "lists/LibraryJob.h"
#include "platform/ReadBuffer.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/JobTest.h"
#include "tests/support/TreeListing.h"

namespace velmar::test {
namespace {

class TreeCreationTest : public ReadingPolicyTest {};
VELMAR_AT_EACH_READING_POLICY(TreeCreationTest);

// The name each kind proposes for a list of the folder "Music".
std::string ListNameInMusic(const ListKind& kind) {
    return kind.folderExtension ? std::string("Music") + kind.folderExtension : kind.firstName;
}

TEST_P(TreeCreationTest, EveryFileOfTheTreeIsListedFolderByFolderAndTheListVerifies) {
    for (const ListKind* kind : ListKinds()) {
        SCOPED_TRACE(kind->firstName);
        TempDir dir;
        const std::string list = ListNameInMusic(*kind);
        // Folder by folder: "Album" and its files come before "Album (Live)",
        // though ' ' sorts before '/'; capitals before small letters.
        const std::vector<std::string> listed = {
            ".config/settings",      ".hidden",          "Artist/Album/01 Intro.bin", "Artist/Album/02 Song.bin",
            "Artist/Album (Live)/01.bin", "Artist/cover.jpg", "B.bin", "a.bin", "link to cover"};
        const std::string music = WriteTree(dir, "Music", {listed.begin(), listed.end() - 1});
        ::symlink("Artist/cover.jpg", (music + "/link to cover").c_str());
        ::symlink("Artist", (music + "/linked folder").c_str());
        ::symlink("nothing", (music + "/dangling").c_str());
        ::mkfifo((music + "/pipe").c_str(), 0644);
        dir.Write("Music/" + list, "an older list\r\n");
        dir.Write("Music/." + list + ".Ab3dEf9x", "a replacement left behind");
        dir.Write("Music/" + list + ".ASC", "the older list's signature");

        FakeWindow window;
        MainWindowState state;
        test::PinReading(state);
        ProgramEndCatcher catcher;
        CreateFromFolder(window, state, *kind, music);
        EXPECT_TRUE(Contains(window.Log(), std::string("OpenFolderDialog ") + TextsOf(*kind).create.folderTitle));
        EXPECT_EQ(window.setup.rows, listed);
        EXPECT_EQ(window.setup.edit1, list);
        EXPECT_EQ(window.Log().back(), "Cursor default") << "the walk ends as every job does";
        EXPECT_TRUE(Contains(window.Log(), "Enable Button1"));
        EXPECT_EQ(state.JobMode, (GoMode{GoAction::Create, kind}));

        window.setup.comboBox1 = CommentModeFileInfo;
        window.messageAnswers = {MessageAnswer::Yes};
        CreateGo(window, state, *kind);
        ASSERT_TRUE(WaitForJobEndAfter(window, std::string("MessageBox Ok ") + TextsOf(*kind).creationComplete));
        EXPECT_TRUE(Contains(window.Log(), "MessageBox YesNo File Exists. Overwrite?"));
        EXPECT_NE(ReadAll(music + "/" + list).find("Artist/Album (Live)/01.bin"), std::string::npos);

        RecordingSink checker;
        VerifyInto(checker, *kind, music + "/" + list);
        EXPECT_EQ(RowNames(checker), listed);
        EXPECT_TRUE(Contains(checker.Log(), "Summary OK:9  BAD:0  N/A:0"));
    }
}

TEST_P(TreeCreationTest, AFolderThatCannotBeReadStopsTheCreationAtGoBeforeAFileIsRead) {
    for (const ListKind* kind : ListKinds()) {
        // Neither names nor files to read, and names whose files cannot be reached.
        for (const mode_t locked : {0000, 0444}) {
            TempDir dir;
            ::chmod(dir.path().c_str(), 0755);
            const std::string music = WriteTree(dir, "Music", {"a.bin", "Locked/b.bin"});
            ::chmod((music + "/Locked").c_str(), locked);
            // Root reads every folder: the walk then runs as another user.
            const auto walkAndGo = [&] {
                FakeWindow window;
                MainWindowState state;
                test::PinReading(state);
                ProgramEndCatcher catcher;
                CreateFromFolder(window, state, *kind, music);
                std::string rows;
                for (const std::string& row : window.setup.rows) rows += row + ", ";
                CreateGo(window, state, *kind);
                return rows + window.Log().back() + (JobThread::Running() == 0 && state.Busy == 0 ? "" : ", busy");
            };
            const std::string ending = ::geteuid() == 0 ? AsNobody(walkAndGo) : walkAndGo();
            ::chmod((music + "/Locked").c_str(), 0755);
            SKIP_IF_CHILD_SAID(ending);
            EXPECT_EQ(ending, "a.bin, MessageBox Ok " + CannotReadFolderMessage(music + "/Locked"))
                << kind->firstName << " " << locked;
            EXPECT_FALSE(PathExists(music + "/" + ListNameInMusic(*kind)));
        }
    }
}

// A stop during the walk is in tests/jobs/QuitAtEveryStepTest.cpp.
TEST_P(TreeCreationTest, ATreeWithoutAFileSaysSoAndGivesTheWindowBack) {
    for (const ListKind* kind : ListKinds()) {
        TempDir dir;
        std::filesystem::create_directories(dir.File("Empty/Nothing here"));
        FakeWindow window;
        MainWindowState state;
        test::PinReading(state);
        ProgramEndCatcher catcher;
        CreateFromFolder(window, state, *kind, dir.File("Empty") + "/");
        EXPECT_TRUE(Contains(window.Log(), "MessageBox Ok No files found in folder '" + dir.File("Empty") + "'"));
        EXPECT_FALSE(Contains(window.Log(), "Enable Button1")) << kind->firstName;
        EXPECT_EQ(window.Log().back(), "Cursor default");
    }
}

// Good lists of three kinds, a bad file, a missing one, a broken list and a
// list in a hidden folder: one run, rows named from the library's folder,
// the broken list a row of its own, each bad file renamed in its own folder.
TEST_P(TreeCreationTest, EveryListOfALibraryIsVerifiedInOneRunThatABrokenListDoesNotEnd) {
    TempDir dir;
    const std::string music = WriteTree(dir, "Music", {"A/1.bin", "A/2.bin", "B/3.bin", "B/4.bin", "C/6.bin", ".Trash/5.bin"});
    const auto list = [&](const ListKind& kind, const std::string& path, const std::vector<std::string>& names) {
        ReadBuffer buffer;
        std::string text;
        const std::string folder = path.substr(0, path.rfind('/') + 1);
        for (const std::string& name : names)
            text += kind.entryLines(name, DigestFile(kind.algorithm, music + "/" + folder + name, buffer), kind, {});
        dir.Write("Music/" + path, text);
    };
    list(*ListKinds()[0], "A/A.sfv", {"1.bin", "2.bin"});
    list(ListKindOf("md5sum"), "B/md5sum", {"3.bin", "4.bin"});
    dir.Write("Music/C/7.bin", "seven");
    list(ListKindOf("SHA256SUMS"), "C/SHA256SUMS", {"6.bin", "7.bin"});
    std::filesystem::remove(dir.File("Music/C/7.bin"));
    // An edit moves the time on; damage in place leaves it as it was.
    std::filesystem::last_write_time(dir.Write("Music/B/4.bin", "changed"),
                                     std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
    const auto before = std::filesystem::last_write_time(dir.File("Music/A/2.bin"));
    dir.Write("Music/A/2.bin", "rotten");
    std::filesystem::last_write_time(dir.File("Music/A/2.bin"), before - std::chrono::hours(1));
    std::filesystem::create_directories(dir.File("Music/D"));
    dir.Write("Music/D/SHA1SUMS", "not a list\n");
    list(*ListKinds()[1], ".Trash/5.md5", {"5.bin"});

    RecordingSink sink;
    JobControl control;
    PinReading(control);
    JobFrame frame(sink, control);
    sink.answers.push_back(true);
    const JobResult result = frame.Run([&] { VerifyLibrary(frame, music, {.isListName = IsListName, .kindOf = ListKindOf}); });
    EXPECT_EQ(result.end, JobEnd::Completed);
    EXPECT_EQ(RowNames(sink), (std::vector<std::string>{"A/1.bin", "A/2.bin", "B/3.bin", "B/4.bin", "C/6.bin", "C/7.bin",
                                                        "D/SHA1SUMS"}));
    EXPECT_EQ(RowIcons(sink), (std::vector<StatusIcon>{IconOk, IconBad, IconOk, IconBad, IconOk, IconNA, IconNA}));
    EXPECT_TRUE(Contains(sink.Log(), "Summary LISTS:4  OK:3  BAD:2 (1 corrupt)  N/A:2"));
    EXPECT_TRUE(sink.Rows()[1].details.corrupt);
    EXPECT_EQ(sink.Rows()[3].details.reason, "differs; changed after the list was written; renamed to 4.bin.BAD");
    EXPECT_EQ(sink.Rows()[6].details.reason, "Error Reading SHA1 File.. Exiting");
    EXPECT_EQ(sink.Rows()[3].details.list, music + "/B/md5sum");
    EXPECT_TRUE(std::filesystem::exists(music + "/B/4.bin.BAD"));
}

}  // namespace
}  // namespace velmar::test
