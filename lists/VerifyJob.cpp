#include "lists/VerifyJob.h"

#include <vector>

#include "lists/ListReading.h"
#include "lists/ListedFileCheck.h"
#include "platform/Paths.h"
#include "platform/ReadBuffer.h"

namespace velmar {

void VerifyList(JobFrame& frame, const ListKind& kind, const std::string& listPath, const std::string& listDirectory,
                ReadPurpose purpose) {
    std::vector<std::string> digests;
    std::vector<std::string> names;
    ReadListEntries(frame, kind, listPath, purpose, digests, names);

    ReadBuffer buffer;
    frame.BeginRowWalk();
    for (int row = 0; row < frame.RowCount(); ++row) {
        frame.QuitCheck();
        const auto i = static_cast<std::size_t>(row);
        frame.RowDone(row, CheckListedFile(frame, kind, listDirectory, names[i], digests[i], buffer));
    }
    frame.EndRowWalk();
    frame.EndVerify(listDirectory,
                    [&](int row) { return ListedFilePath(listDirectory, names[static_cast<std::size_t>(row)]); });
}

void RunMenuVerify(JobFrame& frame, const ListKind& kind) {
    auto path = frame.StartMenuVerify(kind.verifyDialog);
    if (!path) return;
    VerifyList(frame, kind, *path, ListDirectoryOf(*path), ReadPurpose::MenuVerify);
}

void RunCommandLineVerify(JobFrame& frame, const ListKind& kind) {
    frame.StartCommandLineVerify();
    const std::string path = frame.State().CommandLinePath;
    VerifyList(frame, kind, path, ListDirectoryOf(path), ReadPurpose::CommandLineVerify);
}

}  // namespace velmar
