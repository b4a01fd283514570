#include "platform/Files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/PageCache.h"

namespace velmar {

namespace {

std::atomic<ReadFunction> readFunction{nullptr};

ssize_t CallRead(int fd, void* buffer, std::size_t count, off_t offset = -1) {
    ReadFunction f = readFunction.load(std::memory_order_relaxed);
    if (f) return f(fd, buffer, count, offset);
    return offset < 0 ? ::read(fd, buffer, count) : ::pread(fd, buffer, count, offset);
}

// Whether the device's file system is one of the kernel's own on a disk or
// in memory, where a file's size at open is what its reads find and the
// file ends there, and O_NONBLOCK means nothing to a regular file. A FUSE
// or network file system may know better than the size it gave, and hands
// the open's flags to its server. Asked once per device.
bool KernelFileSystem(int fd, dev_t device) {
    static std::mutex mutex;
    static std::vector<std::pair<dev_t, bool>> known;
    std::lock_guard lock(mutex);
    for (const auto& [each, kernel] : known)
        if (each == device) return kernel;
    struct statfs fs {};
    bool kernel = false;
    if (::fstatfs(fd, &fs) == 0) {
        switch (static_cast<unsigned long>(fs.f_type)) {
            case EXT4_SUPER_MAGIC:
            case XFS_SUPER_MAGIC:
            case BTRFS_SUPER_MAGIC:
            case F2FS_SUPER_MAGIC:
            case OVERLAYFS_SUPER_MAGIC:
            case TMPFS_MAGIC: kernel = true; break;
            default: break;
        }
    }
    known.emplace_back(device, kernel);
    return kernel;
}

}  // namespace

ReadFunction SetReadFunctionForTesting(ReadFunction function) {
    return readFunction.exchange(function);
}

std::string SystemErrorText(int error) {
    char text[256];
    // The GNU strerror_r: its answer may be a static text rather than `text`.
    return ::strerror_r(error, text, sizeof text);
}

InputFile::~InputFile() { Close(); }

InputFile::InputFile(InputFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), missing_(other.missing_), openError_(other.openError_),
      readError_(other.readError_), openedSize_(other.openedSize_),
      bytesRead_(other.bytesRead_), sizeIsEnd_(other.sizeIsEnd_), ended_(other.ended_) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        missing_ = other.missing_;
        openError_ = other.openError_;
        readError_ = other.readError_;
        openedSize_ = other.openedSize_;
        bytesRead_ = other.bytesRead_;
        sizeIsEnd_ = other.sizeIsEnd_;
        ended_ = other.ended_;
    }
    return *this;
}

bool InputFile::Open(const std::string& path) {
    Close();
    // O_NONBLOCK keeps the open itself from waiting on a FIFO without a
    // writer; the file is checked before anything is read from it.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    missing_ = fd < 0 && (errno == ENOENT || errno == ENOTDIR);
    openError_ = fd < 0 ? errno : 0;
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        openError_ = -1;
        ::close(fd);
        return false;
    }
    // Elsewhere back to blocking reads; of the flags F_SETFL can change, the
    // open set none but O_NONBLOCK, so there is nothing to read back first.
    // A tree of small files saves one system call in six per file on each
    // of the two: this one, and the read that finds the end.
    sizeIsEnd_ = KernelFileSystem(fd, st.st_dev);
    if (!sizeIsEnd_) ::fcntl(fd, F_SETFL, 0);
    fd_ = fd;
    openedSize_ = static_cast<std::uint64_t>(st.st_size);
    bytesRead_ = 0;
    ended_ = false;
    return true;
}

Announcement AnnounceSmallFile(const std::string& path, std::uint64_t limit, bool nothingCached) {
    InputFile file;
    if (!file.Open(path) || file.OpenedSize() > limit) return {};
    const Announcement announced{file.OpenedSize(), file.OpenedSize() > 0 && (nothingCached || file.UncachedBytes() > 0)};
    if (!announced.fromDisk) return announced;
    // The kernel reads no more than one read-ahead window for each request,
    // so a larger file is asked for window by window, front to back.
    constexpr std::uint64_t Window = 131072;
    for (std::uint64_t offset = 0; offset < file.OpenedSize(); offset += Window)
        ::posix_fadvise(file.Descriptor(), static_cast<off_t>(offset), Window, POSIX_FADV_WILLNEED);
    return announced;
}

void InputFile::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void InputFile::AdviseSequential() {
    if (fd_ >= 0) ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

ssize_t InputFile::Read(void* buffer, std::size_t count) {
    if (ended_) return 0;
    for (;;) {
        ssize_t n = CallRead(fd_, buffer, count);
        if (n >= 0) {
            bytesRead_ += static_cast<std::uint64_t>(n);
            ended_ = sizeIsEnd_ && n > 0 && static_cast<std::size_t>(n) < count && bytesRead_ == openedSize_;
            return n;
        }
        if (errno != EINTR) {
            readError_ = errno;
            return -1;
        }
    }
}

ssize_t InputFile::ReadAt(void* buffer, std::size_t count, std::uint64_t offset, int& error) const {
    for (;;) {
        const ssize_t n = CallRead(fd_, buffer, count, static_cast<off_t>(offset));
        if (n >= 0) return n;
        if (errno != EINTR) {
            error = errno;
            return -1;
        }
    }
}

std::size_t InputFile::ReadFull(void* buffer, std::size_t count, bool& failed) {
    auto* p = static_cast<char*>(buffer);
    std::size_t done = 0;
    failed = false;
    while (done < count) {
        ssize_t n = Read(p + done, count - done);
        if (n < 0) {
            failed = true;
            break;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::int64_t InputFile::Size() const {
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
    return static_cast<std::int64_t>(st.st_size);
}

std::uint64_t InputFile::UncachedBytes() const { return fd_ < 0 ? 0 : velmar::UncachedBytes(fd_, openedSize_); }

std::time_t InputFile::CreationTime() const {
    if (fd_ < 0) return 0;
    struct statx sx;
    if (::statx(fd_, "", AT_EMPTY_PATH, STATX_BTIME | STATX_MTIME, &sx) == 0) {
        if (sx.stx_mask & STATX_BTIME) return static_cast<std::time_t>(sx.stx_btime.tv_sec);
        if (sx.stx_mask & STATX_MTIME) return static_cast<std::time_t>(sx.stx_mtime.tv_sec);
    }
    struct stat st;
    if (::fstat(fd_, &st) == 0) return st.st_mtime;
    return 0;
}

std::optional<std::uint64_t> RegularFileSize(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
}

std::optional<std::int64_t> ModifiedAt(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

bool PathExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // The file system cannot rename without replacing: a hard link fails
    // when the target exists, which is the guarantee we need.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        errno = error;
        return false;
    }
    return true;
}

}  // namespace velmar
