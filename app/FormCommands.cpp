#include "app/FormCommands.h"

#include "lists/KindCommands.h"
#include "registry/ListKinds.h"

namespace velmar {

FormCommands ListKindCommands(MainWindow& window, MainWindowState& state) {
    // A command with its kind and, for the two that set go!'s mode, the
    // kind's modes.
    auto bind = [&window, &state](auto command, const ListKind& kind, auto... modes) {
        return [&window, &state, command, &kind, modes...] { command(window, state, kind, modes...); };
    };
    FormCommands commands;
    const auto kinds = ListKinds();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const ListKind& kind = *kinds[i];
        commands.Kinds.push_back({.Create = bind(CreateCommand, kind, ModesOfKind(i)),
                                  .Verify = bind(VerifyCommand, kind),
                                  .SelectVerify = bind(SelectVerifyCommand, kind, ModesOfKind(i)),
                                  .CreateFromFolder = bind(CreateFromFolderCommand, kind, ModesOfKind(i)),
                                  .GoCreate = bind(CreateGo, kind),
                                  .GoSelectVerify = bind(SelectVerifyGo, kind)});
    }
    commands.CommandLineVerify = [&window, &state] { CommandLineVerifyCommand(window, state, ListKindOf); };
    for (const auto& [command, mode] : {std::pair{&FormCommands::Audit, AuditMode::Audit},
                                       std::pair{&FormCommands::AddNewFiles, AuditMode::AddNewFiles}})
        commands.*command = [&window, &state, mode] { AuditCommand(window, state, mode, ListKindOf, AllListsFilter()); };
    return commands;
}

}  // namespace velmar
