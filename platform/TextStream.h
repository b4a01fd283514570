// Text-mode list streams. Lists are CR LF text files read the way a text-mode
// C stream on the original platform read them: every CR byte vanishes, a
// 0x1A byte ends the text, and lines come in pieces of at most 511 bytes as
// a 512-byte line buffer would take them. A list saved by an editor with a
// byte-order mark is read as its text: a UTF-8 mark is dropped, and a list
// in UTF-16 (either byte order) is read as the same text in UTF-8, decoded
// as it is read.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BufferedInput.h"
#include "platform/Files.h"
#include "platform/ReadBuffer.h"
#include "platform/ReplacementFile.h"
#include "platform/TextEncoding.h"

namespace velmar {

// Both directions buffer 64 KiB: a list of thousands of lines is read and
// written in a few system calls.
inline constexpr std::size_t TextStreamBufferSize = 65536;

class TextReader {
public:
    static constexpr std::size_t MaxPiece = 511;

    TextReader() = default;
    // A reader that asks the file for at most `bufferSize` bytes at a time,
    // for a look at a list's start that should read no more of it.
    explicit TextReader(std::size_t bufferSize) : buffer_(bufferSize) {}

    bool Open(const std::string& path);
    // Reads `text` as if it were a file's (a clearsigned list's signed part).
    void OpenText(std::string text);
    bool IsOpen() const { return file_.IsOpen() || inMemory_; }
    void Close();

    // Next piece: ends just after its line feed, or holds MaxPiece bytes, or
    // is the last bytes of the text. A piece may hold NUL bytes; its size is
    // its true length. False when no byte is left (end, 0x1A or read error).
    bool ReadPiece(std::string& piece);

    // A read error ended the text early, or its UTF-16 was no valid text:
    // the pieces up to the fault came out first, as before a read error.
    bool Failed() const { return input_.Failed() || decodeFailed_; }

private:
    void StartUtf16(bool littleEndian);
    bool DecodeMore();
    void DecodeUnits(std::string_view units);
    void EndUtf16();
    // The text not yet taken, as much of it as is at hand; empty at its end.
    std::string_view Ahead();
    void Take(std::size_t count);
    void End();

    InputFile file_;
    ReadBuffer buffer_{TextStreamBufferSize};
    BufferedInput input_{file_, buffer_};
    // A UTF-16 list, decoded a run at a time as the pieces need it: its
    // reading holds one run's text, however long the list.
    std::unique_ptr<Utf8Decoder> utf16_;
    bool littleEndian_ = true;
    bool utf16Ended_ = false;
    bool decodeFailed_ = false;
    // The first byte of a code unit whose second comes in the next run.
    std::optional<char> halfUnit_;
    // With utf16_, the run decoded; when inMemory_, the whole text.
    bool inMemory_ = false;
    std::string text_;
    std::size_t textPos_ = 0;
};

// How the lines of a written list end: CR LF, which every reader takes, or
// a line feed alone, for the one tool that takes nothing else (b3sum).
enum class LineEnd { CrLf, Lf };

class TextWriter {
public:
    explicit TextWriter(LineEnd lineEnd = LineEnd::CrLf) : lineEnd_(lineEnd) {}
    ~TextWriter() { Discard(); }
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    // Starts the text that replaces the file at `path` (see ReplacementFile);
    // `path` stays as it was until Commit.
    bool Create(const std::string& path);
    bool IsOpen() const { return file_.IsOpen(); }

    // Sets room aside for `bytes` bytes of the file (see ReplacementFile);
    // false when the disk has none.
    bool Reserve(std::uint64_t bytes) { return file_.Reserve(bytes); }

    // Writes the text as given, each line feed as the line end. The text is
    // data, never a format.
    void Write(std::string_view text);

    // Flushes the text and puts it in place of `path`; false, leaving `path`
    // as it was, if any write failed. Safe to call twice.
    bool Commit();
    // Drops the text; `path` stays as it was. Safe to call twice.
    void Discard();

private:
    void Flush();

    LineEnd lineEnd_;
    ReplacementFile file_;
    bool failed_ = false;
    std::vector<char> buffer_;
};

}  // namespace velmar
