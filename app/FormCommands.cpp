#include "app/FormCommands.h"

#include "lists/KindCommands.h"
#include "registry/ListKinds.h"

namespace velmar {

FormCommands ListKindCommands(MainWindow& window, MainWindowState& state) {
    using KindCommand = void (*)(MainWindow&, MainWindowState&, const ListKind&);
    auto bind = [&window, &state](KindCommand command, const ListKind& kind) {
        return [&window, &state, command, &kind] { command(window, state, kind); };
    };
    FormCommands commands;
    for (const ListKind* kind : ListKinds())
        commands.Kinds.push_back({bind(CreateCommand, *kind), bind(VerifyCommand, *kind),
                                  bind(SelectVerifyCommand, *kind), bind(CreateGo, *kind),
                                  bind(SelectVerifyGo, *kind)});
    commands.CommandLineVerify = bind(CommandLineVerifyCommand, CommandLineKind());
    return commands;
}

}  // namespace velmar
