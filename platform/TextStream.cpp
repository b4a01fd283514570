#include "platform/TextStream.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace velmar {

namespace {
constexpr std::size_t StreamBufferSize = 65536;
constexpr char EndOfText = 0x1A;
}  // namespace

bool TextReader::Open(const std::string& path) {
    Close();
    if (!file_.Open(path)) return false;
    file_.AdviseSequential();
    buffer_.resize(StreamBufferSize);
    return true;
}

void TextReader::Close() {
    file_.Close();
    pos_ = end_ = 0;
    ended_ = failed_ = false;
}

bool TextReader::Refill() {
    if (ended_ || !file_.IsOpen()) return false;
    ssize_t n = file_.Read(buffer_.data(), buffer_.size());
    if (n <= 0) {
        ended_ = true;
        failed_ = n < 0;
        return false;
    }
    pos_ = 0;
    end_ = static_cast<std::size_t>(n);
    return true;
}

bool TextReader::ReadPiece(std::string& piece) {
    piece.clear();
    while (piece.size() < MaxPiece) {
        if (pos_ == end_ && !Refill()) break;
        char c = buffer_[pos_];
        if (c == EndOfText) {
            // Everything after Ctrl-Z is outside the text, for good.
            ended_ = true;
            pos_ = end_ = 0;
            break;
        }
        ++pos_;
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
    buffer_.reserve(StreamBufferSize);
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
        if (buffer_.size() >= StreamBufferSize) Flush();
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
