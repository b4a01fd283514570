#include <filesystem>
#include <string>
#include <vector>

#include "app/KindCommands.h"
#include "kinds/SumToolKinds.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "tests/kinds/Md5TestSupport.h"
#include "tests/support/TreeListing.h"

namespace velmar::test {
namespace {

class Md5CreateJobTest : public Md5Test {
protected:
    // Create MD5 over the named files of the folder, Edit1 as the user left it.
    void Prepare(const std::vector<std::string>& files, const std::string& edit1 = "md5sum") {
        std::vector<std::string> paths;
        for (const std::string& name : files) paths.push_back(dir.File(name));
        window.dialogAnswers.push_back(paths);
        CreateCommand(window, state, Md5Kind);
        window.setup.rows = RowNames(window);
        window.setup.edit1 = edit1;
    }
};
VELMAR_AT_EACH_READING_POLICY(Md5CreateJobTest);

TEST_P(Md5CreateJobTest, TheListHoldsOneSortedLinePerFileAndVerifiesGood) {
    for (const char* name : {"c.bin", "A.bin", "b.bin", "my file .bin"}) dir.Write(name, name);
    dir.Write("empty", "");
    Prepare({"c.bin", "A.bin", "b.bin", "my file .bin", "empty"});
    EXPECT_EQ(state.JobMode, (GoMode{GoAction::Create, &Md5Kind}));
    EXPECT_EQ(RowNames(window), (std::vector<std::string>{"A.bin", "b.bin", "c.bin", "empty", "my file .bin"}));
    for (const char* entry : {"SetText Label1 MD5 Filename", "SetText Edit1 md5sum", "Disable CheckBox1",
                              "Disable ComboBox1", "Enable Button1"})
        EXPECT_TRUE(Contains(window.Log(), entry)) << entry;

    CreateGo(window, state, Md5Kind);
    ASSERT_TRUE(WaitForJobEndAfter(window, "MessageBox Ok MD5 file creation complete!"));
    EXPECT_EQ(ReadAll(dir.File("md5sum")), Line("A.bin", "A.bin") + Line("b.bin", "b.bin") + Line("c.bin", "c.bin") +
                                               "d41d8cd98f00b204e9800998ecf8427e  empty\r\n" +
                                               Line("my file .bin", "my file .bin"));
    const auto log = window.Log();
    EXPECT_LT(IndexOf(log, "SetRowIcon 4 1"), IndexOf(log, "MessageBox Ok MD5 file creation complete!"));
    EXPECT_TRUE(window.Rows().empty());
    EXPECT_EQ(state.Busy, 0);

    RecordingSink checker;
    VerifyInto(checker, Md5Kind, dir.File("md5sum"));
    EXPECT_TRUE(Contains(checker.Log(), "Summary OK:5  BAD:0  N/A:0"));
}

TEST_P(Md5CreateJobTest, FilesChosenFromSeveralFoldersAreListedBelowTheFolderThatHoldsThemAll) {
    // Disc1 also holds a file2.bin that nobody chose: it must not stand in for Disc2's.
    for (const char* name : {"Disc1/file1.bin", "Disc1/file2.bin", "Disc2/file2.bin", "Extras/file3.bin"}) {
        std::filesystem::create_directories(dir.File(ListDirectoryOf(name)));
        dir.Write(name, name);
    }
    Prepare({"Extras/file3.bin", "Disc2/file2.bin", "Disc1/file1.bin", "Disc2/file2.bin"});
    EXPECT_EQ(RowNames(window), (std::vector<std::string>{"Disc1/file1.bin", "Disc2/file2.bin", "Extras/file3.bin"}))
        << "each chosen file once";
    EXPECT_EQ(state.CreationDirectory, dir.path());
    EXPECT_EQ(GoCreate(window, state, Md5Kind).end, JobEnd::Completed);
    EXPECT_EQ(ReadAll(dir.File("md5sum")), Line("Disc1/file1.bin", "Disc1/file1.bin") +
                                               Line("Disc2/file2.bin", "Disc2/file2.bin") +
                                               Line("Extras/file3.bin", "Extras/file3.bin"));
}

TEST_P(Md5CreateJobTest, AChosenFileNamedLikeTheListIsRefusedUntilTheListIsRenamed) {
    dir.Write("md5sum", "an older list");
    dir.Write("a.bin", "a");
    Prepare({"md5sum", "a.bin"});
    CreateGo(window, state, Md5Kind);
    EXPECT_EQ(window.Log().back(), "MessageBox Ok Cannot add 'self' to file.");
    EXPECT_FALSE(Contains(window.Log(), "MessageBox YesNo File Exists. Overwrite?"));
    EXPECT_EQ(state.Busy, 0);

    window.setup.edit1 = "list.md5";
    EXPECT_EQ(GoCreate(window, state, Md5Kind).end, JobEnd::Completed);
    EXPECT_EQ(ReadAll(dir.File("list.md5")), Line("a", "a.bin") + Line("an older list", "md5sum"));
}

TEST_P(Md5CreateJobTest, AnExistingListIsKeptOnNoAndAnEmptyNameCannotBeWritten) {
    dir.Write("md5sum", "old");
    dir.Write("a.bin", "a");
    Prepare({"a.bin"});
    window.messageAnswers = {MessageAnswer::No};
    CreateGo(window, state, Md5Kind);
    EXPECT_EQ(window.Log().back(), "MessageBox YesNo File Exists. Overwrite?");
    EXPECT_EQ(ReadAll(dir.File("md5sum")), "old");

    // An empty name leaves the folder itself as the path: it exists, and it
    // cannot be opened as the list.
    window.setup.edit1 = "";
    window.messageAnswers = {MessageAnswer::Yes};
    const JobResult result = GoCreate(window, state, Md5Kind);
    EXPECT_EQ(window.Log().back(), "MessageBox YesNo File Exists. Overwrite?");
    EXPECT_EQ(result.end, JobEnd::Failed);
    EXPECT_EQ(result.message, "Error writing to file");
}

TEST_P(Md5CreateJobTest, AChosenFileGoneBeforeGoFailsTheJobWithoutAList) {
    dir.Write("a.bin", "a");
    dir.Write("b.bin", "b");
    Prepare({"a.bin", "b.bin"});
    std::filesystem::remove(dir.File("b.bin"));
    const JobResult result = GoCreate(window, state, Md5Kind);
    EXPECT_EQ(result.end, JobEnd::Failed);
    EXPECT_EQ(result.message, "Error Reading File.. Exiting");
    EXPECT_FALSE(PathExists(dir.File("md5sum"))) << "an incomplete list is never put in place";
}

}  // namespace
}  // namespace velmar::test
