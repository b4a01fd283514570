#include "platform/TextStream.h"

#include <cerrno>
#include <unistd.h>

#include <cstring>

namespace velmar {

namespace {
constexpr char EndOfText = 0x1A;
}  // namespace

bool TextReader::Open(const std::string& path) {
    Close();
    if (!file_.Open(path)) return false;
    file_.AdviseSequential();
    return true;
}

void TextReader::Close() {
    file_.Close();
    input_.Reset();
}

bool TextReader::ReadPiece(std::string& piece) {
    piece.clear();
    if (!file_.IsOpen()) return false;
    char c;
    while (piece.size() < MaxPiece && input_.Peek(c)) {
        if (c == EndOfText) {
            // Everything after Ctrl-Z is outside the text, for good.
            input_.End();
            break;
        }
        input_.Skip();
        if (c == '\r') continue;
        piece.push_back(c);
        if (c == '\n') break;
    }
    return !piece.empty();
}

bool TextWriter::Create(const std::string& path) {
    Discard();
    failed_ = !file_.Create(path);
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
    const char* p = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0 && !failed_) {
        ssize_t n = ::write(file_.Descriptor(), p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            failed_ = true;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
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
