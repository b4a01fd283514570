// Finds the file an SFV row names and computes its CRC-32.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/ReadBuffer.h"

namespace velmar {

// The CRC of list directory + row text, or, when that cannot be opened, of
// the row text without its leading blanks and control characters (lists
// written by hand often indent their names). Nothing when neither opens.
// A read error part way leaves the value of the bytes read before it, which
// will normally not match the listed one.
std::optional<std::uint32_t> ResolveListedFile(std::string_view listDirectory, std::string_view rowText,
                                               ReadBuffer& buffer);

}  // namespace velmar
