// A small job written only to drive the frame: a verification of a list of
// names whose files must hold an expected text.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "jobs/JobFrame.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "tests/support/TempDir.h"

namespace velmar::test {

struct ListedFile {
    std::string name;
    std::string expected;
};

// The rows, then the end of a verify job; `onRow` runs before each row's check.
inline void RunTestVerify(JobFrame& frame, const std::string& directory, const std::vector<ListedFile>& list,
                          const std::function<void(int)>& onRow = {}) {
    bool listOpen = true;
    frame.HoldList([&] { listOpen = false; });
    for (const ListedFile& entry : list) {
        frame.QuitCheck();
        frame.AddPendingRow(entry.name);
    }
    frame.HoldList(nullptr);
    const auto pathOf = [&](int row) { return ListedFilePath(directory, list[static_cast<std::size_t>(row)].name); };
    frame.WalkRowFiles(frame.RowCount(), {.algorithm = DigestAlgorithm::Crc32, .folder = directory, .pathOf = pathOf},
                       [&](int row, const FileDigest&) {
                           if (onRow) onRow(row);
                           const std::string path = pathOf(row);
                           StatusIcon icon = IconNA;
                           if (PathExists(path))
                               icon = ReadAll(path) == list[static_cast<std::size_t>(row)].expected ? IconOk : IconBad;
                           frame.RowDone(row, icon);
                       });
    frame.EndVerify(directory, [&](int row) { return ListedFilePath(directory, list[static_cast<std::size_t>(row)].name); });
}

}  // namespace velmar::test
