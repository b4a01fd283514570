// One line in the layouts of the coreutils sum tools (md5sum, sha256sum):
// the digest's digits, a space, a space or "*" (the text and binary markers,
// alike here: files are always hashed as bytes), then the name up to the
// line end; or the BSD layout, "MD5 (name) = digest" ("SHA256 (...)" for
// SHA-256); either with a leading backslash when the name is escaped.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "lists/ListKind.h"

namespace velmar {

struct SumEntry {
    std::string digest;  // as read, either case; shorter than the digits when a NUL cut it
    std::string name;    // verbatim: inner and trailing spaces, backslashes kept
};

// The entry a piece holds, or nothing when the piece is no entry line
// (comments, headers, blank lines, another algorithm's tag, other formats).
std::optional<SumEntry> ParseSumLine(std::string_view piece, std::size_t digits);

// "<digest text>  <name>\n"; the list writer turns "\n" into CR LF. The
// name is written as it is, whatever it holds.
std::string SumLine(std::string_view digestText, std::string_view name);

// The line reader and entry writer of a kind in this layout.
ListLine ReadSumListLine(std::string_view piece, std::size_t digits);
template <std::size_t Digits>
ListLine ReadSumListLineOf(std::string_view piece, ReadPurpose) {
    return ReadSumListLine(piece, Digits);
}
std::string SumEntryLines(std::string_view name, const FileDigest& digest);

}  // namespace velmar
