#include "checksum/Md5.h"
#include "platform/BufferedInput.h"
#include "platform/Files.h"

namespace velmar {

namespace {

// MD5 takes the file 1,024 bytes at a time, straight from a buffer that
// is refilled whole so that a large file costs few system calls.
constexpr std::size_t Md5ReadSize = 1024;

}  // namespace

MD5FileResult MD5FileDigest(const std::string& path, ReadBuffer& buffer) {
    MD5FileResult result;
    InputFile file;
    if (!file.Open(path)) return result;
    file.AdviseSequential();

    BufferedInput stream(file, buffer);
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
