#include "lists/ListedFileCheck.h"

#include "checksum/DigestText.h"
#include "platform/Paths.h"

namespace velmar {

FileDigest DigestListedFile(const ListKind& kind, std::string_view listDirectory, std::string_view name,
                            ReadBuffer& buffer) {
    // The digest's own open is the existence test: a file it cannot open is
    // missing. Opening it once more beforehand would only cost a system call
    // per file and leave the same outcome.
    FileDigest digest = DigestFile(kind.algorithm, ListedFilePath(listDirectory, name), buffer);
    if (digest.status == FileDigestStatus::OpenFailed && kind.retryWithoutLeadingBlanks) {
        std::size_t first = 0;
        while (first < name.size() && static_cast<unsigned char>(name[first]) <= 0x20) ++first;
        if (first > 0) digest = DigestFile(kind.algorithm, ListedFilePath(listDirectory, name.substr(first)), buffer);
    }
    return digest;
}

StatusIcon JudgeListedFile(JobFrame& frame, const ListKind& kind, const FileDigest& digest,
                           std::string_view expected) {
    switch (digest.status) {
        case FileDigestStatus::OpenFailed: return IconNA;
        case FileDigestStatus::ReadFailed:
            if (kind.readFailureIsFatal) frame.Fatal(FatalError::ErrorReadingFile);
            break;
        case FileDigestStatus::Ok: break;
    }
    return DigestTextsMatch(digest.Digits(), expected, kind.Digits()) ? IconOk : IconBad;
}

}  // namespace velmar
