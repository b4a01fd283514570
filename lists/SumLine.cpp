#include "lists/SumLine.h"

#include "lists/DigestField.h"

namespace velmar {

std::optional<SumEntry> ParseSumLine(std::string_view piece, std::size_t digits) {
    const std::size_t separator = digits;  // a space
    const std::size_t marker = digits + 1; // a space or '*'
    const std::size_t nameColumn = digits + 2;
    if (piece.size() < nameColumn || !DigestFieldQualifies(piece, 0, digits)) return std::nullopt;
    if (piece[separator] != ' ') return std::nullopt;
    if (piece[marker] != ' ' && piece[marker] != '*') return std::nullopt;
    SumEntry entry;
    entry.digest = DigestTextOfField(piece, digits);
    entry.name = UpToNul(WithoutLineEnd(piece.substr(nameColumn)));
    return entry;
}

std::string SumLine(std::string_view digestText, std::string_view name) {
    std::string line;
    line.reserve(digestText.size() + 3 + name.size());
    line.append(digestText);
    line.append("  ");
    line.append(name);
    line.push_back('\n');
    return line;
}

ListLine ReadSumListLine(std::string_view piece, std::size_t digits) {
    ListLine line;
    if (auto entry = ParseSumLine(piece, digits)) {
        line.kind = ListLineKind::Entry;
        line.name = std::move(entry->name);
        line.digest = std::move(entry->digest);
    }
    return line;
}

std::string SumEntryLines(std::string_view name, const FileDigest& digest) { return SumLine(digest.Text(), name); }

}  // namespace velmar
