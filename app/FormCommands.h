// What the main window's menu items, go! and the command line run. The
// window only dispatches; the list kinds supply the work. Tests put their
// own entries here.
#pragma once

#include <functional>

#include "jobs/MainWindow.h"
#include "jobs/MainWindowState.h"

namespace velmar {

struct FormCommands {
    using Command = std::function<void()>;

    Command RegisterSfvFileType;
    Command CreateSfv, VerifySfv, SelectVerifySfv;
    Command CreateMd5, VerifyMd5, SelectVerifyMd5;
    Command CreateM3u, VerifyM3u, SelectVerifyM3u;
    Command About;
    // The list named on the command line or dropped on the window.
    Command CommandLineVerify;
    // go! by JobMode.
    Command GoCreateSfv, GoSelectVerifySfv;
    Command GoCreateMd5, GoSelectVerifyMd5;
    Command GoCreateM3u, GoSelectVerifyM3u;
};

using FormCommandsFactory = std::function<FormCommands(MainWindow&, MainWindowState&)>;

// The three list kinds' commands.
FormCommands ListKindCommands(MainWindow& window, MainWindowState& state);

}  // namespace velmar
