// Many small files read through a batch reader against open, fstat, read and
// close a file: the system calls are most of what such a file costs.
//
//   batch_reads [COUNT [SIZE [FOLDER]]]   10000 files of 4096 bytes in /dev/shm
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/BatchReader.h"
#include "platform/Files.h"
#include "platform/ReadBuffer.h"

namespace {

// The files' bytes, to show that both ways read the same.
using ReadAll = std::function<std::uint64_t()>;

double Milliseconds(const ReadAll& read, std::uint64_t& bytes) {
    const auto start = std::chrono::steady_clock::now();
    bytes = read();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
    const std::size_t size = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 4096;
    std::string folder = std::string(argc > 3 ? argv[3] : "/dev/shm") + "/velmar-batch-XXXXXX";
    if (!::mkdtemp(folder.data())) return 2;
    std::vector<std::string> paths;
    const std::string bytes(size, 'x');
    for (std::size_t i = 0; i < count; ++i) {
        paths.push_back(folder + "/" + std::to_string(i));
        std::FILE* out = std::fopen(paths.back().c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }

    velmar::ReadBuffer buffer(65536);
    const ReadAll plain = [&] {
        std::uint64_t total = 0;
        for (const std::string& path : paths) {
            velmar::InputFile file;
            bool failed = false;
            if (file.Open(path)) total += file.ReadFull(buffer.data(), buffer.size(), failed);
        }
        return total;
    };
    const auto reader = velmar::BatchReader::Make();
    const ReadAll batched = [&] {
        std::uint64_t total = 0;
        for (std::size_t next = 0; next < paths.size();) {
            const auto found = reader->Read(std::span(paths).subspan(next));
            if (found.empty()) return std::uint64_t{0};
            for (const velmar::BatchedFile& file : found) total += file.whole ? file.bytesRead : 0;
            next += found.size();
        }
        return total;
    };

    std::uint64_t plainBytes = 0;
    std::uint64_t batchedBytes = 0;
    const double plainTime = Milliseconds(plain, plainBytes);
    std::printf("plain:   %8.1f ms  %6.2f us a file\n", plainTime, plainTime * 1000 / count);
    if (reader) {
        const double batchedTime = Milliseconds(batched, batchedBytes);
        std::printf("batched: %8.1f ms  %6.2f us a file  (%.2f of plain)%s\n", batchedTime,
                    batchedTime * 1000 / count, batchedTime / plainTime,
                    batchedBytes == plainBytes ? "" : "  BYTES DIFFER");
    } else {
        std::printf("batched: io_uring cannot be used here\n");
    }
    std::filesystem::remove_all(folder);
    return 0;
}
