#include "kinds/SumLine.h"

#include "lists/ListableName.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "lists/DigestField.h"

namespace velmar {

namespace {

struct SumEntry {
    std::string digest;
    std::string name;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// What follows a kind's tag in the tagged layouts: md5sum --tag's BSD
// layout "MD5 (<name>) = <digest>", OpenSSL's "MD5(<name>)= <digest>" and
// rhash --bsd's, which pads the tag with more blanks. The name ends at the
// last ')', so that a name may hold one itself; blanks may stand on either
// side of the '='; the digest ends the line.
std::optional<SumEntry> ParseTaggedLine(std::string_view afterTag, std::size_t digits) {
    const std::size_t open = afterTag.find_first_not_of(' ');
    if (open == std::string_view::npos || afterTag[open] != '(') return std::nullopt;
    const std::size_t close = afterTag.rfind(')');
    if (close == std::string_view::npos || close < open) return std::nullopt;
    std::string_view rest = afterTag.substr(close + 1);
    rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
    if (!rest.starts_with('=')) return std::nullopt;
    rest.remove_prefix(1);
    rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
    if (rest.size() != digits || !DigestFieldQualifies(rest, 0, digits)) return std::nullopt;
    return SumEntry{.digest = std::string(DigestTextOfField(rest, digits)),
                    .name = std::string(UpToNul(afterTag.substr(open + 1, close - open - 1)))};
}

// The digest first, then a blank (a space or a tab), then either md5sum's
// marker and name ("<digest>  <name>", "<digest> *<name>": text and binary
// alike here, files being always hashed as bytes) or, in the BSD reversed
// layout of md5 -r, the name at once ("<digest> <name>"). md5sum tells the
// two apart by the list's first line that shows which it is, and so does
// this: a line whose rest is one character, or begins with neither a space
// nor a '*', is reversed, and no entry once the list is decided usual; any
// other is usual unless the list is decided reversed, where its name keeps
// the blank or '*' it begins with.
std::optional<SumEntry> ParseDigestFirstLine(std::string_view line, std::size_t digits, ListReadState& state) {
    if (line.size() < digits + 2 || !DigestFieldQualifies(line, 0, digits) || !IsBlank(line[digits]))
        return std::nullopt;
    std::string_view rest = line.substr(digits + 1);
    using Layout = ListReadState::SumLayout;
    if (rest.size() == 1 || (rest[0] != ' ' && rest[0] != '*')) {
        if (state.sumLayout == Layout::Usual) return std::nullopt;
        state.sumLayout = Layout::Reversed;
    } else if (state.sumLayout != Layout::Reversed) {
        state.sumLayout = Layout::Usual;
        rest.remove_prefix(1);
    }
    return SumEntry{.digest = std::string(DigestTextOfField(line, digits)), .name = std::string(UpToNul(rest))};
}

// A digest alone, blanks after it allowed: the line of a one-file list
// (a sidecar), which names no file itself. It is that only before any line
// has decided the list's layout: after one, and in any other list, it is
// read as md5sum reads it (a digest with no more than one blank after it
// is no entry, and "<digest>  " names the file " " of a reversed list).
bool IsBareDigest(std::string_view line, std::size_t digits) {
    return DigestFieldQualifies(line, 0, digits) &&
           line.find_first_not_of(" \t", digits) == std::string_view::npos;
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

// The line less the kind's digest prefix, when it begins with it; nothing
// when the kind has one and the line lacks it.
std::optional<std::string_view> WithoutDigestPrefix(std::string_view line, const ListKind& kind) {
    if (!kind.digestPrefix) return line;
    if (!line.starts_with(kind.digestPrefix)) return std::nullopt;
    return line.substr(std::strlen(kind.digestPrefix));
}

// The entry a piece holds, or nothing when the piece is no entry line
// (comments, headers, blank lines, another algorithm's tag, other formats).
// Blanks before the line's first field are no part of it, as for md5sum.
std::optional<SumEntry> ParseSumLine(std::string_view piece, const ListKind& kind, ListReadState& state) {
    const std::size_t digits = kind.Digits();
    std::string_view line = WithoutLineEnd(piece);
    line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    // A one-file list's digest alone, its prefix (if the kind has one) or not.
    if (!state.sidecarName.empty() && state.sumLayout == ListReadState::SumLayout::Undecided) {
        const std::string_view bare = WithoutDigestPrefix(line, kind).value_or(line);
        if (IsBareDigest(bare, digits))
            return SumEntry{.digest = std::string(DigestTextOfField(bare, digits)), .name = state.sidecarName};
    }
    const bool escaped = line.starts_with('\\');
    if (escaped) line.remove_prefix(1);
    std::optional<SumEntry> entry;
    for (const char* tag : {kind.bsdTag, kind.opensslTag})
        if (!entry && tag && line.starts_with(tag)) entry = ParseTaggedLine(line.substr(std::strlen(tag)), digits);
    if (!entry)
        if (const auto digitsFirst = WithoutDigestPrefix(line, kind))
            entry = ParseDigestFirstLine(*digitsFirst, digits, state);
    if (entry && escaped) {
        std::optional<std::string> name = Unescaped(entry->name);
        if (!name) return std::nullopt;
        entry->name = std::move(*name);
    }
    return entry;
}

// The name as the kind writes it: md5sum's own escaped form where the kind
// escapes names, which md5sum -c and sha256sum -c read back and which holds
// no line end of its own, so that the list stays one line per entry,
// whatever the name.
std::string WrittenName(std::string_view name, const ListKind& kind) {
    return kind.escapesNames ? SumToolEscaped(name) : std::string(name);
}

// An escaped name's line begins with a backslash (every escape is longer
// than its character).
std::string LineStart(std::string_view name, const std::string& written) {
    return written.size() != name.size() ? "\\" : "";
}

}  // namespace

ListLine ReadSumListLine(std::string_view piece, const ListKind& kind, ReadPurpose, ListReadState& state) {
    ListLine line;
    if (auto entry = ParseSumLine(piece, kind, state)) {
        line.kind = ListLineKind::Entry;
        line.name = std::move(entry->name);
        line.digest = std::move(entry->digest);
    }
    return line;
}

std::string SumEntryLines(std::string_view name, const FileDigest& digest, const ListKind& kind,
                          const ListReadState& list) {
    const std::string written = WrittenName(name, kind);
    std::string line = LineStart(name, written);
    if (kind.digestPrefix) line.append(kind.digestPrefix);
    line.append(digest.Text());
    line.append(list.sumLayout == ListReadState::SumLayout::Reversed ? " " : "  ");
    line.append(written);
    line.push_back('\n');
    return line;
}

std::string SumTaggedEntryLines(std::string_view name, const FileDigest& digest, const ListKind& kind,
                                const ListReadState&) {
    const std::string written = WrittenName(name, kind);
    return LineStart(name, written) + kind.bsdTag + " (" + written + ") = " + digest.Text() + "\n";
}

}  // namespace velmar
