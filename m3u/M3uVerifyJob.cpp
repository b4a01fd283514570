#include "m3u/M3uVerifyJob.h"

#include <string>
#include <vector>

#include "m3u/M3uDialogs.h"
#include "m3u/M3uPlaylistReader.h"
#include "md5list/Md5FileCheck.h"
#include "platform/Paths.h"
#include "platform/ReadBuffer.h"

namespace velmar {

void RunM3uVerify(JobFrame& frame) {
    auto playlist = frame.StartMenuVerify(M3uPlaylistDialog);
    if (!playlist) return;
    const std::string directory = ListDirectoryOf(*playlist);

    std::vector<std::string> digests;
    std::vector<std::string> names;
    ReadM3uPlaylist(frame, *playlist, digests, names);

    // Names are looked up exactly as listed, blanks and all.
    auto pathOfRow = [&](int row) { return ListedFilePath(directory, names[static_cast<std::size_t>(row)]); };
    ReadBuffer buffer;
    frame.BeginRowWalk();
    for (int row = 0; row < frame.RowCount(); ++row) {
        frame.QuitCheck();
        frame.RowDone(row, CheckListedMd5(frame, pathOfRow(row), digests[static_cast<std::size_t>(row)], buffer));
    }
    frame.EndRowWalk();
    frame.EndVerify(directory, pathOfRow);
}

void TMyThread6::Execute() {
    JobFrame frame(window_, state_);
    RunM3uVerify(frame);
}

}  // namespace velmar
