// A file size limit for the length of a test: every write past `bytes` into
// a regular file then fails with EFBIG, as on a full disk, without root and
// without a special file (SIGXFSZ, which would end the process, is ignored
// meanwhile).
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace velmar::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

}  // namespace velmar::test
