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
        commands.Kinds.push_back({bind(CreateCommand, kind, ModesOfKind(i)), bind(VerifyCommand, kind),
                                  bind(SelectVerifyCommand, kind, ModesOfKind(i)), bind(CreateGo, kind),
                                  bind(SelectVerifyGo, kind)});
    }
    commands.CommandLineVerify = bind(CommandLineVerifyCommand, CommandLineKind());
    return commands;
}

}  // namespace velmar
