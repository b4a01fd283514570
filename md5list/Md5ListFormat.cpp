#include "md5list/Md5ListFormat.h"

#include "md5list/DigestField.h"

namespace velmar {

namespace {
constexpr std::size_t SeparatorColumn = DigestFieldLength;   // a space
constexpr std::size_t MarkerColumn = DigestFieldLength + 1;  // a space or '*'
constexpr std::size_t NameColumn = DigestFieldLength + 2;
}  // namespace

std::optional<Md5Entry> ParseMd5EntryLine(std::string_view piece) {
    if (piece.size() < NameColumn || !DigestFieldQualifies(piece, 0)) return std::nullopt;
    if (piece[SeparatorColumn] != ' ') return std::nullopt;
    if (piece[MarkerColumn] != ' ' && piece[MarkerColumn] != '*') return std::nullopt;
    Md5Entry entry;
    entry.digest = DigestTextOfField(piece);
    entry.name = UpToNul(WithoutLineEnd(piece.substr(NameColumn)));
    return entry;
}

void WriteMd5Entry(TextWriter& writer, std::string_view digestText, std::string_view name) {
    std::string line;
    line.reserve(digestText.size() + 3 + name.size());
    line.append(digestText);
    line.append("  ");
    line.append(name);
    line.push_back('\n');
    writer.Write(line);
}

}  // namespace velmar
