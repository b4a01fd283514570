#include "sfv/SfvCreateJob.h"

#include "checksum/Crc32.h"
#include "jobs/Commands.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/ReadBuffer.h"
#include "platform/TextStream.h"
#include "sfv/SfvDialogs.h"
#include "sfv/SfvWriter.h"

namespace velmar {

void RunSfvCreation(JobFrame& frame, const ListTimes& times) {
    const CreationSetup setup = frame.Window().ReadCreationSetup();
    const int rows = static_cast<int>(setup.rows.size());
    frame.StartCreation(rows);

    // Taken before the comment-file dialog, which may look elsewhere.
    const std::string directory = frame.State().CreationDirectory;
    TextWriter out;
    if (!out.Create(CreationListPath(frame.State(), setup.edit1))) frame.Fatal(FatalError::ErrorWritingToFile);
    frame.HoldList([&out] { out.Close(); });

    out.Write(SfvHeaderBlock(setup.checkBox1, times.now ? times.now() : CurrentTime()));
    WriteCommentBlock(frame, out, SfvCommentStyle,
                      {setup.comboBox1, setup.edit2, &setup.rows, directory, times.fileTime});

    frame.Window().SetProgressRange(0, rows);
    ReadBuffer buffer;
    for (int row = 0; row < rows; ++row) {
        frame.QuitCheck();
        const std::string& name = setup.rows[static_cast<std::size_t>(row)];
        Crc32FileResult crc = Crc32File(ListedFilePath(directory, name), buffer);
        if (!crc.opened || crc.readFailed) frame.Fatal(FatalError::ErrorReadingFile);
        out.Write(SfvEntryLine(name, crc.crc));
        frame.RowDone(row, IconOk);
    }
    frame.EndRowWalk();

    // A list that did not reach the disk whole is no completed list.
    frame.HoldList(nullptr);
    if (!out.Close()) frame.Fatal(FatalError::ErrorWritingToFile);
    frame.EndCreation(SfvCreationComplete);
}

}  // namespace velmar
