// Running the command-line tools the tests exchange lists with.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace velmar::test {

// Whether the command `tool` ("xxhsum -H3") names is installed.
inline bool Installed(const std::string& tool) {
    return std::system(("command -v " + tool.substr(0, tool.find(' ')) + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs `command` through the shell in `folder`, its output thrown away;
// returns its exit status, or -1 when it did not exit normally.
inline int RunIn(const std::string& folder, const std::string& command) {
    const int status = std::system(("cd '" + folder + "' && " + command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs `command` in `folder`, its output made the file `list` there; the
// output is written beside the folder first, so that a list of the whole
// folder does not list itself. 0 when the command succeeded and the list
// holds something.
inline int MakeListIn(const std::string& folder, const std::string& command, const std::string& list) {
    return RunIn(folder, "t=$(mktemp) && " + command + " > \"$t\" 2>/dev/null && mv \"$t\" '" + list + "' && test -s '" +
                             list + "'");
}

}  // namespace velmar::test
