// The open-file dialogs of the SFV commands and the Create SFV command's
// window preparation.
#pragma once

#include "jobs/Commands.h"
#include "jobs/MainWindow.h"

namespace velmar {

inline const OpenFileRequest VerifySfvDialog{
    "Verify SFV: Select SFV File to Verify",
    "SFV files (*.sfv)|*.sfv|Text files (*.txt)|*.txt|All files (*.*)|*.*", 1, false};

inline const CreateCommandKind CreateSfvKind{
    ModeCreateSfv,
    "SFV Filename",
    "default.sfv",
    ".sfv",
    true,
    CreateCommandKind::ComboBox::SelectDefaultAndEnable,
    {"Create SFV: Select Files You Want to Add",
     "MP3 files (*.mp3)|*.mp3|RAR files (*.r?\?)|*.r??|All files (*.*)|*.*", 3, true}};

inline constexpr const char* SfvCreationComplete = "SFV file creation complete!";

}  // namespace velmar
