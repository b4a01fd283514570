#include "lists/SelectVerify.h"

#include "lists/ListedFileCheck.h"

namespace velmar {

void CheckSelectedRows(JobFrame& frame, const ListKind& kind, const SelectedRows& selected) {
    if (selected.rows.empty()) return;
    ListedFileFinder finder(kind, selected.listDirectory, selected.listPath);
    const auto nameOf = [&selected](int i) -> std::string_view { return selected.names[static_cast<std::size_t>(i)]; };
    const int count = static_cast<int>(selected.rows.size());
    frame.SetRowCount(count);
    frame.NoteSignature(selected.signature);
    frame.ListChecked(selected.listPath);
    frame.WalkRowFiles(count, ListedFiles(kind, finder, nameOf), [&](int i, const FileDigest& digest) {
        const std::string& expected = selected.expected[static_cast<std::size_t>(i)];
        const StatusIcon icon = JudgeListedFile(frame, kind, digest, expected);
        frame.OtherRowDone(selected.rows[static_cast<std::size_t>(i)], icon,
                           ListedFileDetails(finder, nameOf(i), expected, digest, icon));
    });
}

}  // namespace velmar
