// Creation jobs of every list kind when the list cannot be written: a full
// disk, a folder that is not one. The end is always the fatal message, never
// a list that claims to be complete.
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "m3u/M3uCreateJob.h"
#include "md5list/Md5CreateJob.h"
#include "sfv/SfvCreateJob.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

struct Kind {
    const char* list;
    std::function<void(JobFrame&)> run;
    const char* complete;
};

const Kind Kinds[] = {
    {"album.sfv", [](JobFrame& f) { RunSfvCreation(f); }, "SFV file creation complete!"},
    {"md5sum", [](JobFrame& f) { RunMd5Creation(f); }, "MD5 file creation complete!"},
    {"album.m3u", [](JobFrame& f) { RunM3uCreation(f); }, "M3U file creation complete!"},
};

// Runs one kind's creation over two small files with Edit1 naming `list`,
// and returns the fake window's log.
std::vector<std::string> Create(const Kind& kind, test::TempDir& dir, const std::string& folder,
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
    EXPECT_THROW(kind.run(frame), test::ProgramEnded) << kind.list;
    return window.Log();
}

TEST(CreationFaultsTest, AFullDiskEndsWithTheWriteErrorAndNeverClaimsCompletion) {
    for (const Kind& kind : Kinds) {
        test::TempDir dir;
        ::mkdir(dir.File("files").c_str(), 0755);
        // Every write to /dev/full fails as a full disk does.
        ASSERT_EQ(::symlink("/dev/full", dir.File(std::string("files/") + kind.list).c_str()), 0);
        auto log = Create(kind, dir, dir.File("files"), kind.list);
        EXPECT_EQ(log.back(), "MessageBox Ok Error writing to file") << kind.list;
        EXPECT_FALSE(test::Contains(log, std::string("MessageBox Ok ") + kind.complete)) << kind.list;
    }
}

TEST(CreationFaultsTest, AListInAFolderThatCannotHoldItIsAWriteError) {
    for (const Kind& kind : Kinds) {
        test::TempDir dir;
        ::mkdir(dir.File("files").c_str(), 0755);
        dir.Write("files/not-a-folder", "");
        auto log = Create(kind, dir, dir.File("files"), std::string("not-a-folder/") + kind.list);
        EXPECT_EQ(log.back(), "MessageBox Ok Error writing to file") << kind.list;
    }
}

}  // namespace
}  // namespace velmar
