#include "m3u/M3uVerifyJob.h"

#include <string>
#include <vector>

#include "m3u/M3uDialogs.h"
#include "m3u/M3uPlaylistReader.h"
#include "md5list/Md5FileCheck.h"
#include "platform/Paths.h"

namespace velmar {

void RunM3uVerify(JobFrame& frame) {
    auto playlist = frame.StartMenuVerify(M3uPlaylistDialog);
    if (!playlist) return;
    const std::string directory = ListDirectoryOf(*playlist);

    std::vector<std::string> digests;
    std::vector<std::string> names;
    ReadM3uPlaylist(frame, *playlist, digests, names);
    VerifyListedMd5s(frame, directory, digests, names);
}

}  // namespace velmar
