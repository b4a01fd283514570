// Creation jobs of every list kind that end fatally: a list that cannot be
// written (a full disk, a folder that is not one), a chosen file gone. The
// end is always the fatal message, never a list that claims to be complete,
// an old list stays as it was, and the end comes at once.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "lists/CreationJob.h"
#include "registry/ListKinds.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/JobTest.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

// Runs one kind's creation over two small files with Edit1 naming `list`,
// and returns the fake window's log. Writes into files fail past
// `fileSizeLimit` bytes, as on a full disk.
std::vector<std::string> Create(const ListKind& kind, test::TempDir& dir, const std::string& folder,
                                const std::string& list, rlim_t fileSizeLimit = RLIM_INFINITY) {
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
    test::FileSizeLimit limit(fileSizeLimit);
    EXPECT_THROW(RunCreation(frame, kind), test::ProgramEnded) << list;
    return window.Log();
}

class CreationFaultsTest : public test::WorkerCountTest {};
VELMAR_AT_EACH_WORKER_COUNT(CreationFaultsTest);

TEST_P(CreationFaultsTest, AFullDiskEndsWithTheWriteErrorAndLeavesTheOldListAlone) {
    for (const ListKind* each : ListKinds()) {
        const ListKind& kind = *each;
        const std::string list = kind.create.firstName;
        test::TempDir dir;
        ::mkdir(dir.File("files").c_str(), 0755);
        const std::string old = "an older list\r\n";
        dir.Write("files/" + list, old);
        auto log = Create(kind, dir, dir.File("files"), list, 16);
        EXPECT_EQ(log.back(), "MessageBox Ok Error writing to file") << list;
        EXPECT_FALSE(test::Contains(log, std::string("MessageBox Ok ") + kind.creationComplete)) << list;
        EXPECT_EQ(test::ReadAll(dir.File("files/" + list)), old) << list;
        EXPECT_EQ(test::NamesIn(dir.File("files")).size(), 3u) << "the two files and the list, nothing else";
    }
}

TEST_P(CreationFaultsTest, AListThatCouldNotBeOverwrittenInPlaceIsAWriteError) {
    for (const ListKind* each : ListKinds()) {
        test::TempDir dir;
        ::mkdir(dir.File("files").c_str(), 0755);
        dir.Write("files/not-a-folder", "");
        ::mkdir(dir.File("files/a-folder").c_str(), 0755);
        ::chmod(dir.Write("files/read-only", "kept").c_str(), 0444);  // root writes it anyway, as before
        for (std::string name : {"not-a-folder/list", "a-folder", ::geteuid() ? "read-only" : "a-folder"})
            EXPECT_EQ(Create(*each, dir, dir.File("files"), name).back(), "MessageBox Ok Error writing to file") << name;
        EXPECT_EQ(test::ReadAll(dir.File("files/read-only")), "kept");
        EXPECT_EQ(test::NamesIn(dir.File("files")).size(), 5u) << "nothing left beside the files";
    }
}

// A file chosen and then removed, among disc images far too large to be read
// during the test (holes, which cost no disk): the answer to the fatal
// message ends the program at once, though workers are inside the images.
// With three workers MD5 and M3U read them through the lanes, SFV and
// SHA-256 on plain workers; with one nothing is read before the fatal row.
TEST_P(CreationFaultsTest, TheFatalAnswerEndsTheProgramWithinAReadOfEveryWorker) {
    for (const ListKind* kind : ListKinds()) {
        test::TempDir dir;
        test::FakeWindow window;
        MainWindowState state;
        JobFrame frame(window, state);
        test::ProgramEndCatcher catcher;
        for (const char* name : {"a_gone.bin", "b.iso", "c.iso", "d.iso", "e.iso"}) {
            window.setup.rows.push_back(name);
            window.AddRow(name, IconPending);
            if (name[0] != 'a') std::filesystem::resize_file(dir.Write(name, ""), std::uintmax_t{64} << 30);
        }
        window.setup.edit1 = kind->create.firstName;
        state.CreationDirectory = dir.path();

        const std::string fatal = "MessageBox Ok Error Reading File.. Exiting";
        std::chrono::steady_clock::time_point answered;
        window.onRecord = [&](std::size_t) {
            if (window.Log().back() != fatal) return;
            // The OK only once the images are being read.
            if (GetParam() > 1)
                while (window.followed->bytesDone == 0) std::this_thread::yield();
            answered = std::chrono::steady_clock::now();
        };
        EXPECT_THROW(RunCreation(frame, *kind), test::ProgramEnded) << kind->create.firstName;
        EXPECT_LT(std::chrono::steady_clock::now() - answered, std::chrono::seconds(5)) << kind->create.firstName;
        EXPECT_EQ(window.Log().back(), fatal);
        EXPECT_EQ(test::NamesIn(dir.path()).size(), 4u) << "the images, and no list";
    }
}

}  // namespace
}  // namespace velmar
