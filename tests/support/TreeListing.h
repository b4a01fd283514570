// Create from Folder and go! as the window runs them, for the tests of lists
// of trees: the folder answered in the dialog, the walk waited for on its
// worker, the fake window's setup then holding the rows listed and the name
// proposed, and the creation job run on the test's thread. And a list
// verified as from the menu, into a recording sink.
#pragma once

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/Commands.h"
#include "app/KindCommands.h"
#include "lists/CreationJob.h"
#include "lists/VerifyJob.h"
#include "kinds/ListKinds.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/PeerTools.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/TempDir.h"

namespace velmar::test {

inline void CreateFromFolder(FakeWindow& window, MainWindowState& state, const ListKind& kind,
                             const std::string& folder) {
    window.dialogAnswers.push_back(std::vector<std::string>{folder});
    CreateFromFolderCommand(window, state, kind);
    ASSERT_TRUE(WaitForJobsToEnd());
    window.setup.rows = RowNames(window);
    const auto log = window.Log();
    for (auto entry = log.rbegin(); entry != log.rend(); ++entry)
        if (entry->starts_with("SetText Edit1 ")) {
            window.setup.edit1 = entry->substr(14);
            break;
        }
}

// go! in the kind's create mode: its checks on the window as it stands, then
// the creation job on this thread. The job's end; a refusal at go! fails.
inline JobResult GoCreate(FakeWindow& window, MainWindowState& state, const ListKind& kind) {
    const std::optional<CreationInputs> inputs = CreationMayStart(window, state, kind);
    EXPECT_TRUE(inputs) << "go! refused: " << window.Log().back();
    if (!inputs) {
        JobResult refused;
        refused.end = JobEnd::Failed;
        refused.message = "go! refused";
        return refused;
    }
    // The rows are the window's, which a creation marks without adding.
    RecordingSink sink;
    sink.HoldRows(inputs->rows);
    JobFrame frame(sink, state);
    return frame.Run([&] { RunCreation(frame, kind, *inputs); });
}

// The list of `tree` as the window writes it: Create from Folder, the
// file-info comments, go!. Returns the list's path.
inline std::string CreateListOfTree(const ListKind& kind, const std::string& tree) {
    FakeWindow window;
    MainWindowState state;
    ProgramEndCatcher catcher;
    CreateFromFolder(window, state, kind, tree);
    window.setup.comboBox1 = CommentModeFileInfo;
    EXPECT_EQ(GoCreate(window, state, kind).end, JobEnd::Completed);
    return tree + "/" + window.setup.edit1;
}

// The verification of `list` read as `kind`, as the menu starts it, told to
// `sink`, "Rename Bad Files?" answered `rename`. The job's end.
inline JobResult VerifyInto(RecordingSink& sink, const ListKind& kind, const std::string& list, bool rename = false) {
    JobControl control;
    JobFrame frame(sink, control);
    sink.answers = {rename};
    return frame.Run([&] { VerifyList(frame, kind, list, ReadPurpose::MenuVerify); });
}

// Files below `folder` of `dir`, each holding its own name, folders made
// on the way.
inline std::string WriteTree(const TempDir& dir, const std::string& folder, const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        std::filesystem::create_directories(std::filesystem::path(dir.File(folder + "/" + file)).parent_path());
        dir.Write(folder + "/" + file, file);
    }
    return dir.File(folder);
}

// A list of a small tree (hidden files, folders within folders, blanks and
// a name that is another's start), made by Create from Folder and go! with
// the file-info block and the WinSFV header where the kind writes them,
// passes `check` run in the tree with the list's name after it, and fails
// it once a file deep in the tree has changed.
inline void ExpectToolPassesListOfTree(const ListKind& kind, const std::string& check) {
    SCOPED_TRACE(check);
    TempDir dir;
    const std::string tree = WriteTree(
        dir, "Tree", {".hidden", "Disc 1/.cover.jpg", "Disc 1/Extras/making of.bin", "Disc 1/track.bin", "Disc 10/track.bin"});
    FakeWindow window;
    MainWindowState state;
    ProgramEndCatcher catcher;
    CreateFromFolder(window, state, kind, tree);
    ASSERT_EQ(window.setup.rows.size(), 5u);
    window.setup.comboBox1 = CommentModeFileInfo;
    window.setup.checkBox1 = true;
    ASSERT_EQ(GoCreate(window, state, kind).end, JobEnd::Completed);
    EXPECT_EQ(RunIn(tree, check + " '" + window.setup.edit1 + "'"), 0);
    dir.Write("Tree/Disc 1/Extras/making of.bin", "changed");
    EXPECT_NE(RunIn(tree, check + " '" + window.setup.edit1 + "'"), 0) << "the change must show";
}

// The rows of a window or a sink, each name with its icon, are `expected`;
// a list of a tree may give them in any order, as its maker read the folders.
template <class Rows>
inline void ExpectRows(Rows& window, std::vector<std::pair<std::string, StatusIcon>> expected, bool anyOrder) {
    std::vector<std::pair<std::string, StatusIcon>> rows;
    for (const auto& row : window.Rows()) rows.push_back({row.name, row.icon});
    if (anyOrder) {
        std::sort(rows.begin(), rows.end());
        std::sort(expected.begin(), expected.end());
    }
    EXPECT_EQ(rows, expected);
}

}  // namespace velmar::test
