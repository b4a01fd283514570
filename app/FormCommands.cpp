#include "app/FormCommands.h"

#include "lists/KindCommands.h"
#include "registry/ListKinds.h"

namespace velmar {

FormCommands ListKindCommands(MainWindow& window, MainWindowState& state) {
    using KindCommand = void (*)(MainWindow&, MainWindowState&, const ListKind&);
    auto bind = [&window, &state](KindCommand command, const ListKind& kind) {
        return [&window, &state, command, &kind] { command(window, state, kind); };
    };
    using ModalCommand = void (*)(MainWindow&, MainWindowState&, const ListKind&, KindModes);
    auto bindModes = [&window, &state](ModalCommand command, const ListKind& kind, KindModes modes) {
        return [&window, &state, command, &kind, modes] { command(window, state, kind, modes); };
    };
    FormCommands commands;
    const auto kinds = ListKinds();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const ListKind& kind = *kinds[i];
        commands.Kinds.push_back({bindModes(CreateCommand, kind, ModesOfKind(i)), bind(VerifyCommand, kind),
                                  bindModes(SelectVerifyCommand, kind, ModesOfKind(i)), bind(CreateGo, kind),
                                  bind(SelectVerifyGo, kind)});
    }
    commands.CommandLineVerify = bind(CommandLineVerifyCommand, CommandLineKind());
    return commands;
}

}  // namespace velmar
