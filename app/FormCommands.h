// What the main window's menu items, go! and the command line run. The
// window only dispatches; the list kinds supply the work. Tests put their
// own entries here.
#pragma once

#include <functional>
#include <vector>

#include "app/MainWindow.h"
#include "app/MainWindowState.h"

namespace velmar {

struct FormCommands {
    using Command = std::function<void()>;

    // One list kind's menu items and go! in its two modes.
    struct Kind {
        Command Create, Verify, SelectVerify, CreateFromFolder;
        Command GoCreate, GoSelectVerify;
    };

    Command RegisterSfvFileType;
    Command About;
    // The list named on the command line or dropped on the window.
    Command CommandLineVerify;
    // What --verify, --create or --check asked for at start-up (state.Start).
    Command CommandLineStart;
    // File > Audit List and Add New Files, for a list of any kind.
    Command Audit, AddNewFiles;
    // File > Verify Any List, Verify All Lists in Folder, Check File and
    // Compare Files.
    Command VerifyAnyList, VerifyFolder, CheckFile, CompareFiles;
    // In the order of ListKinds(); a missing one does nothing.
    std::vector<Kind> Kinds;
};

using FormCommandsFactory = std::function<FormCommands(MainWindow&, MainWindowState&)>;

// Every registered list kind's commands.
FormCommands ListKindCommands(MainWindow& window, MainWindowState& state);

}  // namespace velmar
