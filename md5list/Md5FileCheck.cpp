#include "md5list/Md5FileCheck.h"

#include "checksum/Md5.h"
#include "platform/Paths.h"

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

void VerifyListedMd5s(JobFrame& frame, const std::string& listDirectory, const std::vector<std::string>& digests,
                      const std::vector<std::string>& names) {
    auto pathOfRow = [&](int row) { return ListedFilePath(listDirectory, names[static_cast<std::size_t>(row)]); };
    ReadBuffer buffer;
    frame.BeginRowWalk();
    for (int row = 0; row < frame.RowCount(); ++row) {
        frame.QuitCheck();
        frame.RowDone(row, CheckListedMd5(frame, pathOfRow(row), digests[static_cast<std::size_t>(row)], buffer));
    }
    frame.EndRowWalk();
    frame.EndVerify(listDirectory, pathOfRow);
}

}  // namespace velmar
