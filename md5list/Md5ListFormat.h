// One line of an MD5 list: the 32 digits of the digest, a space, a space or
// "*" (the text and binary markers of other tools, alike here: files are
// always hashed as bytes), then the name up to the line end.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/TextStream.h"

namespace velmar {

struct Md5Entry {
    std::string digest;  // as read, either case; shorter than 32 when a NUL cut it
    std::string name;    // verbatim: inner and trailing spaces, backslashes kept
};

// The entry a piece holds, or nothing when the piece is no entry line
// (comments, headers, blank lines, other tools' formats).
std::optional<Md5Entry> ParseMd5EntryLine(std::string_view piece);

// "<32 lower-case digits>  <name>\n"; the writer turns "\n" into CR LF.
// The name is written as it is, whatever it holds.
void WriteMd5Entry(TextWriter& writer, std::string_view digestText, std::string_view name);

}  // namespace velmar
