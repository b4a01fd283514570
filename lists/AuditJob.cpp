#include "lists/AuditJob.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "checksum/DigestText.h"
#include "jobs/TreeListing.h"
#include "lists/ListReading.h"
#include "lists/ListSignature.h"
#include "lists/ListableName.h"
#include "lists/ListedFileCheck.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/TextStream.h"

namespace velmar {
namespace {

// What the tree holds beyond the list.
struct TreeNews {
    std::vector<std::string> names;  // the files no entry names, in the tree's order
    std::string unreadable;          // the first folder that could not be read
    bool walked = false;             // false when stopped
};

// The files below the list's folder that no entry of `entries` names. An
// entry names the file its listed name leads to; one whose file the walk did
// not meet names the file it was found as instead (another letter case, a
// backslash kept, its leading blanks dropped), so that no file found for an
// entry is taken for a new one.
TreeNews NewFilesBelow(JobFrame& frame, const ListKind& kind, ListedFileFinder& finder, const ListedEntries& entries,
                       const std::string& listPath) {
    const std::string& folder = finder.Directory();
    // Most names are their own place below the folder: those are looked up
    // as the entries hold them, and only the others ("./a", "a\\b") made anew.
    std::deque<std::string> madeNames;
    std::unordered_map<std::string_view, int> rowOf;
    rowOf.reserve(static_cast<std::size_t>(entries.Count()));
    for (int row = 0; row < entries.Count(); ++row) {
        const std::string_view name = entries.Name(row);
        if (IsPlainRelativePath(name)) {
            rowOf.emplace(name, row);
        } else if (auto below = PathBelowFolder(folder, finder.ListedPath(name))) {
            rowOf.emplace(madeNames.emplace_back(std::move(*below)), row);
        }
    }

    TreeNews news;
    std::vector<char> met(static_cast<std::size_t>(entries.Count()), 0);
    const std::string listName = BaseNameOf(listPath);
    news.walked = WalkListableTree(
        frame, folder, listName,
        [&](const std::string& name) {
            // The list's own signature beside it is no file it lists.
            if (name.starts_with(listName) && ListSignedBy(name) == listName &&
                IsSignatureFile(ChosenFilePath(folder, name)))
                return;
            const auto listed = rowOf.find(name);
            if (listed == rowOf.end()) news.names.push_back(name);
            else met[static_cast<std::size_t>(listed->second)] = 1;
        },
        news.unreadable);
    if (!news.walked || news.names.empty()) return news;

    std::unordered_set<std::string> foundElsewhere;
    for (int row = 0; row < entries.Count(); ++row) {
        if (met[static_cast<std::size_t>(row)]) continue;
        const std::string_view name = entries.Name(row);
        if (auto below = PathBelowFolder(folder, finder.PathOf(name))) foundElsewhere.insert(std::move(*below));
        const std::size_t first = name.find_first_not_of(" \t");
        if (kind.retryWithoutLeadingBlanks && first != 0 && first != std::string_view::npos)
            if (auto below = PathBelowFolder(folder, finder.ListedPath(name.substr(first))))
                foundElsewhere.insert(std::move(*below));
    }
    if (!foundElsewhere.empty())
        std::erase_if(news.names, [&](const std::string& name) { return foundElsewhere.count(name) > 0; });
    return news;
}

// What the rows came to, for the summary and the rewritten list.
struct AuditResult {
    std::vector<char> missing;                     // per entry: nothing is at its file
    std::vector<FileDigest> newDigests;            // per new file
    std::vector<int> movedTo;                      // per entry: the new file it moved to, or -1
    int added = 0;                                 // new files hashed whole, moved ones apart
};

// A missing entry whose digest a new file has, that file not empty and not
// taken by an earlier entry, moved there: its row shows "OLD -> NEW", and
// the new file's row goes.
void FindMovedFiles(JobFrame& frame, const ListedEntries& entries, const TreeNews& news, int firstNew,
                    const std::string& folder, AuditResult& result) {
    if (std::find(result.missing.begin(), result.missing.end(), 1) == result.missing.end()) return;
    std::unordered_map<std::string, std::vector<int>> newByDigest;
    for (int i = static_cast<int>(news.names.size()) - 1; i >= 0; --i)
        if (result.newDigests[static_cast<std::size_t>(i)].status == FileDigestStatus::Ok)
            newByDigest[result.newDigests[static_cast<std::size_t>(i)].Text()].push_back(i);
    std::vector<int> removed;
    for (int row = 0; row < entries.Count(); ++row) {
        if (!result.missing[static_cast<std::size_t>(row)]) continue;
        const auto candidates = newByDigest.find(LowerCaseDigits(entries.Digest(row)));
        if (candidates == newByDigest.end()) continue;
        std::vector<int>& free = candidates->second;
        while (!free.empty()) {
            const int file = free.back();
            free.pop_back();
            const std::string& name = news.names[static_cast<std::size_t>(file)];
            // Every empty file has the same digest: it tells nothing of where
            // a file went.
            if (RegularFileSize(ChosenFilePath(folder, name)).value_or(0) == 0) continue;
            result.movedTo[static_cast<std::size_t>(row)] = file;
            result.missing[static_cast<std::size_t>(row)] = 0;
            RowDetails details = CheckedFileDetails(ChosenFilePath(folder, name), entries.Digest(row),
                                                    result.newDigests[static_cast<std::size_t>(file)], IconMoved);
            details.reason = "moved to " + name;
            details.movedTo = name;
            frame.ChangeRow(row, IconMoved, std::string(entries.Name(row)) + " -> " + name, details);
            removed.push_back(firstNew + file);
            --result.added;
            break;
        }
    }
    std::sort(removed.begin(), removed.end());
    frame.RemoveRows(removed);
}

// The list's text as a Yes rewrites it (see AuditList), or nothing, with
// the user told why, when the list cannot carry a new name or has changed
// since it was read.
std::optional<std::string> UpdatedListText(JobFrame& frame, const ListKind& kind, const ListText& list,
                                           ListedFileFinder& finder, const ListedEntries& entries,
                                           const TreeNews& news, const AuditResult& result) {
    std::vector<char> moved(news.names.size(), 0);
    for (const int file : result.movedTo)
        if (file >= 0) moved[static_cast<std::size_t>(file)] = 1;
    std::vector<std::size_t> added;
    for (std::size_t i = 0; i < news.names.size(); ++i)
        if (result.newDigests[i].status == FileDigestStatus::Ok && !moved[i]) added.push_back(i);
    for (const std::size_t file : added) {
        const std::string refusal = UnlistableRowMessage(kind, news.names[file]);
        if (!refusal.empty()) {
            frame.Sink().Told(refusal);
            return std::nullopt;
        }
    }

    std::string text;
    // Where each moved entry's new lines go, and its new file's index: they
    // are written once the list is read, in the layout its reading decided.
    std::vector<std::pair<std::size_t, int>> movedLines;
    int lastMoved = -1;
    bool same = true;
    int read = 0;
    ListReadState layout;
    ReadListEntries(frame, kind, list, ReadPurpose::MenuVerify, finder,
                    {.entry =
                         [&](std::string& name, std::string&) {
                             same = same && read < entries.Count() && name == entries.Name(read);
                             ++read;
                         },
                     .piece =
                         [&](std::string_view piece, int entry) {
                             if (entry < 0 || entry >= entries.Count()) return text.append(piece), void();
                             const auto row = static_cast<std::size_t>(entry);
                             if (result.missing[row]) return;
                             const int file = result.movedTo[row];
                             if (file < 0) return text.append(piece), void();
                             if (entry == lastMoved) return;
                             lastMoved = entry;
                             movedLines.emplace_back(text.size(), file);
                         },
                     .addRows = false,
                     .endState = &layout});
    if (!same || read != entries.Count()) {
        frame.Sink().Told("The list changed while it was checked; it was left as it was.");
        return std::nullopt;
    }
    const auto linesOf = [&](std::size_t file) {
        return kind.entryLines(news.names[file], result.newDigests[file], kind, layout);
    };
    std::string kept = std::move(text);
    text.clear();
    std::size_t from = 0;
    for (const auto& [at, file] : movedLines) {
        text.append(kept, from, at - from).append(linesOf(static_cast<std::size_t>(file)));
        from = at;
    }
    text.append(kept, from);
    if (!text.empty() && text.back() != '\n' && !added.empty()) text.push_back('\n');
    for (const std::size_t file : added) text.append(linesOf(file));
    return text;
}

// Puts `text` in the list's place; a failure leaves the list as it was and
// says so.
void ReplaceList(JobFrame& frame, const ListKind& kind, const std::string& listPath, const std::string& text) {
    TextWriter out(kind.lineEnd);
    bool written = out.Create(listPath);
    if (written) {
        frame.HoldList([&out] { out.Discard(); });
        out.Write(text);
        written = out.Commit();
        frame.HoldList(nullptr);
    }
    frame.Sink().Told(written ? "List Updated" : FatalMessage(FatalError::ErrorWritingToFile));
}

}  // namespace

void AuditList(JobFrame& frame, AuditMode mode, const ListKind& kind, const std::string& listPath) {
    const bool audit = mode == AuditMode::Audit;
    const ListText text = CheckedListText(frame, listPath);
    // Whole once, so that no row's details look for the current folder.
    const std::string folder = AbsolutePath(ListDirectoryOf(listPath));
    ListedEntries entries(kind.Digits());
    ListedFileFinder finder(kind, folder, listPath);
    ReadListEntries(frame, kind, text, ReadPurpose::MenuVerify, finder,
                    {.entry = [&](std::string& name, std::string& digest) { entries.Add(name, digest); },
                     .piece = {},
                     .addRows = audit});

    // A one-file list named after its file ("NAME.md5" listing NAME) is that
    // file's record, not its folder's: nothing beside it is new to it, and
    // its file missing is no reason to rewrite it as a list of nothing.
    const bool oneFileList = entries.Count() == 1 && entries.Name(0) == SidecarNameOf(kind, listPath);
    TreeNews news{.names = {}, .unreadable = {}, .walked = oneFileList};
    if (!oneFileList && !frame.StopCheck()) news = NewFilesBelow(frame, kind, finder, entries, listPath);
    const int firstNew = audit ? entries.Count() : 0;
    if (news.walked && !frame.StopCheck())
        for (const std::string& name : news.names) frame.AddPendingRow(name);

    AuditResult result{.missing = std::vector<char>(static_cast<std::size_t>(entries.Count()), 0),
                       .newDigests = std::vector<FileDigest>(news.names.size()),
                       .movedTo = std::vector<int>(static_cast<std::size_t>(entries.Count()), -1)};
    const auto pathOf = [&](int row) {
        return row < firstNew ? finder.ListedPath(entries.Name(row))
                              : ChosenFilePath(folder, news.names[static_cast<std::size_t>(row - firstNew)]);
    };
    frame.ListChecked(listPath);
    const auto fallbackOf = [&](int row, bool missing) -> std::optional<std::string> {
        if (row >= firstNew) return std::nullopt;
        return finder.Fallback(entries.Name(row), missing);
    };
    frame.WalkRowFiles(
        frame.RowCount(), {.algorithm = kind.algorithm, .folder = folder, .pathOf = pathOf, .fallbackOf = fallbackOf},
        [&](int row, const FileDigest& digest) {
            if (row < firstNew) {
                result.missing[static_cast<std::size_t>(row)] =
                    digest.status == FileDigestStatus::OpenFailed && digest.missing;
                const StatusIcon icon = JudgeListedFile(frame, kind, digest, entries.Digest(row));
                frame.RowDone(row, icon,
                              ListedFileDetails(finder, entries.Name(row), entries.Digest(row), digest, icon));
                return;
            }
            // A new file that cannot be read whole has no digest to list.
            const bool whole = digest.status == FileDigestStatus::Ok;
            result.newDigests[static_cast<std::size_t>(row - firstNew)] = digest;
            result.added += whole;
            const StatusIcon icon = whole ? IconNew : IconNA;
            frame.RowDone(row, icon, CheckedFileDetails(pathOf(row), "", digest, icon));
        });
    if (audit && !frame.StopCheck()) FindMovedFiles(frame, entries, news, firstNew, folder, result);

    if (!frame.ShowSummary(AuditSummaryText(frame.Counts())) || !news.walked) return;
    if (!news.unreadable.empty()) frame.Sink().Told(CannotReadFolderMessage(news.unreadable));
    const int dropped =
        oneFileList ? 0 : static_cast<int>(std::count(result.missing.begin(), result.missing.end(), 1));
    const int changes = result.added + dropped + frame.Counts().MovedCount;
    // Rewritten, a clearsigned list would keep its entries and lose its signature.
    if (changes > 0 && text.signedPart)
        frame.Sink().Told("The list carries its signature inside: it was left as it was, or the signature would be lost.");
    else if (changes > 0 && frame.Sink().Ask(audit ? Question::UpdateList : Question::AddFiles, result.added))
        if (auto updated = UpdatedListText(frame, kind, text, finder, entries, news, result))
            ReplaceList(frame, kind, listPath, *updated);
    if (!audit && changes == 0) frame.Sink().Told("No New Files Found");
}

}  // namespace velmar
