// What the fuzz targets share: the input as a file a reader can open.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>


namespace velmar::fuzz {

// An in-memory file holding the input, reachable by path while it lives.
class InputFile {
public:
    InputFile(const std::uint8_t* data, std::size_t size) {
        fd_ = ::memfd_create("velmar-fuzz", 0);
        for (std::size_t done = 0; done < size;) {
            const ssize_t n = ::write(fd_, data + done, size - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~InputFile() { ::close(fd_); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace velmar::fuzz
