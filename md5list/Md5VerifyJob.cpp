#include "md5list/Md5VerifyJob.h"

#include <string>
#include <vector>

#include "md5list/Md5Dialogs.h"
#include "md5list/Md5FileCheck.h"
#include "md5list/Md5ListReader.h"
#include "platform/Paths.h"

namespace velmar {

void RunMd5Verify(JobFrame& frame) {
    auto list = frame.StartMenuVerify(Md5ListDialog);
    if (!list) return;
    const std::string directory = ListDirectoryOf(*list);

    std::vector<std::string> digests;
    std::vector<std::string> names;
    ReadMd5List(frame, *list, digests, names);
    VerifyListedMd5s(frame, directory, digests, names);
}

}  // namespace velmar
