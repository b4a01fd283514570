#include "m3u/M3uCreateJob.h"

#include "checksum/Md5.h"
#include "jobs/Commands.h"
#include "m3u/M3uDialogs.h"
#include "m3u/M3uPlaylistFormat.h"
#include "platform/Paths.h"
#include "platform/ReadBuffer.h"
#include "platform/TextStream.h"

namespace velmar {

void RunM3uCreation(JobFrame& frame, const FileTimeOf& fileTime) {
    const CreationSetup setup = frame.Window().ReadCreationSetup();
    const int rows = static_cast<int>(setup.rows.size());
    frame.StartCreation(rows);

    // Taken before the comment-file dialog, which may look elsewhere.
    const std::string directory = frame.State().CreationDirectory;
    for (const std::string& name : setup.rows)
        if (!FitsOnM3uNameLine(name)) frame.Fatal(FatalError::ErrorWritingToFile);

    TextWriter out;
    if (!out.Create(CreationListPath(frame.State(), setup.edit1))) frame.Fatal(FatalError::ErrorWritingToFile);
    frame.HoldList([&out] { out.Close(); });

    out.Write(M3uHeaderLine);
    WriteCommentBlock(frame, out, M3uCommentStyle, {setup.comboBox1, setup.edit2, &setup.rows, directory, fileTime});

    ReadBuffer buffer;
    for (int row = 0; row < rows; ++row) {
        frame.QuitCheck();
        const std::string& name = setup.rows[static_cast<std::size_t>(row)];
        MD5FileResult digest = MD5FileDigest(ListedFilePath(directory, name), buffer);
        if (digest.status != FileDigestStatus::Ok) frame.Fatal(FatalError::ErrorReadingFile);
        out.Write(M3uEntryLines(digest.text, name));
        frame.RowDone(row, IconOk);
    }
    frame.EndRowWalk();

    // A playlist that did not reach the disk whole is no completed playlist.
    frame.HoldList(nullptr);
    if (!out.Close()) frame.Fatal(FatalError::ErrorWritingToFile);
    frame.EndCreation(M3uCreationComplete);
}

}  // namespace velmar
