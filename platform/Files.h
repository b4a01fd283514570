// Files as the list jobs see them: shared read-only opens of regular files,
// block reads, existence, size and creation time, and a rename that never
// replaces anything.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace velmar {

// The system's words for an errno value ("Permission denied"); safe on any
// thread.
std::string SystemErrorText(int error);

// A file opened read-only as bytes. Other processes may go on reading and
// writing it. Only regular files open: a folder, FIFO or device is refused,
// because a folder read as a file would pass for an empty one and a FIFO or
// device could block or never end.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // False when the path does not exist, may not be read or is no regular file.
    bool Open(const std::string& path);
    // The last Open failed because nothing is at the path.
    bool Missing() const { return missing_; }
    // Why the last Open failed: its errno, or -1 for a file that is no
    // regular file.
    int OpenError() const { return openError_; }
    // The errno of the last read that failed.
    int ReadError() const { return readError_; }
    bool IsOpen() const { return fd_ >= 0; }
    void Close();

    // Tells the kernel the file will be read front to back, once.
    void AdviseSequential();

    // Up to `count` bytes; 0 at the end of the file, -1 on a read error.
    // An interrupted read is retried. On the kernel's own file systems a
    // read short of `count` that reaches the size the file had when opened
    // is its end: the next read returns 0 without asking the kernel.
    ssize_t Read(void* buffer, std::size_t count);

    // Up to `count` bytes from `offset`, leaving the file's position alone,
    // so that several threads may read one open file at once: 0 at or past
    // the end, -1 with `error` set on a read error. An interrupted read is
    // retried.
    ssize_t ReadAt(void* buffer, std::size_t count, std::uint64_t offset, int& error) const;

    // Fills `buffer` as far as the file allows: short only at the end or on an
    // error. Returns the bytes delivered and sets `failed` on an error.
    std::size_t ReadFull(void* buffer, std::size_t count, bool& failed);

    std::int64_t Size() const;
    // The size the file had when opened, without asking again.
    std::uint64_t OpenedSize() const { return openedSize_; }
    // The bytes of the file, as long as it was when opened, that are not in
    // the page cache (see PageCache.h).
    std::uint64_t UncachedBytes() const;
    // Birth time where the file system keeps one, else the modification time.
    std::time_t CreationTime() const;

    int Descriptor() const { return fd_; }

private:
    int fd_ = -1;
    bool missing_ = false;
    int openError_ = 0;
    int readError_ = 0;
    std::uint64_t openedSize_ = 0;  // from the check Open makes anyway
    std::uint64_t bytesRead_ = 0;
    bool sizeIsEnd_ = false;        // the file system's sizes are its files' ends
    bool ended_ = false;            // a short read reached openedSize_ there
};

// The size of the regular file at the path, 0 for anything else that is
// there, nothing when nothing is.
std::optional<std::uint64_t> RegularFileSize(const std::string& path);

// Asks the kernel to read the regular file at `path` into memory in the
// background when it is no larger than `limit` and not wholly there, so that
// the disk may take it together with others announced; nothing waits for
// the read. `bytes` is the file's size, or 0 for a file too large or not
// there; `fromDisk` whether any of it had to be asked for (always, with
// `nothingCached`, as if the page cache were empty).
struct Announcement {
    std::uint64_t bytes = 0;
    bool fromDisk = false;
};
Announcement AnnounceSmallFile(const std::string& path, std::uint64_t limit, bool nothingCached = false);

// When the file at the path was last written, in nanoseconds since 1970;
// nothing when nothing is there.
std::optional<std::int64_t> ModifiedAt(const std::string& path);

// A file or a folder exists at the path (a dangling symlink does not).
bool PathExists(const std::string& path);
// A folder is at the path, or a link to one.
bool IsFolder(const std::string& path);

// Renames `from` to `to`; fails, changing nothing, when `to` exists. On a
// failure errno says why.
bool RenameNoReplace(const std::string& from, const std::string& to);

// Tests may put a failing read in place of read(2) and pread(2) to prove the
// error paths; returns the previous function. nullptr restores the system's.
// `offset` is where a positional read starts, or -1 for read(2).
using ReadFunction = ssize_t (*)(int fd, void* buffer, std::size_t count, off_t offset);
ReadFunction SetReadFunctionForTesting(ReadFunction function);

}  // namespace velmar
