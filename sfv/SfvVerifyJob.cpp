#include "sfv/SfvVerifyJob.h"

#include <cstdint>
#include <vector>

#include "platform/Paths.h"
#include "platform/ReadBuffer.h"
#include "platform/TextStream.h"
#include "sfv/ResolveListedFile.h"
#include "sfv/SfvDialogs.h"

namespace velmar {

void VerifySfvList(JobFrame& frame, const std::string& listPath, const std::string& listDirectory,
                   SfvChecksumPolicy policy) {
    TextReader list;
    if (!list.Open(listPath)) frame.Fatal(FatalError::SfvFileDoesNotExist);
    frame.HoldList([&list] { list.Close(); });

    std::vector<std::string> names;
    std::vector<std::uint32_t> expected;
    std::string piece;
    for (;;) {
        frame.QuitCheck();
        if (!list.ReadPiece(piece)) break;
        SfvLine line = ParseSfvLine(piece, policy);
        if (line.kind == SfvLineKind::Skip) continue;
        if (line.kind != SfvLineKind::Entry) frame.Fatal(FatalError::BadSfvFile);
        frame.AddPendingRow(line.entry.name);
        names.push_back(std::move(line.entry.name));
        expected.push_back(line.entry.expectedCrc);
    }
    // A list cut short by a read error would pass its missing entries off
    // as checked.
    if (list.Failed()) frame.Fatal(FatalError::BadSfvFile);
    list.Close();
    frame.HoldList(nullptr);

    frame.BeginRowWalk();
    ReadBuffer buffer;
    for (int row = 0; row < frame.RowCount(); ++row) {
        frame.QuitCheck();
        const auto i = static_cast<std::size_t>(row);
        auto crc = ResolveListedFile(listDirectory, names[i], buffer);
        frame.RowDone(row, !crc ? IconNA : (*crc == expected[i] ? IconOk : IconBad));
    }
    frame.EndRowWalk();
    frame.EndVerify(listDirectory, [&](int row) { return ListedFilePath(listDirectory, names[static_cast<std::size_t>(row)]); });
}

void RunCommandLineSfvVerify(JobFrame& frame) {
    frame.StartCommandLineVerify();
    const std::string path = frame.State().CommandLinePath;
    VerifySfvList(frame, path, ListDirectoryOf(path), SfvChecksumPolicy::SkipBadLengthOrDigit);
}

void RunMenuSfvVerify(JobFrame& frame) {
    auto path = frame.StartMenuVerify(VerifySfvDialog);
    if (!path) return;
    VerifySfvList(frame, *path, ListDirectoryOf(*path), SfvChecksumPolicy::SkipBadLength);
}

}  // namespace velmar
