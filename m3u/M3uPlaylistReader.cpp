#include "m3u/M3uPlaylistReader.h"

#include "m3u/M3uPlaylistFormat.h"
#include "md5list/DigestField.h"
#include "md5list/ListPieces.h"

namespace velmar {

int ReadM3uPlaylist(JobFrame& frame, const std::string& path, std::vector<std::string>& digests,
                    std::vector<std::string>& names) {
    ListPieces playlist(frame, FatalError::ErrorReadingM3uFile);
    playlist.Open(path);
    int count = 0;
    std::string line;
    std::string nameLine;
    while (playlist.Next(line)) {
        if (!IsM3uDigestLine(line)) continue;
        if (!playlist.Next(nameLine)) break;
        std::string name(UpToNul(WithoutLineEnd(nameLine)));
        frame.AddPendingRow(name);
        std::string digest(DigestTextOfField(std::string_view(line).substr(1)));
        if (digest.size() != DigestFieldLength) frame.Fatal(FatalError::ErrorReadingM3uFile);
        digests.push_back(std::move(digest));
        names.push_back(std::move(name));
        ++count;
    }
    playlist.Close();
    if (count == 0) frame.Fatal(FatalError::ErrorReadingM3uFile);
    return count;
}

}  // namespace velmar
