#include "platform/TextStream.h"

#include <cerrno>
#include <fcntl.h>
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

TextWriter::~TextWriter() { Close(); }

bool TextWriter::Create(const std::string& path) {
    Close();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    failed_ = fd_ < 0;
    buffer_.clear();
    buffer_.reserve(TextStreamBufferSize);
    return fd_ >= 0;
}

void TextWriter::Write(std::string_view text) {
    if (fd_ < 0) {
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
        ssize_t n = ::write(fd_, p, left);
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

bool TextWriter::Close() {
    if (fd_ < 0) return !failed_;
    Flush();
    if (::close(fd_) != 0) failed_ = true;
    fd_ = -1;
    return !failed_;
}

}  // namespace velmar
