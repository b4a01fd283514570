// File > Check File..., Compare Files..., Verify Any List... and Verify All
// Lists in Folder...: a download's checks, a list of any kind and a whole
// library, each a job of its own in a fresh result list, on the UI thread
// until the job starts.
#pragma once

#include <string>

#include "app/MainWindow.h"
#include "app/MainWindowState.h"
#include "lists/ListKind.h"

namespace velmar {

// The dialog, then the file checked against the digest it was given, the
// entry of the list it was given (read as `kindOf` tells), or neither (its
// digests shown). A text that is neither a digest nor a file is refused
// with a message. A list that cannot be read is told, and Velmar stays.
// The dialog opens with what `given` holds (a file named at start-up).
void CheckFileCommand(MainWindow& window, MainWindowState& state, KindOfList kindOf,
                      const FileCheckRequest& given = {});

// The dialog, then the two files compared.
void CompareFilesCommand(MainWindow& window, MainWindowState& state);

// Every list below a folder verified against its own folder in one run
// (lists/LibraryJob.h): the folder given, or chosen in a dialog. A list
// that cannot be read is a row of its own, and Velmar stays.
void VerifyFolderCommand(MainWindow& window, MainWindowState& state, const std::string& given);

// A list of any kind chosen in a dialog offering `filter`, then verified
// as `kindOf` tells, as a list given at start-up is.
void VerifyAnyListCommand(MainWindow& window, MainWindowState& state, KindOfList kindOf, const std::string& filter);

}  // namespace velmar
