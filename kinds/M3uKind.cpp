#include "kinds/M3uKind.h"

#include "lists/DigestField.h"
#include "lists/ListableName.h"
#include "kinds/M3uPlaylistFormat.h"

namespace velmar {
namespace {

ListLine ReadLine(std::string_view piece, const ListKind&, ReadPurpose, ListReadState&) {
    ListLine line;
    if (IsM3uDigestLine(piece)) {
        line.kind = ListLineKind::DigestBeforeName;
        line.digest = DigestTextOfField(piece.substr(1), 32);
    }
    return line;
}

std::string Header(const CreationInputs&, std::time_t) { return std::string(M3uHeaderLine); }

std::string EntryLines(std::string_view name, const FileDigest& digest, const ListKind&, const ListReadState&) {
    return M3uEntryLines(digest.Text(), name);
}

// A line end of its own would split the name over two lines and lose the
// entry on reading back.
const char* NameUnfit(std::string_view name) {
    return HoldsLineEnd(name) ? "an M3U list has no way to write a line end in a name" : nullptr;
}

}  // namespace

const ListKind M3uKind{
    .name = "M3U",
    .algorithm = DigestAlgorithm::Md5,
    .namePatterns = {"*.m3u"},
    .firstName = "default.m3u",
    .folderExtension = ".m3u",
    .readLine = ReadLine,
    .bsdTag = nullptr,
    .opensslTag = nullptr,
    .sidecarExtensions = {},
    .listMissingMessage = "Error Reading M3U File.. Exiting",
    .listUnusableMessage = "Error Reading M3U File.. Exiting",
    .entriesRequired = true,
    .retryWithoutLeadingBlanks = false,
    .readFailureIsFatal = true,
    .header = Header,
    .comments = &M3uCommentStyle,
    .entryLines = EntryLines,
    .nameUnfit = NameUnfit,
};

// Create M3U keeps whatever comment mode was chosen last, and the WinSFV
// box means nothing to a playlist.
const KindTexts M3uTexts{
    .menuCaption = "M&3U",
    .menuGroup = nullptr,
    .itemCaptions = {"&Create M3U", "&Verify M3U", "&Select Verify", "Create from &Folder..."},
    .itemKeys = {"F9", "F10", "F11", "Ctrl+F9"},
    .create = {.label = "m3u Filename",
               .winsfvOffered = false,
               .comments = CreateTexts::CommentChoice::OfferedAsLeft,
               .dialog = {.title = "Create M3U: Select Files You Want to Add",
                          .filter = "MP3 Files (*.mp3)|*.mp3|All files (*.*)|*.*",
                          .filterIndex = 1,
                          .multiple = true},
               .folderTitle = "Create M3U: Select Folder to Add"},
    .verifyDialog = {.title = "Verify M3U: Select M3U File to Verify",
                     .filter = "M3U files (*.m3u)|*.m3u|All files (*.*)|*.*",
                     .filterIndex = 1,
                     .multiple = false},
    .creationComplete = "M3U file creation complete!",
    .loadSetsProgressRange = true,
    .mimeType = "audio/x-mpegurl",
    .declaresMimeType = false,
};

}  // namespace velmar
