#include "platform/TextStream.h"

#include <cerrno>
#include <unistd.h>

namespace velmar {

namespace {
constexpr char EndOfText = 0x1A;
// How many bytes of a UTF-16 list are decoded at a time.
constexpr std::size_t Utf16Run = 16384;
}  // namespace

bool TextReader::Open(const std::string& path) {
    Close();
    if (!file_.Open(path)) return false;
    file_.AdviseSequential();
    if (input_.StartsWith("\xEF\xBB\xBF", 3)) input_.Skip(3);
    else if (input_.StartsWith("\xFF\xFE", 2)) StartUtf16(true);
    else if (input_.StartsWith("\xFE\xFF", 2)) StartUtf16(false);
    return true;
}

void TextReader::OpenText(std::string text) {
    Close();
    inMemory_ = true;
    text_ = std::move(text);
    if (text_.starts_with("\xEF\xBB\xBF")) textPos_ = 3;
}

void TextReader::StartUtf16(bool littleEndian) {
    input_.Skip(2);
    littleEndian_ = littleEndian;
    utf16_ = std::make_unique<Utf8Decoder>(littleEndian ? "UTF-16LE" : "UTF-16BE");
}

bool TextReader::DecodeMore() {
    text_.clear();
    textPos_ = 0;
    while (text_.empty() && !utf16Ended_) {
        std::size_t got;
        const std::uint8_t* run = input_.Next(Utf16Run, got);
        if (!run) {
            // A byte left over is half a code unit: no valid UTF-16.
            if (halfUnit_) decodeFailed_ = true;
            EndUtf16();
            break;
        }
        std::string_view bytes(reinterpret_cast<const char*>(run), got);
        if (halfUnit_) {
            const char unit[2] = {*halfUnit_, bytes.front()};
            halfUnit_.reset();
            bytes.remove_prefix(1);
            DecodeUnits(std::string_view(unit, 2));
            if (utf16Ended_) break;
        }
        if (bytes.size() % 2 != 0) {
            halfUnit_ = bytes.back();
            bytes.remove_suffix(1);
        }
        DecodeUnits(bytes);
    }
    return textPos_ < text_.size();
}

void TextReader::DecodeUnits(std::string_view units) {
    // The text ends at a Ctrl-Z as it would in UTF-8: whatever follows,
    // even bytes that are no UTF-16, is outside it.
    const std::size_t low = littleEndian_ ? 0 : 1;
    std::size_t end = 0;
    while (end < units.size() && !(units[end + low] == EndOfText && units[end + 1 - low] == 0)) end += 2;
    if (!utf16_->Decode(units.substr(0, end), text_)) {
        decodeFailed_ = true;
        EndUtf16();
    } else if (end < units.size()) {
        EndUtf16();
    }
}

void TextReader::EndUtf16() {
    if (!utf16_->CompleteText()) decodeFailed_ = true;
    utf16Ended_ = true;
    halfUnit_.reset();
    input_.End();
}

void TextReader::Close() {
    file_.Close();
    input_.Reset();
    utf16_.reset();
    utf16Ended_ = decodeFailed_ = inMemory_ = false;
    halfUnit_.reset();
    text_.clear();
    textPos_ = 0;
}

std::string_view TextReader::Ahead() {
    if (inMemory_) return std::string_view(text_).substr(textPos_);
    if (!utf16_) return input_.Ahead();
    if (textPos_ == text_.size() && !DecodeMore()) return {};
    return std::string_view(text_).substr(textPos_);
}

void TextReader::Take(std::size_t count) {
    if (utf16_ || inMemory_) textPos_ += count;
    else input_.Skip(count);
}

void TextReader::End() {
    if (utf16_ || inMemory_) {
        text_.clear();
        textPos_ = 0;
        utf16Ended_ = true;
    }
    input_.End();
}

bool TextReader::ReadPiece(std::string& piece) {
    piece.clear();
    if (!IsOpen()) return false;
    bool lineEnded = false;
    for (std::string_view text; !lineEnded && piece.size() < MaxPiece && !(text = Ahead()).empty();) {
        std::size_t used = 0;
        while (!lineEnded && piece.size() < MaxPiece && used < text.size()) {
            const char c = text[used];
            if (c == EndOfText) {
                // Everything after Ctrl-Z is outside the text, for good.
                End();
                return !piece.empty();
            }
            ++used;
            if (c == '\r') continue;
            piece.push_back(c);
            lineEnded = c == '\n';
        }
        Take(used);
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
        if (c == '\n' && lineEnd_ == LineEnd::CrLf) buffer_.push_back('\r');
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
