// What velmar-cli is asked to do, read from its arguments.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "lists/ListKind.h"

namespace velmar {

enum class CliCommand { Verify, Create, Audit, Add, Check, Compare, Help, Version };

// How the rows reach standard output.
enum class RowOutput {
    Every,     // a line per row in md5sum -c's words
    Problems,  // --quiet: the rows that are not OK
    Nothing,   // --status
    Json,      // --json: an object per row, and one for the summary
};

struct CliOptions {
    CliCommand command = CliCommand::Help;
    const ListKind* kind = nullptr;  // --kind; told from each list when null
    std::string output;              // create's -o
    // create's --comment: a comment file, one line of text, the file-info
    // block (the default) or none.
    int commentMode = CommentModeFileInfo;
    std::string commentText;  // text:TEXT
    std::string commentFile;  // file:PATH
    bool winsfv = false;
    bool renameBad = false;  // Yes to "Rename Bad Files?"
    bool update = false;     // Yes to "Update List?"
    bool force = false;      // Yes to "File Exists. Overwrite?"
    bool despiteBadSignature = false;  // Yes to "The list's signature is BAD. Check its files anyway?"
    bool ignoreMissing = false;        // verify's: a listed file that is not there is no row
    bool recursive = false;            // verify's: every list below each folder given
    RowOutput rows = RowOutput::Every;
    bool tag = false;       // check's digests in the BSD form: "SHA256 (FILE) = DIGEST"
    std::string checkList;  // check's --list: the list that names the file
    // The lists, the files or folder to list, or the file to check (and the
    // digest it is checked against), or the two files to compare.
    std::vector<std::string> paths;
};

// The options, or the reason they make no command.
std::variant<CliOptions, std::string> ParseCliOptions(const std::vector<std::string>& arguments);

// The usage text, naming every kind.
std::string CliUsage();

}  // namespace velmar
