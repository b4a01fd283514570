// One of the Python FUSE file systems in tests/support mounted over a
// backing folder for the life of the object. Not Mounted() where /dev/fuse
// or python3-fusepy is missing; a test skips then.
//
// A file system that stops answering would leave every read of its files
// waiting: the daemon is killed once the object outlives its deadline, so
// that such reads fail and the test ends instead of hanging the suite.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace velmar::test {

class FuseMount {
public:
    // Runs tests/support/`script` BACKING MOUNT_POINT `options`...
    FuseMount(const std::string& script, const std::string& backing, const std::string& mountPoint,
              const std::vector<std::string>& options = {},
              std::chrono::seconds deadline = std::chrono::seconds(240))
        : mountPoint_(mountPoint) {
        ::mkdir(mountPoint.c_str(), 0755);
        if (::access("/dev/fuse", R_OK | W_OK) != 0) return;
        const std::string program = VELMAR_TEST_SUPPORT_DIR "/" + script;
        std::vector<const char*> argv = {"/usr/bin/python3", program.c_str(), backing.c_str(), mountPoint.c_str()};
        for (const std::string& option : options) argv.push_back(option.c_str());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, argv[0], nullptr, nullptr, const_cast<char**>(argv.data()), environ) != 0) {
            pid_ = -1;
            return;
        }
        watchdog_ = std::thread([this, deadline] {
            std::unique_lock lock(mutex_);
            if (!ended_.wait_for(lock, deadline, [this] { return unmounting_; })) ::kill(pid_, SIGKILL);
        });
        struct stat parent{};
        ::stat((mountPoint + "/..").c_str(), &parent);
        for (int i = 0; i < 2000 && !mounted_; ++i) {
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                reaped_ = true;
                return;
            }
            struct stat top{};
            mounted_ = ::stat(mountPoint.c_str(), &top) == 0 && top.st_dev != parent.st_dev;
            if (!mounted_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~FuseMount() { Unmount(); }
    FuseMount(const FuseMount&) = delete;
    FuseMount& operator=(const FuseMount&) = delete;

    bool Mounted() const { return mounted_; }

    // Unmounts and waits (a while at most) for the file system to end, so
    // that whatever it writes on its way out is there. Safe to call twice.
    void Unmount() {
        if (pid_ <= 0) return;
        {
            std::lock_guard lock(mutex_);
            unmounting_ = true;
        }
        ended_.notify_all();
        watchdog_.join();
        if (!reaped_ && ::umount2(mountPoint_.c_str(), MNT_DETACH) != 0) ::kill(pid_, SIGTERM);
        for (int i = 0; i < 3000 && !reaped_; ++i) {
            reaped_ = ::waitpid(pid_, nullptr, WNOHANG) == pid_;
            if (!reaped_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
        mounted_ = false;
    }

private:
    std::string mountPoint_;
    pid_t pid_ = -1;
    bool mounted_ = false;
    bool reaped_ = false;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool unmounting_ = false;
    std::thread watchdog_;
};

}  // namespace velmar::test
