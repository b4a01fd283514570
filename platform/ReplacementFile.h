// A file that takes the place of another only once it is written whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmar {

// True when `target` could be overwritten in place: it is not there, or it
// opens for writing (a read-only file, a folder or a FIFO without a reader
// does not).
bool OverwritableInPlace(const std::string& target);

// True when `name` is one a ReplacementFile takes in the folder while it
// writes a file named `targetName` there.
bool IsReplacementNameOf(std::string_view name, std::string_view targetName);

// The new bytes go to a file of their own in the target's folder, which
// rename(2) puts over the target in one step at Commit. Until then, and
// whenever anything fails, the target stays as it was and the new file is
// removed. A link at the target is replaced by the new file, not followed.
class ReplacementFile {
public:
    ReplacementFile() = default;
    ~ReplacementFile() { Discard(); }
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates the new file, with the permissions of an existing target or
    // else `mode` less the umask. False when the folder cannot hold it, and
    // when the rename at Commit is sure to be refused (another user's target
    // in a sticky folder such as /tmp).
    bool Create(const std::string& target, unsigned mode = 0666);
    bool IsOpen() const { return fd_ >= 0; }

    // Sets room aside on the disk for the first `bytes` bytes; false when
    // the file system says it has none (a full disk, a quota) or the file
    // may not grow so large (the process's file size limit).
    // Where it cannot set room aside, it lets the writes tell.
    bool Reserve(std::uint64_t bytes);

    // Writes all the bytes; false when a write fails.
    bool Write(std::string_view bytes);

    // Syncs and closes the new file and renames it over the target; false,
    // with the new file removed, when any of that fails.
    bool Commit();
    // Closes and removes the new file. Safe to call twice.
    void Discard();

    // The whole text in place of `target` at once: Create, Write, Commit.
    static bool WriteWhole(const std::string& target, std::string_view text, unsigned mode = 0666);

private:
    int fd_ = -1;
    std::uint64_t written_ = 0;
    std::uint64_t reserved_ = 0;
    std::string target_;
    std::string temporary_;
};

}  // namespace velmar
