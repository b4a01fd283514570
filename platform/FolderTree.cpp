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

struct Entry {
    std::string name;
    bool folder;  // else a file
};

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using OpenFolder = std::unique_ptr<DIR, DirCloser>;

// What an entry is to the walk: a folder, a file, or nothing (false).
bool Classify(int folderFd, const dirent& entry, bool& folder) {
    unsigned char type = entry.d_type;
    struct stat st {};
    if (type == DT_UNKNOWN) {
        if (::fstatat(folderFd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
        type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : S_ISLNK(st.st_mode) ? DT_LNK : DT_FIFO;
    }
    if (type == DT_LNK) {
        // Only a link that ends at a regular file counts, as that file.
        folder = false;
        return ::fstatat(folderFd, entry.d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
    }
    folder = type == DT_DIR;
    return type == DT_DIR || type == DT_REG;
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
        OpenFolder dir(fd < 0 ? nullptr : ::fdopendir(fd));
        if (!dir) {
            if (fd >= 0) ::close(fd);
            Unreadable(relative);
            return true;
        }
        std::vector<Entry> entries;
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir.get());
            if (!entry) {
                if (errno != 0) Unreadable(relative);
                break;
            }
            const std::string_view entryName = entry->d_name;
            if (entryName == "." || entryName == "..") continue;
            bool folder = false;
            if (Classify(::dirfd(dir.get()), *entry, folder)) entries.push_back({std::string(entryName), folder});
        }
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });

        const double each = entries.empty() ? 0 : share / static_cast<double>(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (visit_.stop && visit_.stop()) return false;
            const std::string path = relative.empty() ? entries[i].name : relative + "/" + entries[i].name;
            const double start = from + each * static_cast<double>(i);
            if (entries[i].folder) {
                if (!Folder(::dirfd(dir.get()), path, entries[i].name, start, each)) return false;
            } else if (visit_.file) {
                visit_.file(path);
            }
            if (visit_.progress) visit_.progress(start + each);
        }
        return true;
    }

private:
    void Unreadable(const std::string& relative) {
        if (visit_.unreadable) visit_.unreadable(relative.empty() ? (root_.empty() ? "/" : root_) : root_ + "/" + relative);
    }

    const std::string& root_;
    const FolderTreeVisit& visit_;
};

}  // namespace

bool WalkFolderTree(const std::string& folder, const FolderTreeVisit& visit) {
    return Walk(folder, visit).Folder(AT_FDCWD, "", "", 0, 1);
}

}  // namespace velmar
