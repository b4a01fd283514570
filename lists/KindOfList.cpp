#include "lists/KindOfList.h"

#include <fnmatch.h>

#include <algorithm>
#include <vector>

#include "checksum/DigestText.h"
#include "lists/ListReading.h"
#include "platform/Paths.h"
#include "platform/ReadBuffer.h"
#include "platform/TextStream.h"

namespace velmar {
namespace {

std::vector<const ListKind*> KindsNamed(std::span<const ListKind* const> kinds, const std::string& name) {
    std::vector<const ListKind*> named;
    for (const ListKind* kind : kinds)
        if (std::any_of(std::begin(kind->namePatterns), std::end(kind->namePatterns), [&](const char* pattern) {
                return pattern && ::fnmatch(pattern, name.c_str(), FNM_CASEFOLD) == 0;
            }))
            named.push_back(kind);
    return named;
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

// The first line within the list's first 32 KiB that one of `kinds` reads
// as its entry gives that kind, as KindOfListAmong says. The text comes
// through the list readers' own reader, so a byte-order mark, UTF-16 and
// CR LF read as they will when the list is verified.
const ListKind* KindClaimingLines(std::span<const ListKind* const> kinds, const std::string& path) {
    TextReader reader(LinesLookedAt);
    if (!reader.Open(path)) return nullptr;
    std::vector<const ListKind*> candidates;  // the kinds that read the first entry
    ListLine first;
    std::string piece;
    // Each kind reads the lines as one list, as it would verify it.
    std::vector<ListReadState> states;
    for (const ListKind* kind : kinds) states.push_back(FirstReadState(*kind, path));
    for (std::size_t seen = 0; seen < LinesLookedAt && reader.ReadPiece(piece); seen += piece.size()) {
        std::vector<const ListKind*> claiming;
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            const ListKind* kind = kinds[i];
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

const ListKind& KindOfListAmong(std::span<const ListKind* const> kinds, const std::string& path) {
    const std::vector<const ListKind*> named = KindsNamed(kinds, BaseNameOf(path));
    if (named.size() == 1) return *named.front();
    const std::span<const ListKind* const> asked = named.empty() ? kinds.subspan(1) : std::span(named);
    if (const ListKind* claiming = KindClaimingLines(asked, path)) return *claiming;
    return named.empty() ? *kinds.front() : *named.front();
}

}  // namespace velmar
