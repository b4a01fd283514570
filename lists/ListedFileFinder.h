// Where a listed name leads on this machine. A name that names a file as
// it stands is read as it stands, exactly as it always was; only a name that
// names nothing is tried in the ways lists made elsewhere need:
//  - without its leading blanks, where the kind says so;
//  - with its backslashes taken as part of the name (md5sum's escaped names
//    come from a system where a backslash separates nothing);
//  - read in a legacy code page (Windows-1252, DOS 437, Shift_JIS) when it
//    is no UTF-8, or, when it is, in the other Unicode normalization (a
//    list made on macOS names its files decomposed, NFD; most other systems
//    store them composed, NFC): the one file of each folder on the way
//    whose name is the same text. Done once, as the list is read, so that
//    its row shows the name as it was found;
//  - in letter case: the one file in the same folder whose name differs
//    from it only in case (two such files find nothing), as Unicode folds
//    case, in whichever normalization;
//  - as other tools wrote it whole: without its double quotes, and a path
//    from a root or a drive letter looked for below the list's folder, with
//    each leading folder taken away in turn, never outside that folder.
// No way but the first finds the list file itself. Each folder is read at
// most once per finder, that is, once per job.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lists/ListKind.h"

namespace velmar {

class ListedFileFinder {
public:
    ListedFileFinder(const ListKind& kind, std::string listDirectory, std::string listPath);

    // The file the name leads to as listed: the list's folder + the name.
    std::string ListedPath(std::string_view name) const;
    const std::string& Directory() const { return directory_; }
    const std::string& ListPath() const { return listPath_; }
    // When the listed file cannot be opened (`missing` when nothing is
    // there): another file the name leads to, or nothing. Safe to call from
    // several workers at once.
    std::optional<std::string> Fallback(std::string_view name, bool missing);
    // Something is there for the name: the listed file, or one a fallback
    // finds when it is missing.
    bool Finds(std::string_view name);
    // The file the name leads to, for its size and, when its row is bad,
    // its rename: the listed file, or where a later way found it. (A name
    // found only without its leading blanks renames nothing, as ever.)
    std::string PathOf(std::string_view name);
    // Where a fallback leads the name, and by which way, as the end of
    // "found as NAME ...": "without its leading blanks", "with its
    // backslashes kept", "by letter case"; nothing when none does.
    struct Found {
        std::string path;
        const char* way;
    };
    std::optional<Found> FoundBy(std::string_view name);
    // The size in bytes of the file PathOf names, 0 when there is none; one
    // look at the listed file when it is there.
    std::uint64_t SizeOf(std::string_view name);
    // A name that is no ASCII and leads nowhere, as found: for one that is
    // no UTF-8, as the first legacy code page that decodes it into the name
    // of an existing file reads it; for one that is, with each of its parts
    // that names nothing replaced by the one name in that folder that is the
    // same text in another normalization. Else the name as listed.
    std::string NameAsFound(std::string_view name);

private:
    // A folder's names by the forms they are looked up in, each with the one
    // name of the folder in that form, or "" when several are; never changed
    // once read, so workers look into it without a lock.
    struct FolderIndex {
        std::unordered_map<std::string, std::string> folded;    // by CaseFolded
        std::unordered_map<std::string, std::string> composed;  // by Composed, the names that are no ASCII
    };

    std::optional<std::string> InCodePage(std::string_view name);
    std::optional<std::string> InOtherNormalization(std::string_view name);
    std::optional<Found> FoundElsewhere(std::string_view name, const std::string& listed);
    // The listed file without its name's leading blanks, where the kind
    // allows it and one is there.
    std::optional<std::string> WithoutLeadingBlanks(std::string_view name) const;
    std::optional<std::string> InOtherCase(const std::string& path);
    const FolderIndex& IndexOf(std::string_view folder);
    bool IsTheList(const std::string& path) const;

    const bool retryWithoutLeadingBlanks_;
    const std::string directory_;
    const std::string listPath_;
    // Looked up by a part of a path, without making a string of it.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    std::shared_mutex mutex_;
    std::unordered_map<std::string, std::unique_ptr<const FolderIndex>, TextHash, std::equal_to<>> folders_;
};

}  // namespace velmar
