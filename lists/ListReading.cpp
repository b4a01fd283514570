#include "lists/ListReading.h"

#include "lists/DigestField.h"
#include "lists/ListPieces.h"

namespace velmar {

int ReadListEntries(JobFrame& frame, const ListKind& kind, const std::string& path, ReadPurpose purpose,
                    std::vector<std::string>& digests, std::vector<std::string>& names) {
    ListPieces list(frame, kind.listMissingMessage, kind.listUnusableMessage);
    list.Open(path);
    int count = 0;
    std::string piece;
    std::string nameLine;
    while (list.Next(piece)) {
        ListLine line = kind.readLine(piece, purpose);
        if (line.kind == ListLineKind::Skip) continue;
        if (line.kind == ListLineKind::Unusable) frame.Fatal(kind.listUnusableMessage);
        if (line.kind == ListLineKind::DigestBeforeName) {
            // Whatever the next line holds is the name; a digest line at the
            // very end adds nothing.
            if (!list.Next(nameLine)) break;
            line.name = UpToNul(WithoutLineEnd(nameLine));
        }
        frame.AddPendingRow(line.name);
        if (line.kind == ListLineKind::EntryThenUnusable || line.digest.size() != kind.Digits())
            frame.Fatal(kind.listUnusableMessage);
        digests.push_back(std::move(line.digest));
        names.push_back(std::move(line.name));
        ++count;
    }
    list.Close();
    if (kind.entriesRequired && count == 0) frame.Fatal(kind.listUnusableMessage);
    return count;
}

}  // namespace velmar
