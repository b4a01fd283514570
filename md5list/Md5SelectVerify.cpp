#include "md5list/Md5SelectVerify.h"

#include <vector>

#include "jobs/JobFrame.h"
#include "md5list/Md5FileCheck.h"
#include "md5list/Md5ListReader.h"
#include "platform/Paths.h"
#include "platform/ReadBuffer.h"

namespace velmar {

void LoadMd5SelectVerify(MainWindow& window, MainWindowState& state, const std::string& path) {
    JobFrame frame(window, state);
    state.ExpectedMd5s.clear();
    std::vector<std::string> names;
    ReadMd5List(frame, path, state.ExpectedMd5s, names);
}

void CheckSelectedMd5Rows(MainWindow& window, MainWindowState& state) {
    JobFrame frame(window, state);
    ReadBuffer buffer;
    SelectVerifyPass(window, state, [&](int row) {
        const std::string path = ListedFilePath(state.ListDirectory, window.RowText(row));
        // A row without a slot (the list was not loaded by this kind) has
        // nothing to match: an empty expectation never matches.
        const auto slot = static_cast<std::size_t>(row);
        const std::string expected = slot < state.ExpectedMd5s.size() ? state.ExpectedMd5s[slot] : std::string();
        return CheckListedMd5(frame, path, expected, buffer);
    });
}

}  // namespace velmar
