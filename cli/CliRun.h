// velmar-cli's commands, each the window's own command and job driven
// through a ConsoleWindow, and its exit status.
#pragma once

#include "cli/CliOptions.h"

namespace velmar {

// Runs the command and returns the exit status: 0 when every listed file
// is present and matches (and an audit finds nothing new or moved); 1 for
// a list that cannot be read or was not checked, or a command that cannot
// start; else the sum of 2 (a file BAD), 4 (a file missing or unreadable),
// 8 (files new or moved), 16 (stopped by SIGINT or SIGTERM) and 32 (a
// list's signature BAD, by a key the keyring lacks, or unusable).
int RunCli(const CliOptions& options);

}  // namespace velmar
