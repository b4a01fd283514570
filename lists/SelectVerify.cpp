#include "lists/SelectVerify.h"

#include "checksum/ChecksumEngine.h"
#include "lists/ListedFileCheck.h"

namespace velmar {

void CheckSelectedRows(JobFrame& frame, const ListKind& kind, const SelectedRows& selected) {
    if (selected.rows.empty()) return;
    ListedFileFinder finder(kind, selected.listDirectory, selected.listPath);
    const auto nameOf = [&selected](int i) -> std::string_view { return selected.names[static_cast<std::size_t>(i)]; };
    const int count = static_cast<int>(selected.rows.size());
    frame.SetRowCount(count);
    frame.Sink().ListChecked(selected.listPath);
    frame.BeginRowWalk([&finder, nameOf](int i) { return finder.SizeOf(nameOf(i)); });
    auto engine = ListedFilesEngine(kind, finder, count, nameOf, frame.Watch());
    int taken = 0;
    SelectVerifyPass(
        frame, selected.rows,
        [&](int) {
            const auto i = static_cast<std::size_t>(taken);
            const std::string& expected = selected.expected[i];
            const FileDigest digest = engine->Take(taken++);
            const StatusIcon icon = JudgeListedFile(frame, kind, digest, expected);
            return CheckedRow{icon, ListedFileDetails(finder, nameOf(static_cast<int>(i)), expected, digest, icon)};
        },
        [&engine] { engine->Stop(); });
}

}  // namespace velmar
