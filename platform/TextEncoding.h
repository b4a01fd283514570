// Text in the encodings lists arrive in: UTF-8 checks, conversions through
// the C library's iconv, and letter case folded for names compared without
// regard to it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmar {

bool IsValidUtf8(std::string_view text);

// `text` read as the encoding iconv knows as `fromCode` ("WINDOWS-1252",
// "UTF-16LE"...), as UTF-8; nothing when it is not valid in that encoding.
std::optional<std::string> ToUtf8(std::string_view text, const char* fromCode);

// The UTF-8 text with every letter in Unicode's folded case, so that names
// differing only in letter case ("CAFÉ.BIN", "café.bin") fold alike. Bytes
// that are no valid UTF-8 stay as they are.
std::string CaseFolded(std::string_view text);

}  // namespace velmar
