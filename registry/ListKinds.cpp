#include "registry/ListKinds.h"

#include <algorithm>
#include <cctype>

#include <fnmatch.h>

#include <string_view>
#include <vector>

#include "blake2/Blake2Kind.h"
#include "blake3/Blake3Kind.h"
#include "checksum/DigestText.h"
#include "lists/ListReading.h"
#include "m3u/M3uKind.h"
#include "md5list/Md5Kind.h"
#include "platform/Paths.h"
#include "platform/ReadBuffer.h"
#include "platform/TextStream.h"
#include "sfv/SfvKind.h"
#include "sha1/Sha1Kind.h"
#include "sha256/Sha256Kind.h"
#include "sha512/Sha512Kind.h"

namespace velmar {

std::span<const ListKind* const> ListKinds() {
    static const ListKind* const kinds[] = {&SfvKind,  &Md5Kind,    &M3uKind,    &Sha256Kind,
                                            &Sha1Kind, &Sha512Kind, &Blake2Kind, &Blake3Kind};
    return kinds;
}

namespace {

struct FilterEntry {
    std::string_view description;
    std::string_view patterns;  // "*.bin;*.iso"
};

// A dialog filter's pairs that name one kind's lists: "All files" and
// "Text files" name any file.
std::vector<FilterEntry> ListEntriesOf(std::string_view filter) {
    std::vector<FilterEntry> entries;
    while (!filter.empty()) {
        const std::size_t bar = filter.find('|');
        if (bar == std::string_view::npos) break;
        const std::string_view description = filter.substr(0, bar);
        filter.remove_prefix(bar + 1);
        const std::size_t end = filter.find('|');
        const std::string_view patterns = filter.substr(0, end);
        filter.remove_prefix(end == std::string_view::npos ? filter.size() : end + 1);
        if (patterns != "*.*" && patterns != "*" && patterns != "*.txt") entries.push_back({description, patterns});
    }
    return entries;
}

bool NameMatches(std::string_view patterns, const std::string& name) {
    while (!patterns.empty()) {
        const std::size_t semicolon = patterns.find(';');
        const std::string pattern(patterns.substr(0, semicolon));
        if (::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
        patterns.remove_prefix(semicolon == std::string_view::npos ? patterns.size() : semicolon + 1);
    }
    return false;
}

const ListKind* KindNamed(const std::string& name) {
    for (const ListKind* kind : ListKinds())
        for (const FilterEntry& entry : ListEntriesOf(kind->verifyDialog.filter))
            if (NameMatches(entry.patterns, name)) return kind;
    return nullptr;
}

// How much of a list's text its kind is told from, and how much is read
// from the file at a time for it.
constexpr std::size_t LinesLookedAt = 32768;

// The kind of the first entry's file among `candidates`, kinds whose digits
// all fit the entry: the one whose digest of the file is the entry's. When
// none matches (the file is missing, unreadable or changed), the first.
const ListKind* KindMatchingFirstFile(const std::string& path, const ListLine& first,
                                      const std::vector<const ListKind*>& candidates) {
    std::vector<DigestAlgorithm> algorithms;
    for (const ListKind* kind : candidates) algorithms.push_back(kind->algorithm);
    ReadBuffer buffer;
    const std::vector<FileDigest> digests =
        DigestFileEachWay(algorithms, ListedFilePath(ListDirectoryOf(path), first.name), buffer);
    for (std::size_t i = 0; i < candidates.size(); ++i)
        if (digests[i].status == FileDigestStatus::Ok &&
            DigestTextsMatch(digests[i].Digits(), first.digest, candidates[i]->Digits()))
            return candidates[i];
    return candidates.front();
}

// The first line within the list's first 32 KiB that a kind other than SFV
// reads as its entry gives that kind. Where the line's digits fit several
// kinds (SHA512 and BLAKE2 both have 128), a later line only one of them
// reads (its BSD tag) decides, else the first entry's file. SFV, which takes
// almost any line with a space for an entry, is asked nothing: it is what
// remains. The text comes through the list readers' own reader, so a
// byte-order mark, UTF-16 and CR LF read as they will when the list is
// verified.
const ListKind* KindClaimingLines(const std::string& path) {
    TextReader reader(LinesLookedAt);
    if (!reader.Open(path)) return nullptr;
    std::vector<const ListKind*> candidates;  // the kinds that read the first entry
    ListLine first;
    std::string piece;
    const auto kinds = ListKinds();
    // Each kind reads the lines as one list, as it would verify it.
    std::vector<ListReadState> states;
    for (const ListKind* kind : kinds) states.push_back(FirstReadState(*kind, path));
    for (std::size_t seen = 0; seen < LinesLookedAt && reader.ReadPiece(piece); seen += piece.size()) {
        std::vector<const ListKind*> claiming;
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            const ListKind* kind = kinds[i];
            if (kind == &SfvKind) continue;
            if (!candidates.empty() && std::find(candidates.begin(), candidates.end(), kind) == candidates.end()) continue;
            ListLine line = kind->readLine(piece, *kind, ReadPurpose::CommandLineVerify, states[i]);
            if (line.kind == ListLineKind::Skip) continue;
            if (claiming.empty() && candidates.empty()) first = std::move(line);
            claiming.push_back(kind);
        }
        if (claiming.size() == 1) return claiming.front();
        if (candidates.empty()) candidates = std::move(claiming);
    }
    if (candidates.empty()) return nullptr;
    return KindMatchingFirstFile(path, first, candidates);
}

}  // namespace

const ListKind& ListKindOf(const std::string& path) {
    if (const ListKind* named = KindNamed(BaseNameOf(path))) return *named;
    if (const ListKind* claiming = KindClaimingLines(path)) return *claiming;
    return SfvKind;
}

std::string AllListsFilter() {
    std::string every;
    std::string each;
    for (const ListKind* kind : ListKinds())
        for (const FilterEntry& entry : ListEntriesOf(kind->verifyDialog.filter)) {
            if (!every.empty()) every += ';';
            every.append(entry.patterns);
            each.append(entry.description).append("|").append(entry.patterns).append("|");
        }
    return "Checksum lists (" + every + ")|" + every + "|" + each + "All files (*.*)|*.*";
}

std::string KindShortName(const ListKind& kind) {
    std::string name;
    for (const char* c = kind.menuCaption; *c; ++c)
        if (*c != '&') name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*c))));
    return name;
}

const ListKind* KindByShortName(const std::string& name) {
    for (const ListKind* kind : ListKinds())
        if (KindShortName(*kind) == name) return kind;
    return nullptr;
}

}  // namespace velmar
