// The audit and Add New Files for every kind, on a tree whose list was made
// by Create from Folder: changed, missing, new and moved files told apart,
// and the list the Yes writes verified again.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "checksum/FileDigest.h"
#include "lists/AuditJob.h"
#include "tests/support/JobTest.h"
#include "tests/support/TreeListing.h"

namespace velmar::test {
namespace {

class AuditTest : public ReadingPolicyTest {};
VELMAR_AT_EACH_READING_POLICY(AuditTest);

std::string Numbered(const char* prefix, int i) { return prefix + std::to_string(10 + i) + ".bin"; }

// A job of `mode` on `list`, told to `sink`, its questions answered by
// `answers` (Yes for true); the sink's log.
std::vector<std::string> Audit(RecordingSink& sink, AuditMode mode, const std::string& list, std::deque<bool> answers) {
    JobControl control;
    test::PinReading(control);
    JobFrame frame(sink, control);
    sink.answers = std::move(answers);
    EXPECT_EQ(frame.Run([&] { AuditList(frame, mode, ListKindOf(list), list); }).end, JobEnd::Completed);
    return sink.Log();
}

// The same as the menu runs it: the list chosen in the command's dialog, the
// job on its worker, told to the window, a question answered No; the
// window's log.
std::vector<std::string> AuditFromMenu(AuditMode mode, const std::string& list) {
    FakeWindow window;
    MainWindowState state;
    test::PinReading(state);
    window.dialogAnswers.push_back(std::vector<std::string>{list});
    window.messageAnswers = {MessageAnswer::No};
    AuditCommand(window, state, mode, ListKindOf, AllListsFilter());
    EXPECT_TRUE(WaitForJobsToEnd());
    return window.Log();
}

std::string FirstLine(const std::string& path) {
    const std::string text = ReadAll(path);
    return text.substr(0, text.find('\n'));
}

TEST_P(AuditTest, ChangedMissingNewAndMovedFilesAreToldApartAndTheUpdatedListHoldsTheTree) {
    for (const ListKind* kind : ListKinds()) {
        SCOPED_TRACE(kind->firstName);
        TempDir dir;
        // Forty files of their own content in two folders, and two empty ones.
        std::vector<std::string> files;
        for (int i = 0; i < 40; ++i) files.push_back(Numbered(i < 20 ? "Disc 1/" : "Disc 2/", i));
        const std::string tree = WriteTree(dir, "Tree", files);
        dir.Write("Tree/empty a", "");
        dir.Write("Tree/empty b", "");
        const std::string list = CreateListOfTree(*kind, tree);
        const std::string header = FirstLine(list);

        for (int i = 0; i < 10; ++i)                                                                // BAD, edited
            std::filesystem::last_write_time(dir.Write("Tree/" + files[i], "changed"),
                                             std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
        for (int i = 10; i < 20; ++i) std::filesystem::remove(tree + "/" + files[i]);               // N/A
        for (const char* folder : {"/Moved", "/New", "/Later"}) std::filesystem::create_directories(tree + folder);
        for (int i = 20; i < 28; ++i)                                                               // MOVED
            std::filesystem::rename(tree + "/" + files[i], tree + "/Moved/" + Numbered("", i));
        for (const char* empty : {"empty a", "empty b"})                                           // N/A + NEW
            std::filesystem::rename(tree + "/" + empty, tree + "/Moved/" + empty);
        for (int i = 0; i < 10; ++i) dir.Write("Tree/New/" + Numbered("", i), "new " + std::to_string(i));  // NEW

        RecordingSink auditor;
        const auto log = Audit(auditor, AuditMode::Audit, list, {true});
        EXPECT_TRUE(Contains(log, "Summary OK:12  BAD:10  N/A:12  NEW:12  MOVED:8"));
        EXPECT_TRUE(Contains(log, "Ask Update List?"));
        EXPECT_TRUE(Contains(log, "Told List Updated"));
        const auto names = RowNames(auditor);
        const auto icons = RowIcons(auditor);
        ASSERT_EQ(names.size(), 42u + 12) << "the listed rows, the new ones, no row for a move";
        EXPECT_EQ(names[20], "Disc 2/" + Numbered("", 20) + " -> Moved/" + Numbered("", 20));
        EXPECT_EQ(icons[20], IconMoved);
        EXPECT_EQ(icons[0], IconBad);
        EXPECT_EQ(icons[10], IconNA);
        EXPECT_EQ(names.back(), "New/" + Numbered("", 9));
        EXPECT_EQ(icons.back(), IconNew);
        EXPECT_EQ(std::count(names.begin(), names.end(), "Moved/empty a"), 1) << "an empty file never moves";
        // What each row tells of itself.
        const auto rows = auditor.Rows();
        EXPECT_EQ(rows[20].details.reason, "moved to Moved/" + Numbered("", 20));
        EXPECT_EQ(rows[20].details.movedTo, "Moved/" + Numbered("", 20));
        EXPECT_EQ(rows[20].details.path, tree + "/Moved/" + Numbered("", 20));
        EXPECT_EQ(rows[20].details.computed, rows[20].details.expected);
        EXPECT_EQ(rows[0].details.reason, "differs; changed after the list was written");
        EXPECT_NE(rows[0].details.computed, rows[0].details.expected);
        EXPECT_EQ(rows[10].details.reason, "missing");
        EXPECT_EQ(rows.back().details.reason, "new");
        EXPECT_EQ(rows.back().details.expected, "");
        EXPECT_EQ(auditor.checkedList, list);

        // The new list: the header kept, the changed files still BAD by
        // their listed digests, every other file of the tree OK.
        EXPECT_EQ(FirstLine(list), header);
        RecordingSink checker;
        VerifyInto(checker, *kind, list);
        EXPECT_TRUE(Contains(checker.Log(), "Summary OK:32  BAD:10  N/A:0"));

        // From the menu, in the window: the command's own dialog.
        const auto quiet = AuditFromMenu(AuditMode::Audit, list);
        EXPECT_TRUE(Contains(quiet, "OpenFileDialog Audit: Select List File to Audit"));
        EXPECT_TRUE(Contains(quiet, "SetText Label1 OK:32  BAD:10  N/A:0  NEW:0  MOVED:0"));
        EXPECT_FALSE(Contains(quiet, "MessageBox YesNo Update List?"));

        // Add New Files reads none of the listed files: a changed one stays
        // unseen, and only the new files become rows.
        dir.Write("Tree/" + files[30], "changed unseen");
        dir.Write("Tree/Later/a.bin", "later a");
        dir.Write("Tree/Later/b.bin", "later b");
        RecordingSink adder;
        const auto added = Audit(adder, AuditMode::AddNewFiles, list, {true});
        EXPECT_EQ(RowNames(adder), (std::vector<std::string>{"Later/a.bin", "Later/b.bin"}));
        EXPECT_TRUE(Contains(added, "Ask Add 2 Files to the List?"));
        const auto last = AuditFromMenu(AuditMode::AddNewFiles, list);
        EXPECT_TRUE(Contains(last, "OpenFileDialog Add New Files: Select List File"));
        EXPECT_TRUE(Contains(last, "MessageBox Ok No New Files Found"));
    }
}

// A one-file list named after its file, in either of its forms and by any
// of its kind's endings: only its file is checked, nothing beside it is new,
// and it is never rewritten.
TEST_P(AuditTest, ASidecarIsAuditedAsItsOneFileAndNeverRewritten) {
    for (const ListKind* kind : ListKinds()) {
        for (const char* extension : kind->sidecarExtensions) {
            if (!extension) continue;
            SCOPED_TRACE(extension);
            TempDir dir;
            const std::string file = dir.Write("Disc.iso", "disc");
            dir.Write("other.bin", "other");
            ReadBuffer buffer(4096);
            const FileDigest digest = DigestFile(kind->algorithm, file, buffer);
            for (const std::string& text : {digest.Text() + "\r\n", kind->entryLines("Disc.iso", digest, *kind, {})}) {
                const std::string list = dir.Write(std::string("Disc.iso") + extension, text);
                RecordingSink auditor;
                const auto log = Audit(auditor, AuditMode::Audit, list, {});
                EXPECT_TRUE(Contains(log, "Summary OK:1  BAD:0  N/A:0  NEW:0  MOVED:0"));
                EXPECT_EQ(RowNames(auditor), std::vector<std::string>{"Disc.iso"});
                RecordingSink adder;
                EXPECT_TRUE(Contains(Audit(adder, AuditMode::AddNewFiles, list, {}), "Told No New Files Found"));
                std::filesystem::rename(file, file + ".moved");
                RecordingSink missing;
                EXPECT_TRUE(
                    Contains(Audit(missing, AuditMode::Audit, list, {}), "Summary OK:0  BAD:0  N/A:1  NEW:0  MOVED:0"))
                    << "and nothing asked";
                std::filesystem::rename(file + ".moved", file);
                EXPECT_EQ(ReadAll(list), text);
            }
        }
    }
}

}  // namespace
}  // namespace velmar::test
