#include "platform/BatchReader.h"

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "platform/BatchedReadSupport.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace velmar {
namespace {

using test::TempDir;

constexpr std::size_t Capacity = 8192;

// Bytes that differ from file to file of other lengths and at every place.
std::string Pattern(std::size_t length) {
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i * 7 + length);
    return bytes;
}

std::string AsText(std::span<const std::uint8_t> data) { return {data.begin(), data.end()}; }

std::size_t OpenDescriptors() {
    const std::filesystem::directory_iterator fds("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(fds), end(fds)));
}

// The files held in the direct-descriptor tables of this process's rings,
// as their fdinfo lists them: one line each, below "UserFiles:".
std::size_t FilesInRingTables() {
    std::size_t held = 0;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(fd.path(), error) != "anon_inode:[io_uring]") continue;
        std::ifstream info("/proc/self/fdinfo/" + fd.path().filename().string());
        bool inTable = false;
        for (std::string line; std::getline(info, line);) {
            if (line.starts_with("UserFiles:") || line.starts_with("UserBufs:")) inTable = line.starts_with("UserFiles:");
            else if (inTable) ++held;
        }
    }
    return held;
}

TEST(BatchReader, TellsWhatEachFileOfABatchIs) {
    if (!BatchedReadsUsable()) GTEST_SKIP() << "io_uring cannot be used here";
    TempDir dir;
    std::vector<int> heldOpen;  // a FIFO's silent writer, until the batch is done
    const auto nothing = [](const std::string&) {};
    const auto fifo = [](const std::string& path) { ::mkfifo(path.c_str(), 0600); };
    const bool root = ::geteuid() == 0;
    struct Case {
        const char* name;        // in the folder
        std::size_t length = 0;  // of a regular file, written unless `make` makes something else
        std::function<void(const std::string& path)> make = nullptr;
        bool regular = true;
        bool whole = true;  // if regular
        int openError = 0;
        bool missing = false;
    };
    const Case cases[] = {
        {.name = "empty"},
        {.name = "one byte", .length = 1},
        {.name = "4 KiB", .length = 4096},
        {.name = "one short of the capacity", .length = Capacity - 1},
        {.name = "the capacity: its end unseen", .length = Capacity, .whole = false},
        {.name = "larger", .length = 3 * Capacity + 5, .whole = false},
        {.name = "missing", .make = nothing, .regular = false, .openError = ENOENT, .missing = true},
        // Through the empty file above.
        {.name = "empty/below", .make = nothing, .regular = false, .openError = ENOTDIR, .missing = true},
        {.name = "folder", .make = [](const std::string& path) { std::filesystem::create_directory(path); },
         .regular = false},
        {.name = "FIFO without a writer", .make = fifo, .regular = false},
        {.name = "FIFO with a silent writer",
         .make = [&](const std::string& path) { fifo(path), heldOpen.push_back(::open(path.c_str(), O_RDWR)); },
         .regular = false},
        // Found by statx, refused by the open.
        {.name = "socket",
         .make = [](const std::string& path) {
             sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
             path.copy(address.sun_path, sizeof address.sun_path - 1);
             const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
             (void)!::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
             ::close(socket);
         },
         .regular = false, .openError = ENXIO},
        // Root reads it all the same, as it would the plain way.
        {.name = "unreadable", .length = 10,
         .make = [](const std::string& path) { std::ofstream(path) << Pattern(10), ::chmod(path.c_str(), 0); },
         .regular = root, .openError = root ? 0 : EACCES},
    };
    std::vector<std::string> paths;
    for (const Case& each : cases) {
        paths.push_back(dir.File(each.name));
        each.make ? each.make(paths.back()) : (void)dir.Write(each.name, Pattern(each.length));
    }

    const auto reader = BatchReader::Make({.files = std::size(cases), .capacity = Capacity});
    ASSERT_TRUE(reader);
    const auto found = reader->Read(paths);
    ASSERT_EQ(found.size(), std::size(cases));
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Case& expected = cases[i];
        const BatchedFile& file = found[i];
        const std::size_t read = expected.regular ? std::min(expected.length, Capacity) : 0;
        EXPECT_EQ(std::tuple(file.openError, file.missing, file.regular, file.whole, file.size, file.bytesRead),
                  std::tuple(expected.openError, expected.missing, expected.regular,
                             expected.regular && expected.whole, expected.regular ? expected.length : 0, read))
            << expected.name;
        EXPECT_EQ(AsText(file.data), Pattern(expected.length).substr(0, read)) << expected.name;
    }
    EXPECT_EQ(FilesInRingTables(), 0u) << "a cancelled read's file stays open";
    for (const int fd : heldOpen) ::close(fd);
    EXPECT_EQ(BatchReader::Make({}, Batching::Off), nullptr);
}

// More files than a batch takes, read over and over by two workers, each
// with its reader. In memory, where the other test's files are likely on a
// disk: tmpfs answers some reads differently.
TEST(BatchReader, ReadsBatchAfterBatchAndLeavesNothingOpen) {
    if (!BatchedReadsUsable()) GTEST_SKIP() << "io_uring cannot be used here";
    TempDir dir(std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path());
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < 64; ++i) paths.push_back(dir.Write(std::to_string(i), Pattern(i * 97 % Capacity)));
    const std::size_t descriptors = OpenDescriptors();
    {
        std::unique_ptr<BatchReader> readers[2];
        std::vector<std::jthread> workers;
        for (auto& reader : readers)
            workers.emplace_back([&reader, &paths] {
                reader = BatchReader::Make({.files = 24, .capacity = Capacity});
                ASSERT_TRUE(reader);
                for (int pass = 0; pass < 10; ++pass)
                    for (std::size_t next = 0; next < paths.size();) {
                        const auto found = reader->Read(std::span(paths).subspan(next));
                        ASSERT_EQ(found.size(), std::min<std::size_t>(24, paths.size() - next));
                        for (const BatchedFile& file : found) {
                            ASSERT_TRUE(file.whole) << paths[next];
                            ASSERT_EQ(AsText(file.data), Pattern(next * 97 % Capacity));
                            ++next;
                        }
                    }
            });
        workers.clear();
        EXPECT_EQ(FilesInRingTables(), 0u);
    }
    EXPECT_EQ(OpenDescriptors(), descriptors);
}

// A child under a seccomp filter aimed at io_uring_setup: refused, or
// killed for asking, which the probe must survive.
TEST(BatchedReadSupport, SeesIoUringBarredBySeccomp) {
    for (const std::uint32_t action : {SECCOMP_RET_ERRNO | EPERM, SECCOMP_RET_KILL_PROCESS}) {
        const std::string said = test::InChild([action] {
            sock_filter filter[] = {
                BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_io_uring_setup, 0, 1),
                BPF_STMT(BPF_RET | BPF_K, action),
                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
            };
            const sock_fprog program{.len = std::size(filter), .filter = filter};
            if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
                ::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) != 0)
                return std::string("skip: no seccomp filter");
            return std::string(ProbeBatchedReads() ? "usable" : "barred");
        });
        SKIP_IF_CHILD_SAID(said);
        EXPECT_EQ(said, "barred") << "seccomp action " << std::hex << action;
    }
}

}  // namespace
}  // namespace velmar
