#include "md5list/Md5FileCheck.h"

#include "checksum/Md5.h"

namespace velmar {

StatusIcon CheckListedMd5(JobFrame& frame, const std::string& path, std::string_view expected, ReadBuffer& buffer) {
    // The digest's own open is the existence test: a file it cannot open is
    // missing. Opening it once more beforehand would only cost a system call
    // per file and leave the same outcome.
    MD5FileResult digest = MD5FileDigest(path, buffer);
    switch (digest.status) {
        case FileDigestStatus::OpenFailed: return IconNA;
        case FileDigestStatus::ReadFailed: frame.Fatal(FatalError::ErrorReadingFile);
        case FileDigestStatus::Ok: break;
    }
    return MD5DigestTextsMatch(digest.text, expected) ? IconOk : IconBad;
}

}  // namespace velmar
