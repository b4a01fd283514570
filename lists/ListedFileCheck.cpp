#include "lists/ListedFileCheck.h"

#include "checksum/DigestText.h"
#include "platform/Paths.h"

namespace velmar {

std::unique_ptr<ChecksumEngine> ListedFilesEngine(const ListKind& kind, const std::string& listDirectory, int rows,
                                                  std::function<std::string_view(int row)> nameOf,
                                                  DigestWatch watch) {
    const int workers = ChecksumEngine::WorkersFor(listDirectory);
    auto pathOf = [listDirectory, nameOf](int row) { return ListedFilePath(listDirectory, nameOf(row)); };
    if (!kind.retryWithoutLeadingBlanks)
        return std::make_unique<ChecksumEngine>(rows, workers, kind.algorithm, pathOf, watch);
    auto digestOf = [&kind, listDirectory, nameOf, watch](int row, ReadBuffer& buffer) {
        // The digest's own open is the existence test: a file it cannot open
        // is missing.
        const std::string_view name = nameOf(row);
        FileDigest digest = DigestFile(kind.algorithm, ListedFilePath(listDirectory, name), buffer, watch);
        std::size_t first = 0;
        while (first < name.size() && static_cast<unsigned char>(name[first]) <= 0x20) ++first;
        if (digest.status == FileDigestStatus::OpenFailed && first > 0)
            digest = DigestFile(kind.algorithm, ListedFilePath(listDirectory, name.substr(first)), buffer, watch);
        return digest;
    };
    return std::make_unique<ChecksumEngine>(rows, workers, digestOf, watch);
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
