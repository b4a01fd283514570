// Create from Folder as the menu runs it, for the tests of lists of trees:
// the folder answered in the dialog, the walk waited for on its worker, and
// the fake window's setup then holding the rows listed and the name proposed.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "lists/KindCommands.h"
#include "lists/CreationJob.h"
#include "registry/ListKinds.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/PeerTools.h"
#include "tests/support/TempDir.h"

namespace velmar::test {

inline void CreateFromFolder(FakeWindow& window, MainWindowState& state, const ListKind& kind,
                             const std::string& folder) {
    window.dialogAnswers.push_back(std::vector<std::string>{folder});
    CreateFromFolderCommand(window, state, kind, ModesOf(kind));
    ASSERT_TRUE(WaitForJobsToEnd());
    window.setup.rows = RowNames(window);
    const auto log = window.Log();
    for (auto entry = log.rbegin(); entry != log.rend(); ++entry)
        if (entry->starts_with("SetText Edit1 ")) {
            window.setup.edit1 = entry->substr(14);
            break;
        }
}

// The list of `tree` as the window writes it: Create from Folder, the
// file-info comments, go!. Returns the list's path.
inline std::string CreateListOfTree(const ListKind& kind, const std::string& tree) {
    FakeWindow window;
    MainWindowState state;
    ProgramEndCatcher catcher;
    CreateFromFolder(window, state, kind, tree);
    window.setup.comboBox1 = 2;
    JobFrame frame(window, state);
    RunCreation(frame, kind);
    return tree + "/" + window.setup.edit1;
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
    window.setup.comboBox1 = 2;
    window.setup.checkBox1 = true;
    JobFrame frame(window, state);
    RunCreation(frame, kind);
    EXPECT_EQ(RunIn(tree, check + " '" + window.setup.edit1 + "'"), 0);
    dir.Write("Tree/Disc 1/Extras/making of.bin", "changed");
    EXPECT_NE(RunIn(tree, check + " '" + window.setup.edit1 + "'"), 0) << "the change must show";
}

// The window's rows, each name with its icon, are `expected`; a list of a
// tree may give them in any order, as its maker read the folders.
inline void ExpectRows(FakeWindow& window, std::vector<std::pair<std::string, StatusIcon>> expected, bool anyOrder) {
    std::vector<std::pair<std::string, StatusIcon>> rows;
    for (const auto& row : window.Rows()) rows.push_back({row.name, row.icon});
    if (anyOrder) {
        std::sort(rows.begin(), rows.end());
        std::sort(expected.begin(), expected.end());
    }
    EXPECT_EQ(rows, expected);
}

}  // namespace velmar::test
