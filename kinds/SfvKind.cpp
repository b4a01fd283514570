#include "kinds/SfvKind.h"

#include "checksum/DigestText.h"
#include "lists/CreationJob.h"
#include "lists/ListableName.h"
#include "kinds/SfvLine.h"
#include "kinds/SfvWriter.h"

namespace velmar {
namespace {

// The command line and a drop read most strictly, select-verify refuses a
// list with a field of the wrong length, the menu skips such lines.
SfvChecksumPolicy PolicyOf(ReadPurpose purpose) {
    switch (purpose) {
        case ReadPurpose::MenuVerify: return SfvChecksumPolicy::SkipBadLength;
        case ReadPurpose::CommandLineVerify: return SfvChecksumPolicy::SkipBadLengthOrDigit;
        case ReadPurpose::SelectVerify: return SfvChecksumPolicy::ExitOnBadLength;
    }
    return SfvChecksumPolicy::SkipBadLength;
}

ListLine ReadLine(std::string_view piece, const ListKind&, ReadPurpose purpose, ListReadState&) {
    SfvLine sfv = ParseSfvLine(piece, PolicyOf(purpose));
    ListLine line;
    line.name = std::move(sfv.entry.name);
    switch (sfv.kind) {
        case SfvLineKind::Skip: break;
        case SfvLineKind::Fatal: line.kind = ListLineKind::Unusable; break;
        case SfvLineKind::FatalAfterRow: line.kind = ListLineKind::EntryThenUnusable; break;
        case SfvLineKind::Entry: {
            // The field's value as the CRC's own eight digits, so that it is
            // compared like every other digest.
            line.kind = ListLineKind::Entry;
            line.digest = HexText32(sfv.entry.expectedCrc);
            break;
        }
    }
    return line;
}

std::string Header(const CreationInputs& inputs, std::time_t now) { return SfvHeaderBlock(inputs.winsfv, now); }

std::string EntryLines(std::string_view name, const FileDigest& digest, const ListKind&, const ListReadState&) {
    return SfvEntryLine(name, Crc32Of(digest));
}

const char* NameUnfit(std::string_view name) {
    if (HoldsLineEnd(name)) return "an SFV list has no way to write a line end in a name";
    if (name.starts_with(';')) return "an SFV list takes a line that begins with ';' for a comment";
    return nullptr;
}

}  // namespace

const ListKind SfvKind{
    .name = "SFV",
    .algorithm = DigestAlgorithm::Crc32,
    .namePatterns = {"*.sfv"},
    .firstName = "default.sfv",
    .folderExtension = ".sfv",
    .readLine = ReadLine,
    .bsdTag = nullptr,
    .opensslTag = nullptr,
    .sidecarExtensions = {},
    .listMissingMessage = "SFV File Does Not Exist.. Exiting",
    .listUnusableMessage = "Bad SFV File.. Exiting",
    .entriesRequired = false,
    .retryWithoutLeadingBlanks = true,
    .readFailureIsFatal = false,
    .header = Header,
    .comments = &SfvCommentStyle,
    .entryLines = EntryLines,
    .nameUnfit = NameUnfit,
};

const KindTexts SfvTexts{
    .menuCaption = "&SFV",
    .menuGroup = nullptr,
    .itemCaptions = {"&Create SFV", "&Verify SFV", "&Select Verify", "Create from &Folder..."},
    .itemKeys = {"F3", "F4", "F5", "Ctrl+F3"},
    .create = {.label = "SFV Filename",
               .winsfvOffered = true,
               .comments = CreateTexts::CommentChoice::FileInfoOffered,
               .dialog = {.title = "Create SFV: Select Files You Want to Add",
                          .filter = "MP3 files (*.mp3)|*.mp3|RAR files (*.r?\?)|*.r??|All files (*.*)|*.*",
                          .filterIndex = 3,
                          .multiple = true},
               .folderTitle = "Create SFV: Select Folder to Add"},
    .verifyDialog = {.title = "Verify SFV: Select SFV File to Verify",
                     .filter = "SFV files (*.sfv)|*.sfv|Text files (*.txt)|*.txt|All files (*.*)|*.*",
                     .filterIndex = 1,
                     .multiple = false},
    .creationComplete = "SFV file creation complete!",
    .loadSetsProgressRange = false,
    .mimeType = "text/x-sfv",
    .declaresMimeType = true,
};

}  // namespace velmar
