// M3U select-verify, on the UI thread: the load of a playlist into the rows
// and ExpectedMd5s. go! then checks the selected rows the way every list of
// MD5 digests is checked (md5list/Md5SelectVerify.h).
#pragma once

#include <string>

#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"

namespace velmar {

// The rows and ExpectedMd5s from the playlist at `path`, then the progress
// range over the rows. Unusable playlists end the program like the
// verification job's.
void LoadM3uSelectVerify(MainWindow& window, MainWindowState& state, const std::string& path);

}  // namespace velmar
