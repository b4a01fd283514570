#include "platform/FolderTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <future>
#include <optional>
#include <cerrno>
#include <memory>
#include <vector>

#include "platform/TaskPool.h"

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

// A folder's entries in name order, read on whichever thread got to it
// first. Its descriptor stays open while its sub-folders are opened from it.
struct Listing {
    int fd = -1;
    bool unreadable = false;
    std::vector<Entry> entries;

    Listing() = default;
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;
    ~Listing() {
        if (fd >= 0) ::close(fd);
    }
};

// Opens the folder `name` of `parentFd` ("" for `root` itself) and reads
// its entries into `buffer`.
std::shared_ptr<Listing> ReadListing(const std::string& root, int parentFd, const std::string& name,
                                     std::vector<char>& buffer) {
    auto listing = std::make_shared<Listing>();
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    // Below the root a folder is one only as an entry of its own, never
    // through a link put in its place since it was listed.
    const int fd = name.empty() ? ::open(root.empty() ? "/" : root.c_str(), flags)
                                : ::openat(parentFd, name.c_str(), flags | O_NOFOLLOW);
    // A folder whose names can be read but whose files cannot be reached
    // (read but no search permission) is no more use than one unread.
    if (fd < 0 || ::faccessat(fd, ".", X_OK, AT_EACCESS) != 0) {
        if (fd >= 0) ::close(fd);
        listing->unreadable = true;
        return listing;
    }
    listing->fd = fd;
    for (;;) {
        const ssize_t n = ::getdents64(fd, buffer.data(), buffer.size());
        if (n <= 0) {
            listing->unreadable = n < 0;
            break;
        }
        for (ssize_t at = 0; at < n;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer.data() + at);
            at += entry->d_reclen;
            const std::string_view entryName = entry->d_name;
            if (entryName == "." || entryName == "..") continue;
            const EntryKind kind = KindOf(fd, *entry);
            if (kind != EntryKind::Other) listing->entries.push_back({std::string(entryName), kind});
        }
    }
    std::sort(listing->entries.begin(), listing->entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return listing;
}

// The walk reads the sub-folders after the one it enters on a thread of
// its own, up to this many waiting: on storage that takes a moment for each
// folder, the next ones are on their way while this one's files are handed
// on.
constexpr std::size_t FoldersAhead = 8;

using ListingAhead = std::shared_future<std::shared_ptr<Listing>>;

class Walk {
public:
    Walk(const std::string& root, const FolderTreeVisit& visit, TaskPool* pool)
        : root_(root), visit_(visit), pool_(pool) {}

    // The folder at `relative` ("" for the root), listed in `listing`,
    // covering [from, from + share) of the progress.
    bool Folder(const std::shared_ptr<Listing>& listing, const std::string& relative, double from, double share) {
        if (listing->unreadable) Unreadable(relative);
        const std::vector<Entry>& entries = listing->entries;
        // The sub-folders' listings asked for ahead, by entry index.
        std::deque<std::pair<std::size_t, ListingAhead>> ahead;
        std::size_t asked = 0;
        const auto askAhead = [&](std::size_t from) {
            asked = std::max(asked, from);
            for (; asked < entries.size() && ahead.size() < FoldersAhead; ++asked) {
                if (entries[asked].kind != EntryKind::Folder) continue;
                auto future = ListAhead(listing, entries[asked].name);
                if (!future) break;  // the helper is busy: asked again at the next folder
                ahead.emplace_back(asked, std::move(*future));
            }
        };

        const double each = entries.empty() ? 0 : share / static_cast<double>(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (visit_.stop && visit_.stop()) return false;
            const std::string path = relative.empty() ? entries[i].name : relative + "/" + entries[i].name;
            const double start = from + each * static_cast<double>(i);
            if (entries[i].kind == EntryKind::Folder) {
                std::shared_ptr<Listing> sub;
                if (!ahead.empty() && ahead.front().first == i) {
                    sub = ahead.front().second.get();
                    ahead.pop_front();
                } else {
                    sub = ReadListing(root_, listing->fd, entries[i].name, buffer_);
                }
                if (pool_) askAhead(i + 1);
                if (!Folder(sub, path, start, each)) return false;
            } else if (visit_.file) {
                visit_.file(path);
            }
            if (visit_.progress) visit_.progress(start + each);
        }
        return true;
    }

private:
    // Nothing when the pool's thread is busy.
    std::optional<ListingAhead> ListAhead(const std::shared_ptr<Listing>& parent, const std::string& name) {
        auto promise = std::make_shared<std::promise<std::shared_ptr<Listing>>>();
        ListingAhead future = promise->get_future().share();
        if (!pool_->TryRun([promise, parent, name, root = root_] {
                thread_local std::vector<char> buffer(EntriesBuffer);
                promise->set_value(ReadListing(root, parent->fd, name, buffer));
            }))
            return std::nullopt;
        return future;
    }

    void Unreadable(const std::string& relative) {
        if (!visit_.unreadable) return;
        visit_.unreadable(relative.empty() ? (root_.empty() ? "/" : root_) : root_ + "/" + relative);
    }

    const std::string& root_;
    const FolderTreeVisit& visit_;
    TaskPool* pool_;
    // For the folders this thread reads itself, each in turn (entries are
    // copied out before a sub-folder is read).
    std::vector<char> buffer_ = std::vector<char>(EntriesBuffer);
};

}  // namespace

bool WalkFolderTree(const std::string& folder, const FolderTreeVisit& visit) {
    std::optional<TaskPool> pool;
    if (visit.foldersAhead) pool.emplace(1);
    std::vector<char> buffer(EntriesBuffer);
    Walk walk(folder, visit, pool ? &*pool : nullptr);
    return walk.Folder(ReadListing(folder, AT_FDCWD, "", buffer), "", 0, 1);
}

}  // namespace velmar
