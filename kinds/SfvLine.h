// One line of an SFV list as the readers take it apart: comments and blank
// lines skipped, the name before the last space, an 8-character checksum
// field after it, judged by the reader's policy.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmar {

enum class SfvChecksumPolicy {
    SkipBadLength,         // the menu verify job
    SkipBadLengthOrDigit,  // the command-line and drop job
    ExitOnBadLength,       // select-verify
};

struct SfvEntry {
    std::string name;
    std::uint32_t expectedCrc = 0;
};

enum class SfvLineKind {
    Skip,            // no entry on this line
    Entry,           // `entry` holds name and value
    Fatal,           // no space at all: the list is malformed
    FatalAfterRow,   // select-verify only: `entry.name` gets its row, then the list is malformed
};

struct SfvLine {
    SfvLineKind kind = SfvLineKind::Skip;
    SfvEntry entry;
};

// `piece` is one read of the list (at most 511 bytes, its line feed
// included when it ends a line). A NUL byte ends its text, as it would end
// the line buffer's string.
SfvLine ParseSfvLine(std::string_view piece, SfvChecksumPolicy policy);

// The checksum field read as an unsigned hexadecimal number the way the C
// library's conversion reads one, without looking at the locale and never
// past the field: leading white space, an optional sign ("-" negates modulo
// 2^32), an optional "0x" or "0X" before a digit, then digits up to the
// first character that is none. No digit gives 0.
std::uint32_t SfvChecksumValue(std::string_view field);

}  // namespace velmar
