#include "md5list/Md5CreateJob.h"

#include "checksum/Md5.h"
#include "jobs/Commands.h"
#include "md5list/Md5Dialogs.h"
#include "md5list/Md5ListFormat.h"
#include "platform/Paths.h"
#include "platform/ReadBuffer.h"
#include "platform/TextStream.h"

namespace velmar {

void RunMd5Creation(JobFrame& frame) {
    MainWindowState& state = frame.State();
    const CreationSetup setup = frame.Window().ReadCreationSetup();
    frame.StartCreation(static_cast<int>(setup.rows.size()));

    TextWriter list;
    if (!list.Create(CreationListPath(state, setup.edit1))) frame.Fatal(FatalError::ErrorWritingToFile);
    frame.HoldList([&list] { list.Close(); });

    ReadBuffer buffer;
    for (int row = 0; row < frame.RowCount(); ++row) {
        frame.QuitCheck();
        const std::string& name = setup.rows[static_cast<std::size_t>(row)];
        // A file chosen a moment ago that is gone or unreadable now is no
        // missing row here: the list would be wrong, so the job ends.
        MD5FileResult digest = MD5FileDigest(ListedFilePath(state.CreationDirectory, name), buffer);
        if (digest.status != FileDigestStatus::Ok) frame.Fatal(FatalError::ErrorReadingFile);
        WriteMd5Entry(list, digest.text, name);
        frame.RowDone(row, IconOk);
    }
    frame.EndRowWalk();

    // Lines that never reached the disk (a full or failing medium) must not
    // be reported as a finished list.
    if (!list.Close()) frame.Fatal(FatalError::ErrorWritingToFile);
    frame.HoldList(nullptr);
    frame.EndCreation(Md5CreationComplete);
}

}  // namespace velmar
