// What a row can tell beyond its name and mark: its tooltip and the report
// say it. Filled by the job that marks the row.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmar {

struct RowDetails {
    std::string path;      // the file, whole, where it was found
    std::string expected;  // the listed digest, lower case; "" for a file no list names
    std::string computed;  // "" unless the file was read whole
    std::optional<std::uint64_t> size;  // the bytes the file had when read
    // Why it is marked as it is: "matches", "differs", "missing", "cannot
    // be opened: Permission denied", "failed at byte 4096: Input/output
    // error", "new", "moved to NAME", each with "; found as NAME by letter
    // case" (or another way) when a fallback found it.
    std::string reason;
    std::string movedTo;  // a moved file's new name; its row then reads "OLD -> NEW"
    // A bad file whose last write is no later than its list's: its data
    // changed and its time did not, as damage in place leaves a file (an
    // edit or a re-tag moves the time on).
    bool corrupt = false;
    // The list that names the file, where the rows come from several lists;
    // "" where they come from the one list the job checked.
    std::string list;
};

// The details of a row whose file was renamed to `path` (a bad file given
// ".BAD"): where it is now, and why it is not where the list says.
inline RowDetails RenamedDetails(RowDetails details, const std::string& path) {
    details.path = path;
    details.reason += "; renamed to " + path.substr(path.find_last_of('/') + 1);
    return details;
}

}  // namespace velmar
