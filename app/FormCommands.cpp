#include "app/FormCommands.h"

#include "m3u/M3uCommands.h"
#include "md5list/Md5Commands.h"
#include "sfv/SfvCommands.h"

namespace velmar {

FormCommands ListKindCommands(MainWindow& window, MainWindowState& state) {
    auto bind = [&window, &state](void (*command)(MainWindow&, MainWindowState&)) {
        return [&window, &state, command] { command(window, state); };
    };
    FormCommands commands;
    commands.CreateSfv = bind(CreateSfvCommand);
    commands.VerifySfv = bind(VerifySfvCommand);
    commands.SelectVerifySfv = bind(SelectVerifySfvCommand);
    commands.GoCreateSfv = bind(CreateSfvGo);
    commands.GoSelectVerifySfv = bind(SelectVerifySfvGo);
    commands.CommandLineVerify = bind(StartCommandLineSfvVerify);
    commands.CreateMd5 = bind(CreateMd5Command);
    commands.VerifyMd5 = bind(VerifyMd5Command);
    commands.SelectVerifyMd5 = bind(SelectVerifyMd5Command);
    commands.GoCreateMd5 = bind(CreateMd5Go);
    commands.GoSelectVerifyMd5 = bind(SelectVerifyMd5Go);
    commands.CreateM3u = bind(CreateM3uCommand);
    commands.VerifyM3u = bind(VerifyM3uCommand);
    commands.SelectVerifyM3u = bind(SelectVerifyM3uCommand);
    commands.GoCreateM3u = bind(CreateM3uGo);
    commands.GoSelectVerifyM3u = bind(SelectVerifyM3uGo);
    return commands;
}

}  // namespace velmar
