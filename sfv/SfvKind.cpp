#include "sfv/SfvKind.h"

#include "checksum/DigestText.h"
#include "sfv/SfvLine.h"
#include "sfv/SfvWriter.h"

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

ListLine ReadLine(std::string_view piece, ReadPurpose purpose) {
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

std::string Header(const CreationSetup& setup, std::time_t now) { return SfvHeaderBlock(setup.checkBox1, now); }

std::string EntryLines(std::string_view name, const FileDigest& digest) { return SfvEntryLine(name, Crc32Of(digest)); }

}  // namespace

const ListKind SfvKind{
    "&SFV",
    {"&Create SFV", "&Verify SFV", "&Select Verify"},
    {"F3", "F4", "F5"},
    ModeSelectVerifySfv,
    {ModeCreateSfv,
     "SFV Filename",
     "default.sfv",
     ".sfv",
     true,
     CreateCommandKind::ComboBox::SelectDefaultAndEnable,
     {"Create SFV: Select Files You Want to Add",
      "MP3 files (*.mp3)|*.mp3|RAR files (*.r?\?)|*.r??|All files (*.*)|*.*", 3, true}},
    {"Verify SFV: Select SFV File to Verify", "SFV files (*.sfv)|*.sfv|Text files (*.txt)|*.txt|All files (*.*)|*.*",
     1, false},
    "SFV file creation complete!",
    DigestAlgorithm::Crc32,
    ReadLine,
    "SFV File Does Not Exist.. Exiting",
    "Bad SFV File.. Exiting",
    /*entriesRequired=*/false,
    /*loadSetsProgressRange=*/false,
    /*retryWithoutLeadingBlanks=*/true,
    /*readFailureIsFatal=*/false,
    Header,
    &SfvCommentStyle,
    EntryLines,
    nullptr,
};

}  // namespace velmar
