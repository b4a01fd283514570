// A row's details as the bytes a window keeps of them: packed once, by the
// job's sink as the row is marked, and kept as they are from then on. A
// million rows then cost some ten bytes of details each: a file found where
// its name leads, a digest computed as expected and the common reasons are
// a bit or a byte, and an expected digest in hex is kept as its bytes.
#pragma once

#include <string>
#include <string_view>

#include "jobs/RowDetails.h"

namespace velmar {

// Appends `details` packed to `out`, their path always written out.
void AppendPacked(std::string& out, const RowDetails& details);

// The path `packed` holds ("" when it was left out).
std::string_view PackedPath(std::string_view packed);

// Appends `packed` with its path left out: the row's usual one.
void AppendWithoutPath(std::string& out, std::string_view packed);

// The details `packed` tells; a path left out is `usualPath`.
RowDetails Unpacked(std::string_view packed, const std::string& usualPath);

}  // namespace velmar
