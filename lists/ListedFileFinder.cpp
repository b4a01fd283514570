#include "lists/ListedFileFinder.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <utility>
#include <vector>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/TextEncoding.h"

namespace velmar {
namespace {

// The code pages lists made elsewhere most often use for their names, in
// the order they are tried.
const char* const LegacyCodePages[] = {"WINDOWS-1252", "CP437", "SHIFT_JIS"};

// Where a name other tools wrote whole may lie below the list's folder, in
// the order tried, each with the way it is told: a name in double quotes
// ("data1") without them; a path from a root or a drive ("/data1",
// "c:\data3", "D:\backup\Album\01.flac") by its parts after the root,
// then with each leading folder taken away in turn ("backup\Album\01.flac",
// "Album\01.flac", "01.flac"). A ".." part takes none of them out of the
// folder: such a candidate is skipped.
std::vector<std::pair<std::string, const char*>> NamesWrittenWhole(std::string_view name) {
    std::vector<std::pair<std::string, const char*>> names;
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        name = name.substr(1, name.size() - 2);
        names.emplace_back(name, "without its quotes");
    }
    const bool drive = name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
    if (drive) name.remove_prefix(2);
    if (!drive && (name.empty() || (name.front() != '/' && name.front() != '\\'))) return names;
    std::vector<std::string_view> parts;
    for (std::size_t begin = 0; begin <= name.size();) {
        const std::size_t end = std::min(name.find_first_of("/\\", begin), name.size());
        if (end > begin) parts.push_back(name.substr(begin, end - begin));
        begin = end + 1;
    }
    for (std::size_t first = 0; first < parts.size(); ++first) {
        std::string below;
        bool plain = true;
        for (std::size_t i = first; i < parts.size(); ++i) {
            plain = plain && parts[i] != ".." && parts[i] != ".";
            below += (i > first ? "/" : "") + std::string(parts[i]);
        }
        if (plain) names.emplace_back(std::move(below), "below the list's folder");
    }
    return names;
}

}  // namespace

ListedFileFinder::ListedFileFinder(const ListKind& kind, std::string listDirectory, std::string listPath)
    : retryWithoutLeadingBlanks_(kind.retryWithoutLeadingBlanks),
      // Made whole once here, not for every row's details: "" is the root.
      directory_(listDirectory.empty() ? std::move(listDirectory) : AbsolutePath(listDirectory)),
      listPath_(std::move(listPath)) {}

std::string ListedFileFinder::ListedPath(std::string_view name) const { return ListedFilePath(directory_, name); }

std::optional<std::string> ListedFileFinder::WithoutLeadingBlanks(std::string_view name) const {
    if (!retryWithoutLeadingBlanks_) return std::nullopt;
    // Lists written by hand often indent their names.
    std::size_t first = 0;
    while (first < name.size() && static_cast<unsigned char>(name[first]) <= 0x20) ++first;
    if (first == 0) return std::nullopt;
    std::string trimmed = ListedPath(name.substr(first));
    InputFile probe;
    if (!probe.Open(trimmed)) return std::nullopt;
    return trimmed;
}

std::optional<std::string> ListedFileFinder::Fallback(std::string_view name, bool missing) {
    if (auto trimmed = WithoutLeadingBlanks(name)) return trimmed;
    // A file that is there but cannot be read is that name's file all the same.
    if (!missing) return std::nullopt;
    if (auto found = FoundElsewhere(name, ListedPath(name))) return std::move(found->path);
    return std::nullopt;
}

bool ListedFileFinder::Finds(std::string_view name) { return PathExists(ListedPath(name)) || Fallback(name, true); }

std::optional<ListedFileFinder::Found> ListedFileFinder::FoundBy(std::string_view name) {
    if (auto trimmed = WithoutLeadingBlanks(name)) return Found{std::move(*trimmed), "without its leading blanks"};
    return FoundElsewhere(name, ListedPath(name));
}

std::string ListedFileFinder::PathOf(std::string_view name) {
    std::string listed = ListedPath(name);
    if (PathExists(listed)) return listed;
    if (auto found = FoundElsewhere(name, listed)) return std::move(found->path);
    return listed;
}

std::uint64_t ListedFileFinder::SizeOf(std::string_view name) {
    const std::string listed = ListedPath(name);
    if (const auto size = RegularFileSize(listed)) return *size;
    const auto found = FoundElsewhere(name, listed);
    return found ? RegularFileSize(found->path).value_or(0) : 0;
}

std::optional<ListedFileFinder::Found> ListedFileFinder::FoundElsewhere(std::string_view name,
                                                                       const std::string& listed) {
    if (name.find('\\') != std::string_view::npos) {
        std::string literal = ChosenFilePath(directory_, name);
        if (PathExists(literal) && !IsTheList(literal)) return Found{std::move(literal), "with its backslashes kept"};
    }
    if (auto other = InOtherCase(listed)) return Found{std::move(*other), "by letter case"};
    for (auto& [below, way] : NamesWrittenWhole(name)) {
        std::string path = ChosenFilePath(directory_, below);
        if (PathExists(path) && !IsTheList(path)) return Found{std::move(path), way};
    }
    return std::nullopt;
}

std::string ListedFileFinder::NameAsFound(std::string_view name) {
    if (IsAscii(name) || PathExists(ListedPath(name))) return std::string(name);
    return (IsValidUtf8(name) ? InOtherNormalization(name) : InCodePage(name)).value_or(std::string(name));
}

std::optional<std::string> ListedFileFinder::InCodePage(std::string_view name) {
    for (const char* codePage : LegacyCodePages) {
        std::optional<std::string> decoded = ToUtf8(name, codePage);
        if (!decoded) continue;
        const std::string path = ListedPath(*decoded);
        if (PathExists(path) && !IsTheList(path)) return decoded;
    }
    return std::nullopt;
}

std::optional<std::string> ListedFileFinder::InOtherNormalization(std::string_view name) {
    // Part by part, from the list's folder down: a folder may be stored in
    // the other form as well as the file in it.
    std::string found;  // the name, its separators as listed
    std::string path = directory_;
    for (std::size_t begin = 0;;) {
        const std::size_t end = std::min(name.find_first_of("/\\", begin), name.size());
        const std::string_view part = name.substr(begin, end - begin);
        std::string next = path + '/';
        if (PathExists(next + std::string(part))) {
            next += part;
            found += part;
        } else {
            // An ASCII name is in every normal form already.
            if (IsAscii(part)) return std::nullopt;
            const FolderIndex& index = IndexOf(path);
            const auto match = index.composed.find(Composed(part));
            if (match == index.composed.end() || match->second.empty()) return std::nullopt;
            next += match->second;
            found += match->second;
        }
        path = std::move(next);
        if (end == name.size()) break;
        found += name[end];
        begin = end + 1;
    }
    if (IsTheList(path)) return std::nullopt;
    return found;
}

std::optional<std::string> ListedFileFinder::InOtherCase(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view folder = std::string_view(path).substr(0, slash);
    const FolderIndex& index = IndexOf(folder);
    const auto match = index.folded.find(CaseFolded(std::string_view(path).substr(slash + 1)));
    if (match == index.folded.end() || match->second.empty()) return std::nullopt;
    std::string found = path.substr(0, slash + 1) + match->second;
    if (IsTheList(found)) return std::nullopt;
    return found;
}

const ListedFileFinder::FolderIndex& ListedFileFinder::IndexOf(std::string_view folder) {
    {
        std::shared_lock lock(mutex_);
        if (const auto known = folders_.find(folder); known != folders_.end()) return *known->second;
    }
    // Read under the lock: a worker that needs the same folder waits for
    // it instead of reading it a second time.
    std::unique_lock lock(mutex_);
    auto [known, added] = folders_.try_emplace(std::string(folder));
    if (!added) return *known->second;
    auto index = std::make_unique<FolderIndex>();
    // Two names alike in a form: neither is taken.
    const auto add = [](std::unordered_map<std::string, std::string>& names, std::string form, std::string_view name) {
        const auto [entry, fresh] = names.try_emplace(std::move(form), name);
        if (!fresh) entry->second.clear();
    };
    if (DIR* dir = ::opendir(folder.empty() ? "/" : known->first.c_str())) {
        while (const dirent* item = ::readdir(dir)) {
            const std::string_view itemName = item->d_name;
            if (itemName == "." || itemName == "..") continue;
            add(index->folded, CaseFolded(itemName), itemName);
            if (!IsAscii(itemName)) add(index->composed, Composed(itemName), itemName);
        }
        ::closedir(dir);
    }
    known->second = std::move(index);
    return *known->second;
}

bool ListedFileFinder::IsTheList(const std::string& path) const {
    struct stat candidate, list;
    return ::stat(path.c_str(), &candidate) == 0 && ::stat(listPath_.c_str(), &list) == 0 &&
           candidate.st_dev == list.st_dev && candidate.st_ino == list.st_ino;
}

}  // namespace velmar
