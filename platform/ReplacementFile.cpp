#include "platform/ReplacementFile.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/Paths.h"

namespace velmar {

namespace {

// ".<name>.<8 random letters>" beside the target: hidden while it is
// written, and short enough for any name the target may have.
constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::size_t NameBytes = 200;
constexpr std::size_t RandomLetters = 8;

// ".<name>." for a target named `name`.
std::string TemporaryStem(std::string_view name) { return "." + std::string(name.substr(0, NameBytes)) + "."; }

std::string TemporaryName(const std::string& target) {
    const auto slash = target.rfind('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    std::string name = target.substr(0, start) + TemporaryStem(std::string_view(target).substr(start));
    // Random where the kernel gives randomness; the counter alone still
    // makes each attempt a new name, and O_EXCL makes a taken one harmless.
    static std::atomic<std::uint64_t> attempts{0};
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) bits = 0;
    bits ^= (attempts++ + static_cast<std::uint64_t>(::getpid())) * 0x9E3779B97F4A7C15u;
    for (std::size_t i = 0; i < RandomLetters; ++i, bits /= sizeof Letters - 1)
        name += Letters[bits % (sizeof Letters - 1)];
    return name;
}

// Whether the process may act as the owner of any file (CAP_FOWNER), which
// lifts the sticky folder's rule. When it cannot tell, it says yes and
// leaves the judgement to the rename.
bool MayActAsAnyOwner() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, data) != 0) return true;
    return (data[CAP_FOWNER / 32].effective & (1u << (CAP_FOWNER % 32))) != 0;
}

// In a folder with the sticky bit (/tmp and its like) only the owner of a
// file or of the folder may rename over it: another user's target would be
// refused only at Commit, after all the work. The rule as the kernel
// applies it to the entry itself, a link not followed.
bool StickyFolderRefusesRename(const std::string& target) {
    struct stat entry {}, folder {};
    const std::string folderPath = ListDirectoryOf(target);
    if (::lstat(target.c_str(), &entry) != 0 || ::stat(folderPath.empty() ? "/" : folderPath.c_str(), &folder) != 0)
        return false;
    const uid_t self = ::geteuid();
    if (!(folder.st_mode & S_ISVTX) || entry.st_uid == self || folder.st_uid == self) return false;
    return !MayActAsAnyOwner();
}

}  // namespace

bool IsReplacementNameOf(std::string_view name, std::string_view targetName) {
    const std::string stem = TemporaryStem(targetName);
    if (name.size() != stem.size() + RandomLetters || !name.starts_with(stem)) return false;
    const std::string_view letters(Letters, sizeof Letters - 1);
    return name.substr(stem.size()).find_first_not_of(letters) == std::string_view::npos;
}

bool OverwritableInPlace(const std::string& target) {
    // Opened for writing without a change, as the target would have been
    // overwritten in place.
    const int existing = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (existing < 0) return errno == ENOENT;
    ::close(existing);
    return true;
}

bool ReplacementFile::Create(const std::string& target, unsigned mode) {
    Discard();
    if (StickyFolderRefusesRename(target)) return false;
    struct stat old {};
    const bool keepMode = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporary_ = TemporaryName(target);
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        temporary_.clear();
        return false;
    }
    // A list kept private stays private once replaced.
    if (keepMode) (void)::fchmod(fd_, old.st_mode & 0777);
    target_ = target;
    written_ = reserved_ = 0;
    return true;
}

bool ReplacementFile::Reserve(std::uint64_t bytes) {
    if (fd_ < 0) return false;
    if (bytes == 0) return true;
    // A size limit set on the process (ulimit -f) is no disk's, and no
    // reservation sees it.
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && bytes > limit.rlim_cur)
        return false;
    // The file's size stays what is written; Commit gives back what the
    // text did not take.
    if (::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes)) == 0) {
        reserved_ = bytes;
        return true;
    }
    return errno != ENOSPC && errno != EDQUOT && errno != EFBIG;
}

bool ReplacementFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = fd_ < 0 ? -1 : ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (fd_ >= 0 && errno == EINTR) continue;
            return false;
        }
        written_ += static_cast<std::uint64_t>(n);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool ReplacementFile::WriteWhole(const std::string& target, std::string_view text, unsigned mode) {
    ReplacementFile file;
    return file.Create(target, mode) && file.Write(text) && file.Commit();
}

bool ReplacementFile::Commit() {
    if (fd_ < 0) return false;
    // The data reaches the disk before the name does, so that a crash never
    // leaves an empty file in the target's place. File systems that cannot
    // sync say EINVAL.
    bool ok = reserved_ <= written_ || ::ftruncate(fd_, static_cast<off_t>(written_)) == 0;
    ok = (::fsync(fd_) == 0 || errno == EINVAL) && ok;
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    if (ok && ::rename(temporary_.c_str(), target_.c_str()) == 0) {
        temporary_.clear();
        return true;
    }
    Discard();
    return false;
}

void ReplacementFile::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

}  // namespace velmar
