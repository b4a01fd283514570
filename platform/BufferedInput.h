// An open file's bytes taken one buffer at a time: each refill asks for the
// whole buffer, so a large file costs few system calls. Readers take runs of
// bytes in place, or look at the bytes ahead before they take some.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Files.h"
#include "platform/ReadBuffer.h"

namespace velmar {

class BufferedInput {
public:
    BufferedInput(InputFile& file, ReadBuffer& buffer) : file_(file), buffer_(buffer) {}

    // The next run of buffered bytes, at most `count`, in place. Sets `got`
    // to 0 and returns nullptr at the end of the file or after a read error.
    const std::uint8_t* Next(std::size_t count, std::size_t& got) {
        if (pos_ == end_ && !Refill()) {
            got = 0;
            return nullptr;
        }
        got = std::min(count, end_ - pos_);
        const std::uint8_t* p = buffer_.data() + pos_;
        pos_ += got;
        return p;
    }

    // The bytes buffered and not yet taken, left in place for Skip: empty
    // at the end or after a read error.
    std::string_view Ahead() {
        if (pos_ == end_ && !Refill()) return {};
        return std::string_view(reinterpret_cast<const char*>(buffer_.data()) + pos_, end_ - pos_);
    }

    // True when the bytes not yet taken begin with `bytes`, as far as one
    // buffer shows them (a list's first bytes always fit).
    bool StartsWith(const char* bytes, std::size_t count) {
        if (pos_ == end_ && !Refill()) return false;
        return end_ - pos_ >= count && std::equal(bytes, bytes + count, buffer_.data() + pos_,
                                                  [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
    }
    void Skip(std::size_t count) { pos_ += count; }

    // Hands out nothing more, as if the file ended here.
    void End() {
        ended_ = true;
        pos_ = end_ = 0;
    }
    // Forgets what was buffered and how the last file ended.
    void Reset() {
        pos_ = end_ = 0;
        ended_ = failed_ = false;
    }

    bool Failed() const { return failed_; }

private:
    bool Refill() {
        if (ended_) return false;
        const ssize_t n = file_.Read(buffer_.data(), buffer_.size());
        if (n <= 0) {
            ended_ = true;
            failed_ = n < 0;
            return false;
        }
        pos_ = 0;
        end_ = static_cast<std::size_t>(n);
        return true;
    }

    InputFile& file_;
    ReadBuffer& buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

}  // namespace velmar
