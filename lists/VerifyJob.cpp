#include "lists/VerifyJob.h"

#include <vector>

#include "checksum/ChecksumEngine.h"
#include "lists/ListReading.h"
#include "lists/ListedFileCheck.h"
#include "platform/Paths.h"

namespace velmar {

void VerifyList(JobFrame& frame, const ListKind& kind, const std::string& listPath, const std::string& listDirectory,
                ReadPurpose purpose) {
    ListedEntries entries(kind.Digits());
    ListedFileFinder finder(kind, listDirectory, listPath);
    ReadListEntries(frame, kind, listPath, purpose, finder, entries);

    frame.Sink().ListChecked(listPath);
    frame.BeginRowWalk([&](int row) { return finder.SizeOf(entries.Name(row)); });
    {
        auto engine = ListedFilesEngine(kind, finder, frame.RowCount(), [&entries](int row) { return entries.Name(row); },
                                        frame.Watch());
        // A quit or a fatal end stops the reads under way and closes the
        // workers' files before the end.
        frame.HoldList([&engine] { engine->Stop(); });
        for (int row = 0; row < frame.RowCount(); ++row) {
            frame.QuitCheck();
            // Rows not reached stay pending; so does a file stopped part way.
            if (frame.StopCheck()) break;
            const FileDigest digest = engine->Take(row);
            if (digest.status == FileDigestStatus::Stopped && frame.StopCheck()) break;
            const StatusIcon icon = JudgeListedFile(frame, kind, digest, entries.Digest(row));
            frame.RowDone(row, icon, ListedFileDetails(finder, entries.Name(row), entries.Digest(row), digest, icon));
        }
        frame.HoldList(nullptr);
    }
    frame.EndRowWalk();
    frame.EndVerify(finder.Directory(), [&](int row) { return finder.PathOf(entries.Name(row)); });
}

void VerifyList(JobFrame& frame, const ListKind& kind, const std::string& listPath, ReadPurpose purpose) {
    VerifyList(frame, kind, listPath, ListDirectoryOf(listPath), purpose);
}

}  // namespace velmar
