#include <algorithm>

#include "checksum/Md5.h"
#include "platform/Files.h"

namespace velmar {

namespace {

// MD5 takes the file 1,024 bytes at a time; the stream behind those reads
// fills the caller's whole buffer at once so that a large file costs few
// system calls.
constexpr std::size_t Md5ReadSize = 1024;

class BufferedBinaryStream {
public:
    BufferedBinaryStream(InputFile& file, ReadBuffer& buffer) : file_(file), buffer_(buffer) {}

    // Hands out the next run of buffered bytes in place, at most `count`.
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

    bool Failed() const { return failed_; }

private:
    bool Refill() {
        if (ended_) return false;
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

    InputFile& file_;
    ReadBuffer& buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

}  // namespace

MD5FileResult MD5FileDigest(const std::string& path, ReadBuffer& buffer) {
    MD5FileResult result;
    InputFile file;
    if (!file.Open(path)) return result;
    file.AdviseSequential();

    BufferedBinaryStream stream(file, buffer);
    MD5Context context;
    MD5Init(&context);
    // Each read hands MD5Update at most 1,024 bytes straight from the
    // stream's buffer; a short one happens only where a refill ends.
    for (;;) {
        std::size_t got = 0;
        const std::uint8_t* chunk = stream.Next(Md5ReadSize, got);
        if (got == 0) break;
        MD5Update(&context, chunk, static_cast<std::uint32_t>(got));
    }
    std::uint8_t digest[16];
    MD5Final(digest, &context);

    if (stream.Failed()) {
        result.status = FileDigestStatus::ReadFailed;
        return result;
    }
    result.status = FileDigestStatus::Ok;
    result.text = MD5DigestText(digest);
    return result;
}

}  // namespace velmar
