#include "m3u/M3uSelectVerify.h"

#include <vector>

#include "jobs/JobFrame.h"
#include "m3u/M3uPlaylistReader.h"

namespace velmar {

void LoadM3uSelectVerify(MainWindow& window, MainWindowState& state, const std::string& path) {
    JobFrame frame(window, state);
    state.ExpectedMd5s.clear();
    std::vector<std::string> names;
    const int rows = ReadM3uPlaylist(frame, path, state.ExpectedMd5s, names);
    window.SetProgressRange(0, rows);
    window.RepaintWindow();
}

}  // namespace velmar
