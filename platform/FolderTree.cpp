#include "platform/FolderTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>

namespace velmar {
namespace {

enum class EntryKind { Other, File, Folder };

struct Entry {
    std::string name;
    EntryKind kind;
};

// A folder's entries are read this much at a time: a folder of thousands of
// files in one or two system calls, where readdir's buffer takes one per
// thousand or so.
constexpr std::size_t EntriesBuffer = 256 * 1024;

struct FdCloser {
    void operator()(const int* fd) const { ::close(*fd); }
};

EntryKind KindOf(int folderFd, const dirent64& entry) {
    struct stat st {};
    switch (entry.d_type) {
        case DT_REG: return EntryKind::File;
        case DT_DIR: return EntryKind::Folder;
        case DT_LNK: break;
        case DT_UNKNOWN:
            // The file system does not say: the entry itself is asked.
            if (::fstatat(folderFd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Other;
            if (S_ISREG(st.st_mode)) return EntryKind::File;
            if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
            if (!S_ISLNK(st.st_mode)) return EntryKind::Other;
            break;
        default: return EntryKind::Other;  // FIFOs, sockets, devices
    }
    // Only a link that ends at a regular file counts, as that file.
    return ::fstatat(folderFd, entry.d_name, &st, 0) == 0 && S_ISREG(st.st_mode) ? EntryKind::File : EntryKind::Other;
}

class Walk {
public:
    Walk(const std::string& root, const FolderTreeVisit& visit) : root_(root), visit_(visit) {}

    // The folder at `relative` ("" for the root), opened from `parentFd`,
    // covering [from, from + share) of the progress.
    bool Folder(int parentFd, const std::string& relative, const std::string& name, double from, double share) {
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
        // Below the root a folder is one only as an entry of its own, never
        // through a link put in its place since it was listed.
        const int fd = relative.empty() ? ::open(root_.empty() ? "/" : root_.c_str(), flags)
                                        : ::openat(parentFd, name.c_str(), flags | O_NOFOLLOW);
        // A folder whose names can be read but whose files cannot be reached
        // (read but no search permission) is no more use than one unread.
        if (fd < 0 || ::faccessat(fd, ".", X_OK, AT_EACCESS) != 0) {
            if (fd >= 0) ::close(fd);
            Unreadable(relative);
            return true;
        }
        const std::unique_ptr<const int, FdCloser> closer(&fd);
        std::vector<Entry> entries;
        for (;;) {
            const ssize_t n = ::getdents64(fd, buffer_.data(), buffer_.size());
            if (n <= 0) {
                if (n < 0) Unreadable(relative);
                break;
            }
            for (ssize_t at = 0; at < n;) {
                const auto* entry = reinterpret_cast<const dirent64*>(buffer_.data() + at);
                at += entry->d_reclen;
                const std::string_view entryName = entry->d_name;
                if (entryName == "." || entryName == "..") continue;
                const EntryKind kind = KindOf(fd, *entry);
                if (kind != EntryKind::Other) entries.push_back({std::string(entryName), kind});
            }
        }
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });

        const double each = entries.empty() ? 0 : share / static_cast<double>(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (visit_.stop && visit_.stop()) return false;
            const std::string path = relative.empty() ? entries[i].name : relative + "/" + entries[i].name;
            const double start = from + each * static_cast<double>(i);
            if (entries[i].kind == EntryKind::Folder) {
                if (!Folder(fd, path, entries[i].name, start, each)) return false;
            } else if (visit_.file) {
                visit_.file(path);
            }
            if (visit_.progress) visit_.progress(start + each);
        }
        return true;
    }

private:
    void Unreadable(const std::string& relative) {
        if (!visit_.unreadable) return;
        visit_.unreadable(relative.empty() ? (root_.empty() ? "/" : root_) : root_ + "/" + relative);
    }

    const std::string& root_;
    const FolderTreeVisit& visit_;
    // One buffer for the whole walk, every folder read into it in turn
    // (entries are copied out before a subfolder is read).
    std::vector<char> buffer_ = std::vector<char>(EntriesBuffer);
};

}  // namespace

bool WalkFolderTree(const std::string& folder, const FolderTreeVisit& visit) {
    return Walk(folder, visit).Folder(AT_FDCWD, "", "", 0, 1);
}

}  // namespace velmar
