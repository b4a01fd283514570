// One line in the layouts of the coreutils sum tools (md5sum, sha256sum):
// the digest's digits, a space, a space or "*" (the text and binary markers,
// alike here: files are always hashed as bytes), then the name up to the
// line end; the BSD reversed layout of md5 -r, the digits, one blank and
// the name; the tagged layouts, "MD5 (name) = digest" (BSD) and
// "MD5(name)= digest" (OpenSSL) with the kind's tags; any of them with a
// leading backslash when the name is escaped. In the layouts that begin
// with the digest, the kind's digest prefix ("XXH3_") comes before its
// digits. In a one-file list named after its file ("NAME.md5"), a digest
// alone stands for that file.
#pragma once

#include <string>
#include <string_view>

#include "lists/ListKind.h"

namespace velmar {

// The line reader of a kind in this layout: an entry with its digest as
// read (either case; shorter than the digits when a NUL cut it) and its name
// verbatim (inner and trailing spaces, backslashes kept, escapes read), or
// nothing for any other line (comments, headers, blank lines, another
// algorithm's tag, other formats). `state` carries the list's layout, usual
// or reversed, from the line that decided it on.
ListLine ReadSumListLine(std::string_view piece, const ListKind& kind, ReadPurpose purpose, ListReadState& state);


// "<digest>  <name>\n", or md5sum's escaped line for a name holding a
// backslash, a line feed or a carriage return where the kind escapes names;
// the list writer turns "\n" into CR LF. In a list read as md5 -r's
// layout, "<digest> <name>\n", the only line md5sum reads there.
std::string SumEntryLines(std::string_view name, const FileDigest& digest, const ListKind& kind,
                          const ListReadState& list);

// "<tag> (<name>) = <digest>\n" with the kind's BSD tag, escaped as
// SumEntryLines escapes: the only layout of xxhsum -H3 before 0.8.2, which
// reads XXH3 in no other.
std::string SumTaggedEntryLines(std::string_view name, const FileDigest& digest, const ListKind& kind,
                                const ListReadState& list);

}  // namespace velmar
