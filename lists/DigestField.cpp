#include "lists/DigestField.h"

#include "checksum/DigestText.h"

namespace velmar {

bool DigestFieldQualifies(std::string_view line, std::size_t offset, std::size_t digits) {
    if (line.size() < offset + digits) return false;
    for (std::size_t i = offset; i < offset + digits; ++i)
        if (line[i] != '\0' && !IsHexDigit(line[i])) return false;
    return true;
}

std::string_view UpToNul(std::string_view text) {
    auto nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

std::string_view DigestTextOfField(std::string_view field, std::size_t digits) { return UpToNul(field.substr(0, digits)); }

std::string_view WithoutLineEnd(std::string_view piece) {
    if (!piece.empty() && piece.back() == '\n') piece.remove_suffix(1);
    return piece;
}

}  // namespace velmar
