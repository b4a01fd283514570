#include "md5list/Md5Kind.h"

#include "lists/SumLine.h"

namespace velmar {

// Its name never follows the folder's: the first filter offers the default
// name "md5sum" and names that begin with it.
const ListKind Md5Kind{
    "&MD5",
    {"&Create MD5", "&Verify MD5", "&Select Verify"},
    {"F6", "F7", "F8"},
    ModeSelectVerifyMd5,
    {ModeCreateMd5,
     "MD5 Filename",
     "md5sum",
     nullptr,
     false,
     CreateCommandKind::ComboBox::Disable,
     {"Create MD5: Select Files You Want to Add",
      "CD Image (*.bin;*.iso;*.cue)|*.bin;*.iso;*.cue|All files (*.*)|*.*", 2, true}},
    {"Verify MD5: Select MD5 File to Verify", "MD5SUM (md5sum)|md5sum*|MD5 files (*.md5)|*.md5|All files (*.*)|*.*", 1,
     false},
    "MD5 file creation complete!",
    DigestAlgorithm::Md5,
    ReadSumListLineOf<32>,
    "Error Reading MD5 File.. Exiting",
    "Error Reading MD5 File.. Exiting",
    /*entriesRequired=*/true,
    /*loadSetsProgressRange=*/false,
    /*retryWithoutLeadingBlanks=*/false,
    /*readFailureIsFatal=*/true,
    nullptr,
    nullptr,
    SumEntryLines,
    nullptr,
};

}  // namespace velmar
