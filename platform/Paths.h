// Paths as the lists use them, on POSIX. Names are byte strings throughout:
// nothing here converts between character sets.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// The list's folder: the path cut before its last '/'. "/x.sfv" gives ""
// (the root, to which ListedFilePath adds the '/'); a bare name gives ".".
std::string ListDirectoryOf(std::string_view listPath);

// `path` from the root: a relative one after the working folder, its
// leading "./" dropped ("./a" in /m is "/m/a"). As it stands when the
// working folder cannot be told.
std::string AbsolutePath(std::string_view path);

// The part after the last '/'; the whole path when it has none.
std::string BaseNameOf(std::string_view path);

// `name` is longer than `ending` and ends in it, ASCII letter case aside.
bool NameEndsWith(std::string_view name, std::string_view ending);

// The file a list names: its folder, '/', and the name, where a backslash in
// the name separates folders as it did on the system that wrote the list.
std::string ListedFilePath(std::string_view listDirectory, std::string_view listedName);
// Whether `path` is that file, told without making its path.
bool IsListedFilePath(std::string_view path, std::string_view listDirectory, std::string_view listedName);

// A file chosen in `folder` by its own name, as a creation lists it: on
// this system a backslash in a name is part of the name.
std::string ChosenFilePath(std::string_view folder, std::string_view name);

// Where `path` (the folder, '/', then the rest, as the two above make it)
// lies below `folder`, with '/' between folders, its "." and empty parts
// dropped and each ".." taking back the part before it: "./a//b/../c" below
// the folder is "a/c". Nothing when it is not below the folder or climbs
// out of it.
std::optional<std::string> PathBelowFolder(std::string_view folder, std::string_view path);

// A name that PathBelowFolder would give back as it stands: parts between
// '/'s, none of them empty, "." or "..", and no backslash.
bool IsPlainRelativePath(std::string_view name);

// The deepest folder that holds every one of `paths` (each a file's path
// as ListDirectoryOf reads it), and each path's name below it with '/'
// between folders: "/m/Disc1/a.bin" and "/m/Extras/b.bin" give "/m" and
// "Disc1/a.bin", "Extras/b.bin". Files in one folder give that folder and
// their bare names, as when only one folder was ever chosen from.
struct FilesBelowFolder {
    std::string folder;
    std::vector<std::string> names;
};
FilesBelowFolder CommonFolderOf(const std::vector<std::string>& paths);

// A folder resolved once, against which entries are tested.
class FolderBound {
public:
    explicit FolderBound(std::string_view folder);

    // True when the directory entry `path` names lies in the folder or below
    // it once every link and ".." on the way to it is resolved. The last
    // component is not followed: renaming a link renames the link. False
    // when the folder or the entry's parent cannot be resolved.
    bool Holds(std::string_view path) const;

private:
    std::string prefix_;  // the resolved folder with a final '/'; empty when unresolved
};

}  // namespace velmar
