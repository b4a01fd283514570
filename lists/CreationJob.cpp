#include "lists/CreationJob.h"

#include "jobs/ChecksumEngine.h"
#include "jobs/Commands.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/TextStream.h"

namespace velmar {

void RunCreation(JobFrame& frame, const ListKind& kind, const ListTimes& times) {
    const CreationSetup setup = frame.Window().ReadCreationSetup();
    const int rows = static_cast<int>(setup.rows.size());
    frame.StartCreation(rows);

    // Taken before the comment-file dialog, which may look elsewhere.
    const std::string directory = frame.State().CreationDirectory;
    // Checked before the list is created or emptied.
    if (kind.nameFits)
        for (const std::string& name : setup.rows)
            if (!kind.nameFits(name)) frame.Fatal(FatalError::ErrorWritingToFile);

    TextWriter out;
    if (!out.Create(CreationListPath(frame.State(), setup.edit1))) frame.Fatal(FatalError::ErrorWritingToFile);
    frame.HoldList([&out] { out.Close(); });

    if (kind.header) out.Write(kind.header(setup, times.now ? times.now() : CurrentTime()));
    if (kind.comments)
        WriteCommentBlock(frame, out, *kind.comments,
                          {setup.comboBox1, setup.edit2, &setup.rows, directory, times.fileTime});

    {
        ChecksumEngine engine(rows, ChecksumEngine::WorkersFor(directory), kind.algorithm, [&](int row) {
            return ListedFilePath(directory, setup.rows[static_cast<std::size_t>(row)]);
        });
        // A quit or a fatal end lets the workers close their files, then the list.
        frame.HoldList([&] {
            engine.Stop();
            out.Close();
        });
        for (int row = 0; row < rows; ++row) {
            frame.QuitCheck();
            // A file chosen a moment ago that is gone or unreadable now is no
            // missing row here: the list would be wrong, so the job ends.
            const FileDigest digest = engine.Take(row);
            if (digest.status != FileDigestStatus::Ok) frame.Fatal(FatalError::ErrorReadingFile);
            out.Write(kind.entryLines(setup.rows[static_cast<std::size_t>(row)], digest));
            frame.RowDone(row, IconOk);
        }
        frame.HoldList([&out] { out.Close(); });
    }
    frame.EndRowWalk();

    // A list that did not reach the disk whole is no completed list.
    frame.HoldList(nullptr);
    if (!out.Close()) frame.Fatal(FatalError::ErrorWritingToFile);
    frame.EndCreation(kind.creationComplete);
}

}  // namespace velmar
