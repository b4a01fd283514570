#include "app/FormCommands.h"

#include "app/CheckCommands.h"
#include "app/KindCommands.h"
#include "kinds/ListKinds.h"

namespace velmar {

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
    for (const auto& [command, mode] : {std::pair{&FormCommands::Audit, AuditMode::Audit},
                                       std::pair{&FormCommands::AddNewFiles, AuditMode::AddNewFiles}})
        commands.*command = [&window, &state, mode] { AuditCommand(window, state, mode, ListKindOf, AllListsFilter()); };
    commands.VerifyAnyList = [&window, &state] { VerifyAnyListCommand(window, state, ListKindOf, AllListsFilter()); };
    commands.CheckFile = [&window, &state] { CheckFileCommand(window, state, ListKindOf); };
    commands.CompareFiles = [&window, &state] { CompareFilesCommand(window, state); };
    return commands;
}

}  // namespace velmar
