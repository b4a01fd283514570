#include "md5list/Md5VerifyJob.h"

#include <string>
#include <vector>

#include "md5list/Md5Dialogs.h"
#include "md5list/Md5FileCheck.h"
#include "md5list/Md5ListReader.h"
#include "platform/Paths.h"
#include "platform/ReadBuffer.h"

namespace velmar {

void RunMd5Verify(JobFrame& frame) {
    auto list = frame.StartMenuVerify(Md5ListDialog);
    if (!list) return;
    const std::string directory = ListDirectoryOf(*list);

    std::vector<std::string> digests;
    std::vector<std::string> names;
    ReadMd5List(frame, *list, digests, names);

    // One try under the name as listed: no second form of it is attempted.
    auto pathOfRow = [&](int row) { return ListedFilePath(directory, names[static_cast<std::size_t>(row)]); };
    ReadBuffer buffer;
    frame.BeginRowWalk();
    for (int row = 0; row < frame.RowCount(); ++row) {
        frame.QuitCheck();
        frame.RowDone(row, CheckListedMd5(frame, pathOfRow(row), digests[static_cast<std::size_t>(row)], buffer));
    }
    frame.EndRowWalk();
    frame.EndVerify(directory, pathOfRow);
}

void TMyThread4::Execute() {
    JobFrame frame(window_, state_);
    RunMd5Verify(frame);
}

}  // namespace velmar
