#include "platform/DeviceKind.h"

#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

namespace velmar {
namespace {

namespace fs = std::filesystem;

// Layers deeper than this are taken for a loop in the tree.
constexpr int MaxDepth = 8;

DeviceKind KindOfBlockFolder(const fs::path& folder, int depth) {
    std::error_code error;
    if (depth > MaxDepth) return DeviceKind::Unknown;
    // A device-mapper or md device: whatever it is built on decides.
    bool any = false;
    bool anySolid = false;
    for (const auto& slave : fs::directory_iterator(folder / "slaves", error)) {
        any = true;
        const DeviceKind kind = KindOfBlockFolder(fs::canonical(slave.path(), error), depth + 1);
        if (kind != DeviceKind::Solid) return kind;
        anySolid = true;
    }
    if (any && anySolid) return DeviceKind::Solid;
    // A partition's flags are its disk's, one folder up.
    const fs::path disk = fs::exists(folder / "partition", error) ? folder.parent_path() : folder;
    std::ifstream flag(disk / "queue" / "rotational");
    char c = 0;
    if (!(flag >> c)) return DeviceKind::Unknown;
    return c == '0' ? DeviceKind::Solid : DeviceKind::Rotational;
}

}  // namespace

DeviceKind BlockDeviceKind(unsigned major, unsigned minor, const std::string& sysfs) {
    std::error_code error;
    const fs::path link = fs::path(sysfs) / "dev" / "block" / (std::to_string(major) + ":" + std::to_string(minor));
    const fs::path folder = fs::canonical(link, error);
    if (error) return DeviceKind::Unknown;
    return KindOfBlockFolder(folder, 0);
}

DeviceKind DeviceKindOf(const std::string& path, const std::string& sysfs) {
    struct statfs filesystem{};
    if (::statfs(path.c_str(), &filesystem) == 0 &&
        (filesystem.f_type == TMPFS_MAGIC || filesystem.f_type == RAMFS_MAGIC))
        return DeviceKind::Solid;
    struct stat status{};
    if (::stat(path.c_str(), &status) != 0) return DeviceKind::Unknown;
    // Major 0 is no block device: network, FUSE, overlay and the like.
    if (major(status.st_dev) == 0) return DeviceKind::Unknown;
    return BlockDeviceKind(major(status.st_dev), minor(status.st_dev), sysfs);
}

}  // namespace velmar
