// Creation jobs of every list kind when the list cannot be written or
// cannot carry a name: a full disk, a folder that is not one or takes no
// file, a sticky folder's list of another user, a name the list has no way
// to write. The end is always a message, never a list that claims to be
// complete, and an old list stays as it was. What is sure to fail fails
// before any file is read.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "kinds/SumToolKinds.h"
#include "lists/CreationJob.h"
#include "app/Commands.h"
#include "app/WindowJob.h"
#include "lists/VerifyJob.h"
#include "kinds/M3uKind.h"
#include "platform/Files.h"
#include "kinds/ListKinds.h"
#include "kinds/SfvKind.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FakeWindowLog.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/JobTest.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

const char* const Chosen[] = {"a.bin", "b.bin"};

// The folder "files" with the two chosen files in it.
std::string FilesFolder(test::TempDir& dir, unsigned mode = 0755) {
    ::mkdir(dir.File("files").c_str(), 0755);
    ::chmod(dir.File("files").c_str(), mode);
    for (const char* name : Chosen) dir.Write(std::string("files/") + name, std::string(100000, name[0]));
    return dir.File("files");
}

// One kind's creation over the chosen files of `folder` into `list`: the
// message it failed with, or "complete", after "a row marked, " once a
// file's digest was taken. Writes into files fail past `fileSizeLimit`
// bytes, as on a full disk.
std::string Create(const ListKind& kind, const std::string& folder, const std::string& list,
                   rlim_t fileSizeLimit = RLIM_INFINITY, std::vector<std::string> rows = {Chosen[0], Chosen[1]}) {
    test::RecordingSink sink;
    JobControl control;
    test::PinReading(control);
    JobFrame frame(sink, control);
    // The file-info block: more to write, and it opens the files.
    const CreationInputs inputs{.rows = std::move(rows), .directory = folder, .listName = list,
                                .commentMode = CommentModeFileInfo};
    test::FileSizeLimit limit(fileSizeLimit);
    const JobResult result = frame.Run([&] { RunCreation(frame, kind, inputs); });
    const auto log = sink.Log();
    const bool marked = std::any_of(log.begin(), log.end(), [](const std::string& e) { return e.starts_with("RowMarked"); });
    return (marked ? "a row marked, " : "") + (result.end == JobEnd::Failed ? result.message : "complete");
}

const std::string WriteError = "Error writing to file";

class CreationFaultsTest : public test::ReadingPolicyTest {};
VELMAR_AT_EACH_READING_POLICY(CreationFaultsTest);

TEST_P(CreationFaultsTest, AFullDiskEndsWithTheWriteErrorAndLeavesTheOldListAlone) {
    for (const ListKind* each : ListKinds()) {
        const ListKind& kind = *each;
        const std::string list = kind.firstName;
        test::TempDir dir;
        const std::string folder = FilesFolder(dir);
        const std::string old = "an older list\r\n";
        dir.Write("files/" + list, old);
        EXPECT_EQ(Create(kind, folder, list, 16), WriteError) << list;
        EXPECT_EQ(test::ReadAll(dir.File("files/" + list)), old) << list;
        EXPECT_EQ(test::NamesIn(folder).size(), 3u) << "the two files and the list, nothing else";
    }
}

TEST_P(CreationFaultsTest, ADiskWithoutRoomForTheEntriesFailsBeforeAFileIsRead) {
    for (const ListKind* each : ListKinds()) {
        test::TempDir dir;
        const std::string folder = dir.File("small");
        ::mkdir(folder.c_str(), 0755);
        const std::string ending = test::InChild([&] {
            // A small file system of its own, filled up once the files are in.
            if (::unshare(CLONE_NEWNS) != 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
                return std::string("skip: no mount namespace");
            if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("velmar-test", folder.c_str(), "tmpfs", 0, "size=256k") != 0)
                return std::string("skip: tmpfs cannot be mounted");
            for (const char* name : Chosen) dir.Write(std::string("small/") + name, name);
            const int filler = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
            const std::string block(4096, 'f');
            while (::write(filler, block.data(), block.size()) > 0) {
            }
            ::close(filler);
            return Create(*each, folder, "list");
        });
        SKIP_IF_CHILD_SAID(ending);
        EXPECT_EQ(ending, WriteError) << each->firstName;
    }
}

TEST_P(CreationFaultsTest, AListThatCouldNotBeWrittenOrPutInPlaceIsAWriteErrorAtOnce) {
    for (const ListKind* each : ListKinds()) {
        test::TempDir dir;
        ::chmod(dir.path().c_str(), 0755);
        const std::string folder = FilesFolder(dir, 0777);
        dir.Write("files/not-a-folder", "");
        ::mkdir(dir.File("files/a-folder").c_str(), 0755);
        ::mkdir(dir.File("files/read-only-folder").c_str(), 0555);
        ::chmod(dir.Write("files/read-only", "kept").c_str(), 0444);
        for (const std::string name : {"not-a-folder/list", "a-folder"})
            EXPECT_EQ(Create(*each, folder, name), WriteError) << name;
        // Root writes where the modes forbid it: these run as nobody.
        for (const std::string name : {"read-only", "read-only-folder/list"}) {
            const std::string ending = ::geteuid() != 0 ? Create(*each, folder, name)
                                                        : test::AsNobody([&] { return Create(*each, folder, name); });
            SKIP_IF_CHILD_SAID(ending);
            EXPECT_EQ(ending, WriteError) << name;
        }
        EXPECT_EQ(test::ReadAll(dir.File("files/read-only")), "kept");
        EXPECT_EQ(test::NamesIn(folder).size(), 6u) << "nothing left beside the files";
    }
}

TEST_P(CreationFaultsTest, AnotherUsersListInAStickyFolderIsAWriteErrorBeforeAFileIsRead) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can leave a list of another user here";
    for (const ListKind* each : ListKinds()) {
        test::TempDir dir;
        ::chmod(dir.path().c_str(), 0755);
        const std::string folder = FilesFolder(dir, 01777);
        // Files nobody may not read: a creation that read them would end
        // with the read error instead.
        for (const char* name : Chosen) ::chmod(dir.File(std::string("files/") + name).c_str(), 0600);
        // Anyone may write the list in place, but only its owner may rename
        // over it.
        ::chmod(dir.Write("files/theirs", "kept").c_str(), 0666);
        const std::string ending = test::AsNobody([&] { return Create(*each, folder, "theirs"); });
        SKIP_IF_CHILD_SAID(ending);
        EXPECT_EQ(ending, WriteError) << each->firstName;
        EXPECT_EQ(test::ReadAll(dir.File("files/theirs")), "kept");
        EXPECT_EQ(test::NamesIn(folder).size(), 3u) << "nothing left beside the files";
    }
}

// go! refuses a name a list has no way to write, with a message that names
// it, before any job starts; the names it takes read back from the list.
TEST_P(CreationFaultsTest, GoRefusesANameTheListCannotCarryAndTheListReadsBackEveryOther) {
    // With 64 digits or more and 2 blanks, 450 characters are over a
    // 510-character line.
    const std::string tooLongForWideDigests = std::string(200, 'n') + "/" + std::string(249, 'n');
    std::vector<const ListKind*> wideDigests;
    for (const ListKind* kind : ListKinds())
        if (kind->Digits() >= 64) wideDigests.push_back(kind);
    const struct {
        std::string name;
        std::vector<const ListKind*> refusedBy;
    } names[] = {
        {"Icon\r", {&SfvKind, &M3uKind, &Blake3Kind, &Xxh3Kind, &Xxh128Kind}},
        {"a\nb.bin", {&SfvKind, &M3uKind, &Xxh3Kind, &Xxh128Kind}},
        {";semicolon.bin", {&SfvKind}},
        {"end\x1Aof text.bin", {ListKinds().begin(), ListKinds().end()}},
        {tooLongForWideDigests, wideDigests},
        {"back\\slash.bin", {}},
        {"Disc1/file1.bin", {}},
        {"  lead and inner  blanks .bin", {}},
    };
    for (const ListKind* kind : ListKinds()) {
        SCOPED_TRACE(kind->firstName);
        test::TempDir dir;
        ::mkdir(dir.File("Disc1").c_str(), 0755);
        ::mkdir(dir.File(std::string(200, 'n')).c_str(), 0755);
        test::FakeWindow window;
        window.setup.edit1 = "list";
        window.setup.comboBox1 = 3;
        std::vector<std::string> taken;
        for (const auto& [name, refusedBy] : names) {
            dir.Write(name, name);
            if (std::find(refusedBy.begin(), refusedBy.end(), kind) == refusedBy.end()) {
                taken.push_back(name);
                continue;
            }
            MainWindowState state;
            test::PinReading(state);
            state.CreationDirectory = dir.path();
            window.ClearRows();
            for (const std::string& row : {std::string("good.bin"), name}) window.AddRow(row, IconPending);
            window.setup.rows = {"good.bin", name};
            EXPECT_FALSE(CreationMayStart(window, state, *kind));
            EXPECT_TRUE(window.Log().back().starts_with("MessageBox Ok Cannot add '")) << window.Log().back();
            EXPECT_EQ(test::RowNames(window), (std::vector<std::string>{"good.bin", name})) << "left to choose again";

            // A job started without go!'s checks writes no list either.
            EXPECT_EQ(Create(*kind, dir.path(), "list", RLIM_INFINITY, {name}), WriteError) << "with " << name;
            EXPECT_FALSE(PathExists(dir.File("list")));
        }
        MainWindowState state;
        test::PinReading(state);
        state.CreationDirectory = dir.path();
        window.ClearRows();
        for (const std::string& row : taken) window.AddRow(row, IconPending);
        window.setup.rows = taken;
        const auto inputs = CreationMayStart(window, state, *kind);
        ASSERT_TRUE(inputs) << window.Log().back();
        test::RecordingSink sink;
        JobFrame frame(sink, state);
        EXPECT_EQ(frame.Run([&] { RunCreation(frame, *kind, *inputs); }).end, JobEnd::Completed);

        test::RecordingSink checker;
        JobFrame verify(checker, state);
        VerifyList(verify, *kind, dir.File("list"), ReadPurpose::MenuVerify);
        EXPECT_EQ(test::RowNames(checker), taken);
        EXPECT_TRUE(test::Contains(checker.Log(), "Summary OK:" + std::to_string(taken.size()) + "  BAD:0  N/A:0"));
    }
    // The message shows what the name holds.
    test::FakeWindow window;
    MainWindowState state;
    test::PinReading(state);
    window.setup.rows = {"Icon\r"};
    window.setup.edit1 = "list";
    EXPECT_FALSE(CreationMayStart(window, state, SfvKind));
    EXPECT_EQ(window.Log().back(),
              "MessageBox Ok Cannot add 'Icon\\r' to file: an SFV list has no way to write a line end in a name.");
}

// A file chosen and then removed, among disc images far too large to be read
// during the test (holes, which cost no disk): the job lets go of the
// images within a read of every worker, then the window shows the fatal
// message and ends the program. With three workers MD5 and M3U read them
// through the lanes, the others on plain workers; with one nothing is read
// before the fatal row.
TEST_P(CreationFaultsTest, TheFatalAnswerEndsTheProgramWithinAReadOfEveryWorker) {
    for (const ListKind* kind : ListKinds()) {
        test::TempDir dir;
        test::FakeWindow window;
        MainWindowState state;
        test::PinReading(state);
        test::ProgramEndCatcher catcher;
        CreationInputs inputs{.directory = dir.path(), .listName = kind->firstName};
        for (const char* name : {"a_gone.bin", "b.iso", "c.iso", "d.iso", "e.iso"}) {
            inputs.rows.push_back(name);
            window.AddRow(name, IconPending);
            if (name[0] != 'a') std::filesystem::resize_file(dir.Write(name, ""), std::uintmax_t{64} << 30);
        }

        const std::string fatal = "MessageBox Ok Error Reading File.. Exiting";
        const auto start = std::chrono::steady_clock::now();
        state.Busy = 1;
        EXPECT_THROW(RunWindowJob(window, state, [&](JobFrame& frame) { RunCreation(frame, *kind, inputs); }),
                     test::ProgramEnded)
            << kind->firstName;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << kind->firstName;
        EXPECT_EQ(window.Log().back(), fatal);
        EXPECT_EQ(test::NamesIn(dir.path()).size(), 4u) << "the images, and no list";
    }
}

}  // namespace
}  // namespace velmar
