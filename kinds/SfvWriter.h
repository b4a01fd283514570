// The lines of an SFV list that are the list's own: its header and its
// entry lines. The comment block between them is in lists/CommentBlocks.h.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "lists/CommentBlocks.h"

namespace velmar {

inline constexpr CommentStyle SfvCommentStyle{';', false, "Create SFV: Select Comment File"};

// The WinSFV pair when asked for, then the program's line with the date of
// `now` and a line holding only ";".
std::string SfvHeaderBlock(bool winSfvCompatible, std::time_t now);

// name, a blank, the CRC as 8 upper-case digits, line feed.
std::string SfvEntryLine(std::string_view name, std::uint32_t crc);

}  // namespace velmar
