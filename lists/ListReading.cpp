#include "lists/ListReading.h"

#include <algorithm>

#include "lists/DigestField.h"
#include "lists/ListPieces.h"
#include "lists/ListedFileFinder.h"
#include "platform/Paths.h"
#include "platform/TextEncoding.h"

namespace velmar {

std::string_view ListedEntries::Name(int row) const {
    const auto i = static_cast<std::size_t>(row);
    const std::size_t begin = i == 0 ? 0 : nameEnds_[i - 1];
    return std::string_view(names_).substr(begin, nameEnds_[i] - begin);
}

std::string SidecarNameOf(const ListKind& kind, const std::string& path) {
    const std::string base = BaseNameOf(path);
    for (const char* each : kind.sidecarExtensions) {
        if (!each) continue;
        const std::string_view extension = each;
        if (base.size() > extension.size() && NameEndsWith(base, extension))
            return base.substr(0, base.size() - extension.size());
    }
    return {};
}

ListReadState FirstReadState(const ListKind& kind, const std::string& path) {
    return {.sumLayout = ListReadState::SumLayout::Undecided, .sidecarName = SidecarNameOf(kind, path)};
}

int ReadListEntries(JobFrame& frame, const ListKind& kind, const ListText& list, ReadPurpose purpose,
                    std::vector<std::string>& digests, std::vector<std::string>& names) {
    ListedFileFinder finder(kind, ListDirectoryOf(list.path), list.path);
    return ReadListEntries(frame, kind, list, purpose, finder, {.entry = [&](std::string& name, std::string& digest) {
                               digests.push_back(std::move(digest));
                               names.push_back(std::move(name));
                           }, .piece = {}});
}

int ReadListEntries(JobFrame& frame, const ListKind& kind, const ListText& list, ReadPurpose purpose,
                    ListedFileFinder& finder, ListedEntries& entries,
                    const std::function<bool(std::string_view name)>& kept) {
    // Room for as many names and digests as the list could hold, set aside
    // but not touched: growing by doubling would copy a long list's
    // entries, and for a moment hold them twice.
    if (const auto bytes = RegularFileSize(list.path)) entries.Reserve(*bytes);
    return ReadListEntries(frame, kind, list, purpose, finder,
                           {.entry =
                                [&](std::string& name, std::string& digest) {
                                    if (!kept) return entries.Add(name, digest);
                                    if (!kept(name)) return;
                                    frame.AddPendingRow(name);
                                    entries.Add(name, digest);
                                },
                            .piece = {},
                            .addRows = !kept});
}

int ReadListEntries(JobFrame& frame, const ListKind& kind, const ListText& text, ReadPurpose purpose,
                    ListedFileFinder& finder, const ListReadingSinks& sinks) {
    ListPieces list(frame, kind.listMissingMessage, kind.listUnusableMessage);
    list.Open(text);
    int count = 0;
    ListReadState state = FirstReadState(kind, text.path);
    std::string piece;
    std::string nameLine;
    // The entry of the line the last piece began, and whether it ended it.
    int lineEntry = -1;
    bool lineEnded = true;
    const auto give = [&](const std::string& text, int entry) {
        if (!sinks.piece) return;
        if (lineEnded) lineEntry = entry;
        lineEnded = text.ends_with('\n');
        sinks.piece(text, lineEntry);
    };
    while (list.Next(piece)) {
        ListLine line = kind.readLine(piece, kind, purpose, state);
        if (line.kind == ListLineKind::Skip) {
            give(piece, -1);
            continue;
        }
        if (line.kind == ListLineKind::Unusable) frame.Fatal(JobFailure::ListUnusable, kind.listUnusableMessage);
        give(piece, count);
        if (line.kind == ListLineKind::DigestBeforeName) {
            // Whatever the next line holds is the name; a digest line at the
            // very end adds nothing.
            if (!list.Next(nameLine)) break;
            give(nameLine, count);
            line.name = UpToNul(WithoutLineEnd(nameLine));
        }
        if (!IsAscii(line.name)) line.name = finder.NameAsFound(line.name);
        if (sinks.addRows) frame.AddPendingRow(line.name);
        if (line.kind == ListLineKind::EntryThenUnusable || line.digest.size() != kind.Digits())
            frame.Fatal(JobFailure::ListUnusable, kind.listUnusableMessage);
        if (sinks.entry) sinks.entry(line.name, line.digest);
        ++count;
    }
    list.Close();
    if (sinks.endState) *sinks.endState = std::move(state);
    // A stopped read is no proof that the list holds no entry.
    if (kind.entriesRequired && count == 0 && !frame.StopCheck()) frame.Fatal(JobFailure::ListUnusable, kind.listUnusableMessage);
    return count;
}

}  // namespace velmar
