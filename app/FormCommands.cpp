#include "app/FormCommands.h"

#include "app/CheckCommands.h"
#include "app/Commands.h"
#include "app/KindCommands.h"
#include "kinds/ListKinds.h"
#include "platform/Paths.h"

namespace velmar {

namespace {

void RunCommandLineStart(MainWindow& window, MainWindowState& state) {
    const WindowStart& start = state.Start;
    switch (start.action) {
        case WindowStart::Action::None: return;
        case WindowStart::Action::VerifyFirst:
        case WindowStart::Action::VerifyLists: return CommandLineVerifyListsCommand(window, state, ListKindOf, start.paths);
        case WindowStart::Action::VerifyFolder:
            return VerifyFolderCommand(window, state, start.paths.empty() ? std::string() : start.paths.front());
        case WindowStart::Action::Create: return RunGivenCreateCommand(window, state, start.kind, start.paths);
        case WindowStart::Action::Check:
            return CheckFileCommand(window, state, ListKindOf,
                                    {.file = start.paths.empty() ? std::string() : AbsolutePath(start.paths.front()),
                                     .digestOrList = start.digest});
    }
}

}  // namespace

FormCommands ListKindCommands(MainWindow& window, MainWindowState& state) {
    // A command with its kind.
    auto bind = [&window, &state](auto command, const ListKind& kind) {
        return [&window, &state, command, &kind] { command(window, state, kind); };
    };
    FormCommands commands;
    const auto kinds = ListKinds();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const ListKind& kind = *kinds[i];
        commands.Kinds.push_back({.Create = bind(CreateCommand, kind),
                                  .Verify = bind(VerifyCommand, kind),
                                  .SelectVerify = bind(SelectVerifyCommand, kind),
                                  .CreateFromFolder = bind(CreateFromFolderCommand, kind),
                                  .GoCreate = bind(CreateGo, kind),
                                  .GoSelectVerify = bind(SelectVerifyGo, kind)});
    }
    commands.CommandLineVerify = [&window, &state] { CommandLineVerifyCommand(window, state, ListKindOf); };
    commands.CommandLineStart = [&window, &state] { RunCommandLineStart(window, state); };
    for (const auto& [command, mode] : {std::pair{&FormCommands::Audit, AuditMode::Audit},
                                       std::pair{&FormCommands::AddNewFiles, AuditMode::AddNewFiles}})
        commands.*command = [&window, &state, mode] { AuditCommand(window, state, mode, ListKindOf, AllListsFilter()); };
    commands.VerifyAnyList = [&window, &state] { VerifyAnyListCommand(window, state, ListKindOf, AllListsFilter()); };
    commands.VerifyFolder = [&window, &state] { VerifyFolderCommand(window, state, {}); };
    commands.CheckFile = [&window, &state] { CheckFileCommand(window, state, ListKindOf); };
    commands.CompareFiles = [&window, &state] { CompareFilesCommand(window, state); };
    return commands;
}

}  // namespace velmar
