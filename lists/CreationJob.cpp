#include "lists/CreationJob.h"

#include "jobs/ChecksumEngine.h"
#include "jobs/Commands.h"
#include "lists/ListableName.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/TextStream.h"

namespace velmar {

void RunCreation(JobFrame& frame, const ListKind& kind, const ListTimes& times) {
    const CreationSetup setup = frame.Window().ReadCreationSetup();
    const int rows = static_cast<int>(setup.rows.size());
    frame.StartCreation(rows);

    // Taken before the comment-file dialog, which may look elsewhere.
    const std::string directory = frame.State().CreationDirectory;
    // go! refuses a name the list cannot carry with a message; a caller
    // that starts the job without go!'s checks still gets no list that
    // cannot be read back.
    const std::optional<std::uint64_t> entriesSize = ListableEntriesSize(kind, setup.rows);
    if (!entriesSize) frame.Fatal(FatalError::ErrorWritingToFile);

    // The list is written beside its target and takes its place only once
    // complete: a stop, a quit or a fatal end leaves an old list as it was,
    // or no list at all. What is sure to fail at the end (a folder that
    // takes no new file, a target the rename may not replace, a disk
    // without room for the entries) fails here, before a file is read.
    TextWriter out(kind.lineEnd);
    if (!out.Create(CreationListPath(frame.State(), setup.edit1))) frame.Fatal(FatalError::ErrorWritingToFile);
    frame.HoldList([&out] { out.Discard(); });
    if (!out.Reserve(*entriesSize)) frame.Fatal(FatalError::ErrorWritingToFile);

    if (kind.header) out.Write(kind.header(setup, times.now ? times.now() : CurrentTime()));
    if (kind.comments)
        WriteCommentBlock(frame, out, *kind.comments,
                          {setup.comboBox1, setup.edit2, &setup.rows, directory, times.fileTime});

    int row = 0;
    const auto pathOf = [&](int each) { return ChosenFilePath(directory, setup.rows[static_cast<std::size_t>(each)]); };
    frame.BeginRowWalk([&](int each) { return RegularFileSize(pathOf(each)).value_or(0); });
    {
        ChecksumEngine engine(rows, ChecksumEngine::ReadersFor(directory), kind.algorithm, pathOf, frame.Watch());
        // A quit or a fatal end stops the reads under way and closes the
        // workers' files before the end.
        frame.HoldList([&] {
            engine.Stop();
            out.Discard();
        });
        for (; row < rows; ++row) {
            frame.QuitCheck();
            if (frame.StopCheck()) break;
            const FileDigest digest = engine.Take(row);
            if (digest.status == FileDigestStatus::Stopped && frame.StopCheck()) break;
            // A file chosen a moment ago that is gone or unreadable now is no
            // missing row here: the list would be wrong, so the job ends.
            if (digest.status != FileDigestStatus::Ok) frame.Fatal(FatalError::ErrorReadingFile);
            out.Write(kind.entryLines(setup.rows[static_cast<std::size_t>(row)], digest, {}));
            frame.RowDone(row, IconOk);
        }
        frame.HoldList([&out] { out.Discard(); });
    }
    frame.EndRowWalk();

    frame.HoldList(nullptr);
    if (row < rows)
        out.Discard();  // stopped
    else if (!out.Commit())
        frame.Fatal(FatalError::ErrorWritingToFile);  // a list that did not reach the disk whole
    frame.EndCreation(kind.creationComplete);
}

}  // namespace velmar
