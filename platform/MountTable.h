// The mounts this process sees, as /proc/self/mountinfo lists them: which
// file system holds a path, of what type, from what source and with what
// options.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmar {

struct Mount {
    unsigned major = 0, minor = 0;  // the file system's device number
    std::string root;               // the folder of the file system mounted here
    std::string point;              // where it is mounted
    std::string type;               // "ext4", "btrfs", "overlay", "fuse.sshfs"...
    std::string source;             // "/dev/nvme0n1p2", "server:/export", "tank/home"...
    std::string options;            // the file system's own options, comma separated
};

// The mounts listed in `mountinfo`; none when it cannot be read.
std::vector<Mount> ReadMounts(const std::string& mountinfo = "/proc/self/mountinfo");

// The mount holding `path` (absolute) with the device number major:minor,
// the deepest where several are stacked; else the deepest mount holding the
// path at all, because a btrfs subvolume's files carry a device number of
// their own that no mount lists.
std::optional<Mount> MountHolding(const std::vector<Mount>& mounts, const std::string& path, unsigned major,
                                  unsigned minor);

// `text` with the kernel's escapes undone: it writes a space, tab, newline
// or backslash in a name as \040, \011, \012, \134, and a colon in an
// overlay layer's path as \072 or \:.
std::string Unescape(const std::string& text);

// `text` cut at every `separator` not escaped with a backslash, each piece
// unescaped. Empty pieces are dropped.
std::vector<std::string> SplitEscaped(const std::string& text, char separator);

// The value of `name=` among comma-separated `options` as written, escapes
// and all, if it is there.
std::optional<std::string> OptionValue(const std::string& options, const std::string& name);

}  // namespace velmar
