// Creation jobs of every list kind when the list cannot be written: a full
// disk, a folder that is not one. The end is always the fatal message, never
// a list that claims to be complete.
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "lists/CreationJob.h"
#include "registry/ListKinds.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

// Runs one kind's creation over two small files with Edit1 naming `list`,
// and returns the fake window's log.
std::vector<std::string> Create(const ListKind& kind, test::TempDir& dir, const std::string& folder,
                                const std::string& list) {
    test::FakeWindow window;
    MainWindowState state;
    JobFrame frame(window, state);
    test::ProgramEndCatcher catcher;
    for (const char* name : {"a.bin", "b.bin"}) {
        dir.Write(std::string("files/") + name, std::string(100000, name[0]));
        window.setup.rows.push_back(name);
        window.AddRow(name, IconPending);
    }
    window.setup.edit1 = list;
    window.setup.comboBox1 = 2;  // the file-info block: more to write
    state.CreationDirectory = folder;
    EXPECT_THROW(RunCreation(frame, kind), test::ProgramEnded) << list;
    return window.Log();
}

TEST(CreationFaultsTest, AFullDiskEndsWithTheWriteErrorAndNeverClaimsCompletion) {
    for (const ListKind* each : ListKinds()) {
        const ListKind& kind = *each;
        const std::string list = kind.create.firstName;
        test::TempDir dir;
        ::mkdir(dir.File("files").c_str(), 0755);
        // Every write to /dev/full fails as a full disk does.
        ASSERT_EQ(::symlink("/dev/full", dir.File("files/" + list).c_str()), 0);
        auto log = Create(kind, dir, dir.File("files"), list);
        EXPECT_EQ(log.back(), "MessageBox Ok Error writing to file") << list;
        EXPECT_FALSE(test::Contains(log, std::string("MessageBox Ok ") + kind.creationComplete)) << list;
    }
}

TEST(CreationFaultsTest, AListInAFolderThatCannotHoldItIsAWriteError) {
    for (const ListKind* each : ListKinds()) {
        const ListKind& kind = *each;
        const std::string list = kind.create.firstName;
        test::TempDir dir;
        ::mkdir(dir.File("files").c_str(), 0755);
        dir.Write("files/not-a-folder", "");
        auto log = Create(kind, dir, dir.File("files"), std::string("not-a-folder/") + list);
        EXPECT_EQ(log.back(), "MessageBox Ok Error writing to file") << list;
    }
}

}  // namespace
}  // namespace velmar
