#include "lists/ListedFileCheck.h"

#include "checksum/DigestText.h"

namespace velmar {

std::unique_ptr<ChecksumEngine> ListedFilesEngine(const ListKind& kind, ListedFileFinder& finder, int rows,
                                                  std::function<std::string_view(int row)> nameOf,
                                                  DigestWatch watch) {
    return std::make_unique<ChecksumEngine>(
        rows, ChecksumEngine::ReadersFor(finder.Directory()), kind.algorithm,
        [&finder, nameOf](int row) { return finder.ListedPath(nameOf(row)); }, watch,
        [&finder, nameOf](int row, bool missing) { return finder.Fallback(nameOf(row), missing); });
}

StatusIcon JudgeListedFile(JobFrame& frame, const ListKind& kind, const FileDigest& digest,
                           std::string_view expected) {
    switch (digest.status) {
        case FileDigestStatus::Stopped: return IconPending;
        case FileDigestStatus::OpenFailed: return IconNA;
        case FileDigestStatus::ReadFailed:
            if (kind.readFailureIsFatal) frame.Fatal(FatalError::ErrorReadingFile);
            break;
        case FileDigestStatus::Ok: break;
    }
    return DigestTextsMatch(digest.Digits(), expected, kind.Digits()) ? IconOk : IconBad;
}

}  // namespace velmar
