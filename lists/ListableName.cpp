#include "lists/ListableName.h"

#include <algorithm>

#include "platform/TextStream.h"

namespace velmar {

namespace {

// The entry lines of `name` with a digest of the kind's length in place of
// a file's: as long as the real ones.
std::string PlaceholderEntry(const ListKind& kind, std::string_view name) {
    FileDigest digest;
    digest.status = FileDigestStatus::Ok;
    digest.size = DigestSize(kind.algorithm);
    return kind.entryLines(name, digest, kind, {});
}

// Each line of `lines` fits in one piece of the list reader, its line feed
// included.
bool LinesFitPieces(std::string_view lines) {
    while (!lines.empty()) {
        const std::size_t end = std::min(lines.find('\n'), lines.size());
        if (end + 1 > TextReader::MaxPiece) return false;
        lines.remove_prefix(std::min(end + 1, lines.size()));
    }
    return true;
}

std::string Visible(std::string_view name) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string shown;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') shown += "\\r";
        else if (c == '\n') shown += "\\n";
        else if (c == '\t') shown += "\\t";
        else if (byte < 0x20 || byte == 0x7F) shown += {'\\', 'x', Hex[byte >> 4], Hex[byte & 15]};
        else shown.push_back(c);
    }
    return shown;
}

}  // namespace

std::string SumToolEscaped(std::string_view name) {
    std::string out;
    out.reserve(name.size() + 8);
    for (char c : name) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out.push_back(c);
    }
    return out;
}

bool HoldsLineEnd(std::string_view name) { return name.find_first_of("\r\n") != std::string_view::npos; }

namespace {

// Why `kind` cannot carry `name`, given the entry lines it would take.
const char* WhyEntryDoesNotFit(const ListKind& kind, std::string_view name, std::string_view lines) {
    if (kind.nameUnfit)
        if (const char* why = kind.nameUnfit(name)) return why;
    if (name.find('\x1A') != std::string_view::npos) return "a list's text ends at a Ctrl-Z (\\x1A)";
    if (!LinesFitPieces(lines)) return "its entry would take a line longer than the 510 characters a list line may have";
    return nullptr;
}

}  // namespace

const char* WhyNameDoesNotFit(const ListKind& kind, std::string_view name) {
    return WhyEntryDoesNotFit(kind, name, PlaceholderEntry(kind, name));
}

std::string UnlistableRowMessage(const ListKind& kind, std::string_view row) {
    const char* why = WhyNameDoesNotFit(kind, row);
    if (!why) return {};
    return "Cannot add '" + Visible(row) + "' to file: " + why + ".";
}

std::optional<std::uint64_t> ListableEntriesSize(const ListKind& kind, const std::vector<std::string>& rows) {
    std::uint64_t bytes = 0;
    for (const std::string& row : rows) {
        const std::string lines = PlaceholderEntry(kind, row);
        if (WhyEntryDoesNotFit(kind, row, lines)) return std::nullopt;
        bytes += lines.size() + static_cast<std::uint64_t>(std::count(lines.begin(), lines.end(), '\n'));
    }
    return bytes;
}

}  // namespace velmar
