#include "lists/LibraryJob.h"

#include <optional>
#include <memory>
#include <vector>

#include "lists/ListReading.h"
#include "lists/ListSignature.h"
#include "lists/ListedFileCheck.h"
#include "platform/FolderTree.h"
#include "platform/Paths.h"

namespace velmar {
namespace {

struct LibraryList {
    std::string name;  // its path from the library's folder, '/' between folders
    std::string path;
    const ListKind* kind = nullptr;
    std::unique_ptr<ListedFileFinder> finder;
    std::unique_ptr<ListedEntries> entries;
    std::optional<std::string> failure;  // why it could not be read
    int firstRow = 0;
};

// A name any part of which begins with a dot lies in a hidden folder (or is
// a hidden file, as our replacement files are): a trash, a program's own
// store, never the library's.
bool Hidden(std::string_view name) {
    for (std::size_t start = 0;;) {
        if (name.substr(start).starts_with('.')) return true;
        const std::size_t slash = name.find('/', start);
        if (slash == std::string_view::npos) return false;
        start = slash + 1;
    }
}

std::vector<std::string> ListsBelow(JobFrame& frame, const std::string& folder, const LibraryKinds& kinds) {
    std::vector<std::string> names;
    WalkFolderTree(folder, {.file =
                                [&](const std::string& name) {
                                    const std::string base = BaseNameOf(name);
                                    if (Hidden(name) || NameEndsWith(base, ".BAD") || IsSignatureFile(name) ||
                                        !kinds.isListName(base))
                                        return;
                                    names.push_back(name);
                                },
                            .unreadable = {},
                            .stop = [&] {
                                frame.QuitCheck();
                                return frame.StopCheck();
                            },
                            .progress = {}});
    return names;
}

}  // namespace

std::string LibrarySummaryText(int lists, const Tallies& t) {
    return "LISTS:" + std::to_string(lists) + "  OK:" + std::to_string(t.OkCount) + "  BAD:" +
           std::to_string(t.BadCount) + (t.CorruptCount ? " (" + std::to_string(t.CorruptCount) + " corrupt)" : "") +
           "  N/A:" + std::to_string(t.NaCount);
}

void VerifyLibrary(JobFrame& frame, const std::string& folder, const LibraryKinds& kinds) {
    std::vector<LibraryList> lists;
    for (std::string& name : ListsBelow(frame, folder, kinds)) {
        LibraryList list{.name = name, .path = ChosenFilePath(folder, name)};
        lists.push_back(std::move(list));
    }
    frame.ListChecked(folder);

    // Each list read whole before its rows are added, so that one that
    // fails part way leaves only its own row.
    for (LibraryList& list : lists) {
        if (frame.StopCheck()) break;
        list.kind = &kinds.kindOf(list.path);
        list.finder = std::make_unique<ListedFileFinder>(*list.kind, ListDirectoryOf(list.path), list.path);
        list.entries = std::make_unique<ListedEntries>(list.kind->Digits());
        const auto failure = frame.Attempt([&] {
            const ListText text = CheckedListText(frame, list.path);
            ReadListEntries(frame, *list.kind, text, ReadPurpose::CommandLineVerify, *list.finder,
                            {.entry = [&](std::string& name, std::string& digest) { list.entries->Add(name, digest); },
                             .piece = {},
                             .addRows = false});
        });
        // Each list's signature is its own; the summary is the library's.
        frame.NoteSignature({});
        if (failure) {
            list.failure = *failure;
            list.entries = std::make_unique<ListedEntries>(list.kind->Digits());
            frame.AddPendingRow(list.name);
            continue;
        }
        list.firstRow = frame.RowCount();
        const std::string prefix = list.name.substr(0, list.name.size() - BaseNameOf(list.name).size());
        for (int entry = 0; entry < list.entries->Count(); ++entry)
            frame.AddPendingRow(prefix + std::string(list.entries->Name(entry)));
    }

    // Every row in one walk, in row order, each read for its own list's
    // digest; a list that could not be read has its one row there too, and
    // nothing to read.
    struct RowOfList {
        LibraryList* list;
        int entry;  // -1: the row of a list that could not be read
    };
    std::vector<RowOfList> rows;
    rows.reserve(static_cast<std::size_t>(frame.RowCount()));
    for (LibraryList& list : lists) {
        if (!list.kind) break;  // a stop came before it was read
        if (list.failure) rows.push_back({&list, -1});
        for (int entry = 0; entry < list.entries->Count(); ++entry) rows.push_back({&list, entry});
    }
    const auto at = [&rows](int row) -> const RowOfList& { return rows[static_cast<std::size_t>(row)]; };
    const auto nameOf = [at](int row) { return at(row).list->entries->Name(at(row).entry); };
    const RowFiles files{
        .algorithm = DigestAlgorithm::Crc32,
        .folder = folder,
        .pathOf = [at, nameOf](int row) { return at(row).entry < 0 ? std::string() : at(row).list->finder->ListedPath(nameOf(row)); },
        .fallbackOf = [at, nameOf](int row, bool missing) -> std::optional<std::string> {
            if (at(row).entry < 0) return std::nullopt;
            return at(row).list->finder->Fallback(nameOf(row), missing);
        },
        .algorithmOf = [at](int row) { return at(row).list->kind->algorithm; }};
    frame.WalkRowFiles(static_cast<int>(rows.size()), files, [&](int row, const FileDigest& digest) {
        const RowOfList& of = at(row);
        if (of.entry < 0) {
            frame.RowDone(row, IconNA, {.path = AbsolutePath(of.list->path), .reason = *of.list->failure, .list = of.list->path});
            return;
        }
        const std::string_view expected = of.list->entries->Digest(of.entry);
        // One file that fails part way is that file's problem, not the
        // library's: it is bad, and the run goes on.
        const StatusIcon icon = digest.status == FileDigestStatus::ReadFailed
                                    ? IconBad
                                    : JudgeListedFile(frame, *of.list->kind, digest, expected);
        RowDetails details = ListedFileDetails(*of.list->finder, nameOf(row), expected, digest, icon);
        details.list = of.list->path;
        frame.RowDone(row, icon, details);
    });

    if (!frame.ShowSummary(LibrarySummaryText(static_cast<int>(lists.size()), frame.Counts()))) return;
    if (frame.Counts().BadCount == 0 || !frame.Sink().Ask(Question::RenameBadFiles, frame.Counts().BadCount)) return;
    std::string refused;
    for (LibraryList& list : lists) {
        if (!list.kind || list.failure) continue;
        std::vector<std::string> bad;
        std::vector<int> badRows;
        for (int entry = 0; entry < list.entries->Count(); ++entry)
            if (frame.IconOf(list.firstRow + entry) == IconBad) {
                bad.push_back(list.finder->PathOf(list.entries->Name(entry)));
                badRows.push_back(list.firstRow + entry);
            }
        if (bad.empty()) continue;
        const auto failures = RenameBadFiles(list.finder->Directory(), bad, [&](std::size_t index) {
            frame.Sink().RowRenamed(badRows[index], AbsolutePath(bad[index] + ".BAD"));
        });
        const std::string message = RenameFailuresMessage(list.finder->Directory(), failures);
        if (!message.empty()) refused += (refused.empty() ? "" : "\n") + message;
    }
    if (!refused.empty()) frame.Sink().Told(refused);
}

}  // namespace velmar
