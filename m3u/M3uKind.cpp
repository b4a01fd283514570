#include "m3u/M3uKind.h"

#include "lists/DigestField.h"
#include "m3u/M3uPlaylistFormat.h"

namespace velmar {
namespace {

ListLine ReadLine(std::string_view piece, ReadPurpose) {
    ListLine line;
    if (IsM3uDigestLine(piece)) {
        line.kind = ListLineKind::DigestBeforeName;
        line.digest = DigestTextOfField(piece.substr(1), 32);
    }
    return line;
}

std::string Header(const CreationSetup&, std::time_t) { return std::string(M3uHeaderLine); }

std::string EntryLines(std::string_view name, const FileDigest& digest) { return M3uEntryLines(digest.Text(), name); }

}  // namespace

// Create M3U keeps whatever comment mode ComboBox1 shows, and the WinSFV
// box means nothing to a playlist.
const ListKind M3uKind{
    "M&3U",
    {"&Create M3U", "&Verify M3U", "&Select Verify"},
    {"F9", "F10", "F11"},
    ModeSelectVerifyM3u,
    {ModeCreateM3u,
     "m3u Filename",
     "default.m3u",
     ".m3u",
     false,
     CreateCommandKind::ComboBox::EnableKeepSelection,
     {"Create M3U: Select Files You Want to Add", "MP3 Files (*.mp3)|*.mp3|All files (*.*)|*.*", 1, true}},
    {"Verify M3U: Select M3U File to Verify", "M3U files (*.m3u)|*.m3u|All files (*.*)|*.*", 1, false},
    "M3U file creation complete!",
    DigestAlgorithm::Md5,
    ReadLine,
    "Error Reading M3U File.. Exiting",
    "Error Reading M3U File.. Exiting",
    /*entriesRequired=*/true,
    /*loadSetsProgressRange=*/true,
    /*retryWithoutLeadingBlanks=*/false,
    /*readFailureIsFatal=*/true,
    Header,
    &M3uCommentStyle,
    EntryLines,
    FitsOnM3uNameLine,
};

}  // namespace velmar
