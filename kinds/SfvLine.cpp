#include "kinds/SfvLine.h"

#include "checksum/DigestText.h"

namespace velmar {

namespace {

constexpr std::size_t ChecksumFieldLength = 8;

bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

std::uint32_t SfvChecksumValue(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && IsCSpace(field[i])) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    if (i + 2 < field.size() && field[i] == '0' && (field[i + 1] == 'x' || field[i + 1] == 'X') &&
        HexDigitValue(field[i + 2]) >= 0)
        i += 2;
    std::uint32_t value = 0;
    for (; i < field.size(); ++i) {
        int digit = HexDigitValue(field[i]);
        if (digit < 0) break;
        value = value * 16u + static_cast<std::uint32_t>(digit);
    }
    return negative ? 0u - value : value;
}

SfvLine ParseSfvLine(std::string_view piece, SfvChecksumPolicy policy) {
    SfvLine line;
    if (auto nul = piece.find('\0'); nul != std::string_view::npos) piece = piece.substr(0, nul);
    if (!piece.empty() && (piece[0] == ';' || piece[0] == '\n' || piece[0] == '\r')) return line;

    const std::size_t space = piece.rfind(' ');
    if (space == std::string_view::npos) {
        line.kind = SfvLineKind::Fatal;
        return line;
    }
    std::string_view field = piece.substr(space + 1, ChecksumFieldLength);
    line.entry.name.assign(piece.substr(0, space));

    if (field.size() != ChecksumFieldLength) {
        line.kind = policy == SfvChecksumPolicy::ExitOnBadLength ? SfvLineKind::FatalAfterRow : SfvLineKind::Skip;
        return line;
    }
    if (policy == SfvChecksumPolicy::SkipBadLengthOrDigit) {
        for (char c : field)
            if (!IsHexDigit(c)) return line;
    }
    line.entry.expectedCrc = SfvChecksumValue(field);
    line.kind = SfvLineKind::Entry;
    return line;
}

}  // namespace velmar
