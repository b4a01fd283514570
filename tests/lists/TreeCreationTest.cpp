// Create from Folder for every kind: the rows are the tree's files in their
// order, the list goes into the folder and verifies, and what is no file of
// the list (links to folders, FIFOs, the list itself and its replacement)
// stays out of it. A folder that cannot be read stops the creation at go!.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "jobs/TreeListing.h"
#include "lists/CommentBlocks.h"
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

}  // namespace
}  // namespace velmar::test
