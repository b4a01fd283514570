#include "lists/VerifyJob.h"

#include <vector>

#include "lists/ListReading.h"
#include "lists/ListSignature.h"
#include "lists/ListedFileCheck.h"
#include "platform/Paths.h"

namespace velmar {

void VerifyList(JobFrame& frame, const ListKind& kind, const std::string& listPath, const std::string& listDirectory,
                ReadPurpose purpose, MissingFiles missing) {
    const ListText text = CheckedListText(frame, listPath);
    ListedEntries entries(kind.Digits());
    ListedFileFinder finder(kind, listDirectory, listPath);
    if (missing == MissingFiles::Ignored)
        ReadListEntries(frame, kind, text, purpose, finder, entries, [&](std::string_view name) { return finder.Finds(name); });
    else
        ReadListEntries(frame, kind, text, purpose, finder, entries);

    frame.ListChecked(listPath);
    frame.WalkRowFiles(frame.RowCount(), ListedFiles(kind, finder, [&entries](int row) { return entries.Name(row); }),
                       [&](int row, const FileDigest& digest) {
                           const StatusIcon icon = JudgeListedFile(frame, kind, digest, entries.Digest(row));
                           frame.RowDone(row, icon,
                                         ListedFileDetails(finder, entries.Name(row), entries.Digest(row), digest, icon));
                       });
    frame.EndVerify(finder.Directory(), [&](int row) { return finder.PathOf(entries.Name(row)); });
}

void VerifyList(JobFrame& frame, const ListKind& kind, const std::string& listPath, ReadPurpose purpose,
                MissingFiles missing) {
    VerifyList(frame, kind, listPath, ListDirectoryOf(listPath), purpose, missing);
}

}  // namespace velmar
