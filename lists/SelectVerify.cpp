#include "lists/SelectVerify.h"

#include <memory>
#include <vector>

#include "jobs/ChecksumEngine.h"
#include "jobs/JobFrame.h"
#include "lists/ListReading.h"
#include "lists/ListedFileCheck.h"

namespace velmar {

void LoadSelectVerify(MainWindow& window, MainWindowState& state, const ListKind& kind, const std::string& listPath) {
    JobFrame frame(window, state);
    // The load runs on the UI thread while no job runs: a stop pressed as
    // the last job ended is for no job, and must not cut this list short.
    state.StopRequested = 0;
    state.ExpectedDigests.clear();
    std::vector<std::string> names;
    const int rows = ReadListEntries(frame, kind, listPath, ReadPurpose::SelectVerify, state.ExpectedDigests, names);
    if (kind.loadSetsProgressRange) {
        window.SetProgressRange(0, rows);
        window.RepaintWindow();
    }
}

void CheckSelectedRows(JobFrame& frame, const ListKind& kind) {
    MainWindow& window = frame.Window();
    MainWindowState& state = frame.State();
    std::vector<std::string> names;
    ListedFileFinder finder(kind, state.ListDirectory, state.ListPath);
    std::unique_ptr<ChecksumEngine> engine;
    int taken = 0;
    SelectVerifyPass(frame, [&](JobFrame&, const std::vector<int>& rows) {
        // The names are read here: the workers never ask the window.
        for (int row : rows) names.push_back(window.RowText(row));
        auto nameOf = [&names](int i) -> std::string_view { return names[static_cast<std::size_t>(i)]; };
        frame.SetRowCount(static_cast<int>(rows.size()));
        window.SetCheckedList(state.ListPath);
        frame.BeginRowWalk([&finder, nameOf](int i) { return finder.SizeOf(nameOf(i)); });
        engine = ListedFilesEngine(kind, finder, static_cast<int>(rows.size()), nameOf, frame.Watch());
        return SelectedRowChecks{
            [&](int row) {
                const auto slot = static_cast<std::size_t>(row);
                const std::string expected =
                    slot < state.ExpectedDigests.size() ? state.ExpectedDigests[slot] : std::string();
                const std::string_view name = names[static_cast<std::size_t>(taken)];
                const FileDigest digest = engine->Take(taken++);
                const StatusIcon icon = JudgeListedFile(frame, kind, digest, expected);
                return CheckedRow{icon, ListedFileDetails(finder, name, expected, digest, icon)};
            },
            [&engine] { engine->Stop(); }};
    });
}

}  // namespace velmar
