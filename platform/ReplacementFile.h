// A file that takes the place of another only once it is written whole.
#pragma once

#include <string>

namespace velmar {

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
    // else `mode` less the umask. False when the folder cannot hold it or an
    // existing target may not be written: what could not be overwritten is
    // not replaced either.
    bool Create(const std::string& target, unsigned mode = 0666);
    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }

    // Syncs and closes the new file and renames it over the target; false,
    // with the new file removed, when any of that fails.
    bool Commit();
    // Closes and removes the new file. Safe to call twice.
    void Discard();

private:
    int fd_ = -1;
    std::string target_;
    std::string temporary_;
};

}  // namespace velmar
