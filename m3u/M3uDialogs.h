// The open-file dialogs of the M3U commands and the Create M3U command's
// window preparation.
#pragma once

#include "jobs/Commands.h"
#include "jobs/MainWindow.h"

namespace velmar {

// Verify M3U and M3U Select Verify: one existing playlist.
inline const OpenFileRequest M3uPlaylistDialog{
    "Verify M3U: Select M3U File to Verify", "M3U files (*.m3u)|*.m3u|All files (*.*)|*.*", 1, false};

// Create M3U keeps whatever comment mode ComboBox1 shows, and the WinSFV
// box means nothing to a playlist.
inline const CreateCommandKind CreateM3uKind{
    ModeCreateM3u,
    "m3u Filename",
    "default.m3u",
    ".m3u",
    false,
    CreateCommandKind::ComboBox::EnableKeepSelection,
    {"Create M3U: Select Files You Want to Add", "MP3 Files (*.mp3)|*.mp3|All files (*.*)|*.*", 1, true}};

inline constexpr const char* M3uCreationComplete = "M3U file creation complete!";

}  // namespace velmar
