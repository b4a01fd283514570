#include "lists/CommentBlocks.h"

#include <cinttypes>
#include <cstdio>
#include <vector>

#include "platform/Clock.h"
#include "platform/Paths.h"

namespace velmar {

namespace {

std::string LeadLine(char lead) { return std::string(1, lead) + "\n"; }

// Each piece of the comment file after "<lead> ", its own line feed kept, so
// an over-long line stays one line made of several prefixed pieces.
void WriteCommentFile(JobFrame& frame, TextWriter& out, const CommentStyle& style, const std::string& path) {
    if (path.empty()) return;
    TextReader comments;
    if (!comments.Open(path)) frame.Fatal(FatalError::ErrorReadingFile);
    const std::string prefix{style.lead, ' '};
    std::string piece;
    while (comments.ReadPiece(piece)) {
        out.Write(prefix);
        // The piece is text: a NUL byte ends it.
        out.Write(std::string_view(piece).substr(0, piece.find('\0')));
    }
    if (comments.Failed()) frame.Fatal(FatalError::ErrorReadingFile);
    comments.Close();
    out.Write(LeadLine(style.lead));
}

void WriteFileInfo(JobFrame& frame, TextWriter& out, const CommentStyle& style, const CommentBlockInput& input) {
    if (style.fileInfoOpensWithLeadLine) out.Write(LeadLine(style.lead));
    if (input.rows) {
        for (const std::string& name : *input.rows) {
            InputFile file;
            if (!file.Open(ChosenFilePath(input.directory, name))) frame.Fatal(FatalError::ErrorReadingFile);
            const std::time_t created = input.timeOf ? input.timeOf(file) : file.CreationTime();
            out.Write(FileInfoLine(style.lead, file.Size(), created, name));
        }
    }
    out.Write(LeadLine(style.lead));
}

}  // namespace

std::string FileInfoLine(char lead, std::int64_t size, std::time_t created, std::string_view name) {
    char number[32];
    std::snprintf(number, sizeof number, "%13" PRId64, size);
    std::string line(1, lead);
    line += number;
    line += "  ";
    line += FileInfoTimeText(created);
    line += ' ';
    line += name;
    line += " \n";
    return line;
}

void WriteCommentBlock(JobFrame& frame, TextWriter& out, const CommentStyle& style, const CommentBlockInput& input) {
    switch (input.mode) {
        case CommentModeFile: WriteCommentFile(frame, out, style, input.commentFile); break;
        case CommentModeOneLine:
            out.Write(std::string{style.lead, ' '});
            out.Write(input.oneLineComment);
            out.Write("\n");
            out.Write(LeadLine(style.lead));
            break;
        case CommentModeFileInfo: WriteFileInfo(frame, out, style, input); break;
        default: break;
    }
}

}  // namespace velmar
