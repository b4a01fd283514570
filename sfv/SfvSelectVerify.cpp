#include "sfv/SfvSelectVerify.h"

#include "jobs/JobFrame.h"
#include "platform/ReadBuffer.h"
#include "platform/TextStream.h"
#include "sfv/ResolveListedFile.h"
#include "sfv/SfvLine.h"

namespace velmar {

void LoadSelectVerifySfvList(MainWindow& window, MainWindowState& state, const std::string& listPath) {
    JobFrame frame(window, state);
    state.ExpectedCrcs.clear();
    TextReader list;
    if (!list.Open(listPath)) frame.Fatal(FatalError::SfvFileDoesNotExist);
    frame.HoldList([&list] { list.Close(); });

    std::string piece;
    for (;;) {
        frame.QuitCheck();
        if (!list.ReadPiece(piece)) break;
        SfvLine line = ParseSfvLine(piece, SfvChecksumPolicy::ExitOnBadLength);
        if (line.kind == SfvLineKind::Skip) continue;
        if (line.kind == SfvLineKind::Fatal) frame.Fatal(FatalError::BadSfvFile);
        window.AddRow(line.entry.name, IconPending);
        if (line.kind == SfvLineKind::FatalAfterRow) frame.Fatal(FatalError::BadSfvFile);
        state.ExpectedCrcs.push_back(line.entry.expectedCrc);
    }
    if (list.Failed()) frame.Fatal(FatalError::BadSfvFile);
    list.Close();
    frame.HoldList(nullptr);
}

void CheckSelectedSfvRows(MainWindow& window, MainWindowState& state) {
    ReadBuffer buffer;
    SelectVerifyPass(window, state, [&](int row) {
        auto crc = ResolveListedFile(state.ListDirectory, window.RowText(row), buffer);
        if (!crc) return IconNA;
        const auto i = static_cast<std::size_t>(row);
        return i < state.ExpectedCrcs.size() && *crc == state.ExpectedCrcs[i] ? IconOk : IconBad;
    });
}

}  // namespace velmar
