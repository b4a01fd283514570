// The open-file dialogs and the Create command of the MD5 list kind.
#pragma once

#include "jobs/Commands.h"
#include "jobs/MainWindow.h"

namespace velmar {

// Verify MD5 and MD5 Select Verify: one existing list. The first filter
// offers the default name "md5sum" and names that begin with it.
inline const OpenFileRequest Md5ListDialog{
    "Verify MD5: Select MD5 File to Verify",
    "MD5SUM (md5sum)|md5sum*|MD5 files (*.md5)|*.md5|All files (*.*)|*.*",
    1,
    false,
};

// Create MD5: the files to list, all files preselected.
inline const OpenFileRequest Md5CreateDialog{
    "Create MD5: Select Files You Want to Add",
    "CD Image (*.bin;*.iso;*.cue)|*.bin;*.iso;*.cue|All files (*.*)|*.*",
    2,
    true,
};

// An MD5 list has no comments and no compatibility header, and its name
// never follows the folder's.
inline const CreateCommandKind Md5CreateKind{
    ModeCreateMd5,
    "MD5 Filename",
    "md5sum",
    nullptr,
    false,
    CreateCommandKind::ComboBox::Disable,
    Md5CreateDialog,
};

inline constexpr const char* Md5CreationComplete = "MD5 file creation complete!";

}  // namespace velmar
