#include "lists/CreationJob.h"

#include <strings.h>

#include <algorithm>
#include <unordered_set>

#include "lists/ListableName.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/TextStream.h"

namespace velmar {

FilesBelowFolder CreationRowsOf(const std::vector<std::string>& chosen) {
    // Files chosen from several folders (names typed with their folders into
    // a dialog) are listed by their paths below the folder that holds them all.
    FilesBelowFolder files = CommonFolderOf(chosen);
    std::vector<std::string> names;
    names.reserve(files.names.size());
    // A file typed twice is still one file of the list.
    std::unordered_set<std::string_view> seen;
    for (const std::string& name : files.names)
        if (seen.insert(name).second) names.push_back(name);
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return ::strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    files.names = std::move(names);
    return files;
}

std::string ProposedListName(const std::string& directory, const ListKind& kind) {
    // Files chosen in the root give an empty folder text: keep the default.
    if (!kind.folderExtension || directory.empty()) return kind.firstName;
    return BaseNameOf(directory) + kind.folderExtension;
}

std::string CreationListPath(const CreationInputs& inputs) { return ListedFilePath(inputs.directory, inputs.listName); }

std::string CreationRefusal(const ListKind& kind, const CreationInputs& inputs) {
    for (const std::string& row : inputs.rows) {
        const std::string message = row == inputs.listName ? "Cannot add 'self' to file." : UnlistableRowMessage(kind, row);
        if (!message.empty()) return message;
    }
    return {};
}

void RunCreation(JobFrame& frame, const ListKind& kind, const CreationInputs& setup, const ListTimes& times) {
    const int rows = static_cast<int>(setup.rows.size());
    frame.SetRowCount(rows);
    const std::string& directory = setup.directory;
    // A shell refuses a name the list cannot carry with a message; one that
    // starts the job without that check still gets no list that cannot be
    // read back.
    const std::optional<std::uint64_t> entriesSize = ListableEntriesSize(kind, setup.rows);
    if (!entriesSize) frame.Fatal(FatalError::ErrorWritingToFile);

    // The list is written beside its target and takes its place only once
    // complete: a stop, a quit or a fatal end leaves an old list as it was,
    // or no list at all. What is sure to fail at the end (a folder that
    // takes no new file, a target the rename may not replace, a disk
    // without room for the entries) fails here, before a file is read.
    TextWriter out(kind.lineEnd);
    if (!out.Create(CreationListPath(setup))) frame.Fatal(FatalError::ErrorWritingToFile);
    frame.HoldList([&out] { out.Discard(); });
    if (!out.Reserve(*entriesSize)) frame.Fatal(FatalError::ErrorWritingToFile);

    if (kind.header) out.Write(kind.header(setup, times.now ? times.now() : CurrentTime()));
    if (kind.comments)
        WriteCommentBlock(frame, out, *kind.comments,
                          {setup.commentMode, setup.oneLineComment, setup.commentFile, &setup.rows, directory,
                           times.fileTime});

    const auto pathOf = [&](int each) { return ChosenFilePath(directory, setup.rows[static_cast<std::size_t>(each)]); };
    const auto discard = [&out] { out.Discard(); };
    const int row = frame.WalkRowFiles(
        rows, {.algorithm = kind.algorithm, .folder = directory, .pathOf = pathOf},
        [&](int each, const FileDigest& digest) {
            // A file chosen a moment ago that is gone or unreadable now is no
            // missing row here: the list would be wrong, so the job ends.
            if (digest.status != FileDigestStatus::Ok) frame.Fatal(FatalError::ErrorReadingFile);
            out.Write(kind.entryLines(setup.rows[static_cast<std::size_t>(each)], digest, kind, {}));
            frame.RowDone(each, IconOk);
        },
        discard);

    frame.HoldList(nullptr);
    if (row < rows)
        out.Discard();  // stopped
    else if (!out.Commit())
        frame.Fatal(FatalError::ErrorWritingToFile);  // a list that did not reach the disk whole
}

}  // namespace velmar
