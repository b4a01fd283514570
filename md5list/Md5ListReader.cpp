#include "md5list/Md5ListReader.h"

#include "md5list/DigestField.h"
#include "md5list/ListPieces.h"
#include "md5list/Md5ListFormat.h"

namespace velmar {

int ReadMd5List(JobFrame& frame, const std::string& path, std::vector<std::string>& digests,
                std::vector<std::string>& names) {
    ListPieces list(frame, FatalError::ErrorReadingMd5File);
    list.Open(path);
    int count = 0;
    std::string piece;
    while (list.Next(piece)) {
        auto entry = ParseMd5EntryLine(piece);
        if (!entry) continue;
        frame.AddPendingRow(entry->name);
        if (entry->digest.size() != DigestFieldLength) frame.Fatal(FatalError::ErrorReadingMd5File);
        digests.push_back(std::move(entry->digest));
        names.push_back(std::move(entry->name));
        ++count;
    }
    list.Close();
    if (count == 0) frame.Fatal(FatalError::ErrorReadingMd5File);
    return count;
}

}  // namespace velmar
