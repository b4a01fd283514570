// The comment block a creation job writes after its header, by the comment
// mode chosen. The kinds that carry comments write the same
// blocks and differ only in their style: the lead character of a comment
// line, whether the file-info block opens with a line holding only the lead,
// and the title of the comment-file dialog.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/JobFrame.h"
#include "platform/Files.h"
#include "platform/TextStream.h"

namespace velmar {

enum CommentMode {
    CommentModeFile = 0,      // "Add Comment File"
    CommentModeOneLine = 1,   // "Add One Line Comment"
    CommentModeFileInfo = 2,  // "Add File Info Comment"
    CommentModeNone = 3,      // "No Comments"
};

inline constexpr const char* CommentFileFilter = "TXT files (*.txt)|*.txt|NFO files (*.nfo)|*.nfo|All files (*.*)|*.*";

struct CommentStyle {
    char lead;                        // ';' or '#'
    bool fileInfoOpensWithLeadLine;   // a line holding only the lead comes before the file-info lines
    const char* commentFileTitle;     // the title of the dialog that picks a comment file
};

// The time a file-info line shows for an open file. Empty: the file's
// creation time as the file system keeps it.
using FileTimeOf = std::function<std::time_t(const InputFile& file)>;

// What the block needs of the job: the user's choices, and where the
// listed files lie.
struct CommentBlockInput {
    int mode = CommentModeNone;     // a CommentMode; anything outside 0..3 writes nothing
    std::string oneLineComment;
    std::string commentFile;        // the comment file chosen; "" writes no block
    const std::vector<std::string>* rows = nullptr;  // the listed names, in row order
    std::string directory;          // the folder of the listed files
    FileTimeOf timeOf;
};

// Writes the block. A listed file, or a chosen comment file, that
// cannot be read ends the job with "Error Reading File.. Exiting".
void WriteCommentBlock(JobFrame& frame, TextWriter& out, const CommentStyle& style, const CommentBlockInput& input);

// lead, the size right-aligned in 13 columns (never cut, never negative for
// files past 2 GiB), two blanks, the time text, a blank, the name, a blank,
// line feed.
std::string FileInfoLine(char lead, std::int64_t size, std::time_t created, std::string_view name);

}  // namespace velmar
