#include "kinds/M3uPlaylistFormat.h"

#include "lists/DigestField.h"

namespace velmar {

std::string M3uEntryLines(std::string_view digestText, std::string_view name) {
    std::string lines;
    lines.reserve(digestText.size() + name.size() + 3);
    lines += '#';
    lines += digestText;
    lines += '\n';
    lines += name;
    lines += '\n';
    return lines;
}

bool IsM3uDigestLine(std::string_view piece) {
    return !piece.empty() && piece.front() == '#' && DigestFieldQualifies(piece, 1, 32);
}

}  // namespace velmar
