#include "md5list/Md5Kind.h"

#include "lists/SumLine.h"

namespace velmar {

// Its name never follows the folder's: the first filter offers the default
// name "md5sum" and names that begin with it.
const ListKind Md5Kind{
    .menuCaption = "&MD5",
    .itemCaptions = {"&Create MD5", "&Verify MD5", "&Select Verify"},
    .itemKeys = {"F6", "F7", "F8"},
    .create = {.label = "MD5 Filename",
               .firstName = "md5sum",
               .extension = nullptr,
               .checkBox1Enabled = false,
               .comboBox1 = CreateCommandKind::ComboBox::Disable,
               .dialog = {.title = "Create MD5: Select Files You Want to Add",
                          .filter = "CD Image (*.bin;*.iso;*.cue)|*.bin;*.iso;*.cue|All files (*.*)|*.*",
                          .filterIndex = 2,
                          .multiple = true}},
    .verifyDialog = {.title = "Verify MD5: Select MD5 File to Verify",
                     .filter = "MD5SUM (md5sum)|md5sum*|MD5 files (*.md5)|*.md5|All files (*.*)|*.*",
                     .filterIndex = 1,
                     .multiple = false},
    .creationComplete = "MD5 file creation complete!",
    .algorithm = DigestAlgorithm::Md5,
    .readLine = ReadSumListLine,
    .bsdTag = "MD5",
    .listMissingMessage = "Error Reading MD5 File.. Exiting",
    .listUnusableMessage = "Error Reading MD5 File.. Exiting",
    .entriesRequired = true,
    .loadSetsProgressRange = false,
    .retryWithoutLeadingBlanks = false,
    .readFailureIsFatal = true,
    .header = nullptr,
    .comments = nullptr,
    .entryLines = SumEntryLines,
    .nameUnfit = nullptr,
};

}  // namespace velmar
