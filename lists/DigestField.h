// The digest field of a list line as the digest lists read it: a fixed
// number of characters, each a hexadecimal digit or a NUL byte. A NUL lets
// the line qualify but cuts the digest text short, which the reader then
// refuses after it has shown the entry's row.
#pragma once

#include <cstddef>
#include <string_view>

namespace velmar {

// True when `line` holds, from `offset` on, `digits` characters of
// HexDigitSet or NUL.
bool DigestFieldQualifies(std::string_view line, std::size_t offset, std::size_t digits);

// The field's first `digits` characters up to the first NUL among them.
std::string_view DigestTextOfField(std::string_view field, std::size_t digits);

// A piece less its line feed; a piece without one (the last line of the
// text, or part of an over-long line) keeps every character.
std::string_view WithoutLineEnd(std::string_view piece);

// Text up to its first NUL byte.
std::string_view UpToNul(std::string_view text);

}  // namespace velmar
