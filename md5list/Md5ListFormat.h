// One line of an MD5 list: the sum-tool layout with the 32 digits of an MD5
// digest.
#pragma once

#include <optional>
#include <string_view>

#include "lists/SumLine.h"
#include "platform/TextStream.h"

namespace velmar {

using Md5Entry = SumEntry;

inline std::optional<Md5Entry> ParseMd5EntryLine(std::string_view piece) { return ParseSumLine(piece, 32); }

// "<32 lower-case digits>  <name>\n"; the writer turns "\n" into CR LF.
inline void WriteMd5Entry(TextWriter& writer, std::string_view digestText, std::string_view name) {
    writer.Write(SumLine(digestText, name));
}

}  // namespace velmar
