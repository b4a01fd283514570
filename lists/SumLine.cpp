#include "lists/SumLine.h"

#include <optional>

#include "lists/DigestField.h"

namespace velmar {

namespace {

struct SumEntry {
    std::string digest;
    std::string name;
};

// "<digest>  <name>" or "<digest> *<name>".
std::optional<SumEntry> ParsePlainLine(std::string_view piece, std::size_t digits) {
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

// "MD5 (<name>) = <digest>", as md5sum --tag writes it; rhash --bsd pads
// the tag with more blanks ("MD5   (<name>)"). The name ends at the last
// ") = ", so that a name may hold one itself.
std::optional<SumEntry> ParseBsdLine(std::string_view piece, std::size_t digits, std::string_view tag) {
    const std::string_view line = WithoutLineEnd(piece);
    if (tag.empty() || !line.starts_with(tag)) return std::nullopt;
    std::size_t open = tag.size();
    while (open < line.size() && line[open] == ' ') ++open;
    if (open == tag.size() || open == line.size() || line[open] != '(') return std::nullopt;
    const std::size_t nameColumn = open + 1;
    const std::size_t end = line.rfind(") = ");
    if (end == std::string_view::npos || end < nameColumn) return std::nullopt;
    const std::string_view digest = line.substr(end + 4);
    if (digest.size() != digits || !DigestFieldQualifies(digest, 0, digits)) return std::nullopt;
    SumEntry entry;
    entry.digest = DigestTextOfField(digest, digits);
    entry.name = UpToNul(line.substr(nameColumn, end - nameColumn));
    return entry;
}

// md5sum writes a name holding a backslash, a line feed or a carriage
// return with "\\", "\n" and "\r" and marks its line with a leading
// backslash (older versions escaped only the first two). Any other escape
// makes no name.
std::optional<std::string> Unescaped(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] != '\\') {
            out.push_back(name[i]);
            continue;
        }
        if (++i == name.size()) return std::nullopt;
        if (name[i] == '\\') out.push_back('\\');
        else if (name[i] == 'n') out.push_back('\n');
        else if (name[i] == 'r') out.push_back('\r');
        else return std::nullopt;
    }
    return out;
}

// The entry a piece holds, or nothing when the piece is no entry line
// (comments, headers, blank lines, another algorithm's tag, other formats).
std::optional<SumEntry> ParseSumLine(std::string_view piece, std::size_t digits, std::string_view tag) {
    // The usual line first: every line read before the other layouts were
    // known is read as it was.
    if (auto entry = ParsePlainLine(piece, digits)) return entry;
    const bool escaped = piece.starts_with('\\');
    if (escaped) piece.remove_prefix(1);
    std::optional<SumEntry> entry = ParsePlainLine(piece, digits);
    if (!entry && !tag.empty()) entry = ParseBsdLine(piece, digits, tag);
    if (entry && escaped) {
        std::optional<std::string> name = Unescaped(entry->name);
        if (!name) return std::nullopt;
        entry->name = std::move(*name);
    }
    return entry;
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

ListLine ReadSumListLine(std::string_view piece, const ListKind& kind, ReadPurpose) {
    ListLine line;
    if (auto entry = ParseSumLine(piece, kind.Digits(), kind.bsdTag ? kind.bsdTag : "")) {
        line.kind = ListLineKind::Entry;
        line.name = std::move(entry->name);
        line.digest = std::move(entry->digest);
    }
    return line;
}

std::string SumEntryLines(std::string_view name, const FileDigest& digest) {
    // md5sum's own escaped form, which md5sum -c and sha256sum -c read back
    // and which holds no line end of its own: the list stays one line per
    // entry, whatever the name.
    const std::string escaped = SumToolEscaped(name);
    std::string line;
    if (escaped.size() != name.size()) line.push_back('\\');  // every escape is longer than its character
    line.append(digest.Text());
    line.append("  ");
    line.append(escaped);
    line.push_back('\n');
    return line;
}

ListKind SumToolKind(const SumToolTexts& t) {
    return {
        .menuCaption = t.menuCaption,
        .menuGroup = t.menuGroup,
        .itemCaptions = {t.itemCaptions[0], t.itemCaptions[1], t.itemCaptions[2], t.itemCaptions[3]},
        .itemKeys = {t.itemKeys[0], t.itemKeys[1], t.itemKeys[2], t.itemKeys[3]},
        .create = {.label = t.createLabel,
                   .firstName = t.firstName,
                   .extension = nullptr,
                   .checkBox1Enabled = false,
                   .comboBox1 = CreateCommandKind::ComboBox::Disable,
                   .dialog = {.title = t.createTitle,
                              .filter = "CD Image (*.bin;*.iso;*.cue)|*.bin;*.iso;*.cue|All files (*.*)|*.*",
                              .filterIndex = 2,
                              .multiple = true},
                   .folderTitle = t.folderTitle},
        .verifyDialog = {.title = t.verifyTitle, .filter = t.verifyFilter, .filterIndex = 1, .multiple = false},
        .creationComplete = t.creationComplete,
        .algorithm = t.algorithm,
        .readLine = ReadSumListLine,
        .bsdTag = t.bsdTag,
        .sidecarExtension = t.sidecarExtension,
        .listMissingMessage = t.listMessage,
        .listUnusableMessage = t.listMessage,
        .entriesRequired = true,
        .loadSetsProgressRange = false,
        .retryWithoutLeadingBlanks = false,
        .readFailureIsFatal = true,
        .header = nullptr,
        .comments = nullptr,
        .entryLines = SumEntryLines,
        .nameUnfit = nullptr,
    };
}

}  // namespace velmar
