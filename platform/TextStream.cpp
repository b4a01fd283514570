#include "platform/TextStream.h"

#include <cerrno>
#include <unistd.h>

#include <cstring>
#include <optional>

#include "platform/TextEncoding.h"

namespace velmar {

namespace {
constexpr char EndOfText = 0x1A;
}  // namespace

bool TextReader::Open(const std::string& path) {
    Close();
    if (!file_.Open(path)) return false;
    file_.AdviseSequential();
    if (input_.StartsWith("\xEF\xBB\xBF", 3)) input_.Skip(3);
    else if (input_.StartsWith("\xFF\xFE", 2)) DecodeUtf16(true);
    else if (input_.StartsWith("\xFE\xFF", 2)) DecodeUtf16(false);
    return true;
}

void TextReader::DecodeUtf16(bool littleEndian) {
    input_.Skip(2);
    std::string units;
    std::size_t got;
    while (const std::uint8_t* run = input_.Next(TextStreamBufferSize, got)) units.append(reinterpret_cast<const char*>(run), got);
    // The text ends at a Ctrl-Z as it would in UTF-8: whatever follows,
    // even bytes that are no UTF-16, is outside it.
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        const char low = units[littleEndian ? i : i + 1], high = units[littleEndian ? i + 1 : i];
        if (low == EndOfText && high == 0) {
            units.resize(i);
            break;
        }
    }
    std::optional<std::string> text = ToUtf8(units, littleEndian ? "UTF-16LE" : "UTF-16BE");
    decoded_ = true;
    decodeFailed_ = !text;
    text_ = text ? std::move(*text) : std::string();
}

void TextReader::Close() {
    file_.Close();
    input_.Reset();
    decoded_ = decodeFailed_ = false;
    text_.clear();
    textPos_ = 0;
}

bool TextReader::Peek(char& c) {
    if (!decoded_) return input_.Peek(c);
    if (textPos_ == text_.size()) return false;
    c = text_[textPos_];
    return true;
}

void TextReader::Skip() {
    if (decoded_) ++textPos_;
    else input_.Skip();
}

void TextReader::End() {
    if (decoded_) textPos_ = text_.size();
    else input_.End();
}

bool TextReader::ReadPiece(std::string& piece) {
    piece.clear();
    if (!file_.IsOpen()) return false;
    char c;
    while (piece.size() < MaxPiece && Peek(c)) {
        if (c == EndOfText) {
            // Everything after Ctrl-Z is outside the text, for good.
            End();
            break;
        }
        Skip();
        if (c == '\r') continue;
        piece.push_back(c);
        if (c == '\n') break;
    }
    return !piece.empty();
}

bool TextWriter::Create(const std::string& path) {
    Discard();
    // What could not be overwritten in place is not replaced either.
    failed_ = !OverwritableInPlace(path) || !file_.Create(path);
    buffer_.clear();
    buffer_.reserve(TextStreamBufferSize);
    return !failed_;
}

void TextWriter::Write(std::string_view text) {
    if (!file_.IsOpen()) {
        failed_ = true;
        return;
    }
    for (char c : text) {
        if (c == '\n') buffer_.push_back('\r');
        buffer_.push_back(c);
        if (buffer_.size() >= TextStreamBufferSize) Flush();
    }
}

void TextWriter::Flush() {
    if (!failed_ && !file_.Write(std::string_view(buffer_.data(), buffer_.size()))) failed_ = true;
    buffer_.clear();
}

bool TextWriter::Commit() {
    if (!file_.IsOpen()) return !failed_;
    Flush();
    if (failed_ || !file_.Commit()) {
        failed_ = true;
        file_.Discard();
    }
    return !failed_;
}

void TextWriter::Discard() {
    if (file_.IsOpen()) failed_ = true;
    file_.Discard();
    buffer_.clear();
}

}  // namespace velmar
