#include "lists/SelectVerify.h"

#include <vector>

#include "jobs/JobFrame.h"
#include "lists/ListReading.h"
#include "lists/ListedFileCheck.h"
#include "platform/ReadBuffer.h"

namespace velmar {

void LoadSelectVerify(MainWindow& window, MainWindowState& state, const ListKind& kind, const std::string& listPath) {
    JobFrame frame(window, state);
    state.ExpectedDigests.clear();
    std::vector<std::string> names;
    const int rows = ReadListEntries(frame, kind, listPath, ReadPurpose::SelectVerify, state.ExpectedDigests, names);
    if (kind.loadSetsProgressRange) {
        window.SetProgressRange(0, rows);
        window.RepaintWindow();
    }
}

void CheckSelectedRows(MainWindow& window, MainWindowState& state, const ListKind& kind) {
    JobFrame frame(window, state);
    ReadBuffer buffer;
    SelectVerifyPass(window, state, [&](int row) {
        const auto slot = static_cast<std::size_t>(row);
        const std::string expected = slot < state.ExpectedDigests.size() ? state.ExpectedDigests[slot] : std::string();
        return CheckListedFile(frame, kind, state.ListDirectory, window.RowText(row), expected, buffer);
    });
}

}  // namespace velmar
