// The lines of a playlist that carries an MD5 digest before every name: a
// media player skips the "#" lines and plays the names, we read the digests
// back. Comments between the header and the entries are in
// lists/CommentBlocks.h, in the playlist's style.
#pragma once

#include <string>
#include <string_view>

#include "lists/CommentBlocks.h"

namespace velmar {

// "#" leads every comment line, and the file-info block opens with a line
// holding only "#".
inline constexpr CommentStyle M3uCommentStyle{'#', true, "Create M3U: Select Comment File"};

inline constexpr std::string_view M3uHeaderLine = "#MD5M3U Velmar v1.84\n";

// "#" and the 32 digits, line feed, then the name and a line feed; the
// writer turns each line feed into CR LF.
std::string M3uEntryLines(std::string_view digestText, std::string_view name);

// A piece that starts with "#" followed by 32 characters of HexDigitSet or
// NUL; whatever comes after them does not matter.
bool IsM3uDigestLine(std::string_view piece);

}  // namespace velmar
