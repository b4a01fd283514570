#include "checksum/Crc32.h"

#include "platform/Files.h"

namespace velmar {

Crc32FileResult Crc32File(const std::string& path, ReadBuffer& buffer) {
    Crc32FileResult result;
    InputFile file;
    if (!file.Open(path)) return result;
    result.opened = true;
    file.AdviseSequential();

    std::size_t chunk = buffer.size() < CrcReadChunk ? buffer.size() : CrcReadChunk;
    std::uint32_t crc = Crc32Init();
    for (;;) {
        ssize_t n = file.Read(buffer.data(), chunk);
        if (n == 0) break;
        if (n < 0) {
            // The value of the bytes before the error stands; the caller
            // learns of the error and decides whether it may use it.
            result.readFailed = true;
            break;
        }
        crc = Crc32Update(crc, buffer.data(), static_cast<std::size_t>(n));
    }
    result.crc = Crc32Final(crc);
    return result;
}

}  // namespace velmar
