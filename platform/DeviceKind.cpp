#include "platform/DeviceKind.h"

#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/MountTable.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;

// Layers deeper than this are taken for a loop in the tree.
constexpr int MaxDepth = 8;

// Solid when there is something and all of it is Solid, else the first
// kind that is not.
template <class Items, class KindOf>
DeviceKind AllSolid(const Items& items, const KindOf& kindOf) {
    bool any = false;
    for (const auto& item : items) {
        const DeviceKind kind = kindOf(item);
        if (kind != DeviceKind::Solid) return kind;
        any = true;
    }
    return any ? DeviceKind::Solid : DeviceKind::Unknown;
}

std::vector<fs::path> Entries(const fs::path& folder) {
    std::error_code error;
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(folder, error)) entries.push_back(entry.path());
    return entries;
}

DeviceKind KindOfBlockFolder(const fs::path& folder, int depth) {
    std::error_code error;
    if (depth > MaxDepth) return DeviceKind::Unknown;
    // A device-mapper or md device: whatever it is built on decides.
    const std::vector<fs::path> slaves = Entries(folder / "slaves");
    if (!slaves.empty())
        return AllSolid(slaves, [&](const fs::path& slave) {
            return KindOfBlockFolder(fs::canonical(slave, error), depth + 1);
        });
    // A partition's flags are its disk's, one folder up.
    const fs::path disk = fs::exists(folder / "partition", error) ? folder.parent_path() : folder;
    std::ifstream flag(disk / "queue" / "rotational");
    char c = 0;
    if (!(flag >> c)) return DeviceKind::Unknown;
    return c == '0' ? DeviceKind::Solid : DeviceKind::Rotational;
}

DeviceKind KindOfLink(const fs::path& link) {
    std::error_code error;
    const fs::path folder = fs::canonical(link, error);
    return error ? DeviceKind::Unknown : KindOfBlockFolder(folder, 0);
}

// The kernel's name of a device node: "/dev/mapper/root" is a link to
// "/dev/dm-0", and sysfs knows only "dm-0".
std::string DeviceName(const std::string& node) {
    std::error_code error;
    const fs::path real = fs::weakly_canonical(node, error);
    return (error ? fs::path(node) : real).filename().string();
}

DeviceKind KindOfNode(const std::string& node, const SystemTree& tree) {
    return KindOfLink(fs::path(tree.sysfs) / "class" / "block" / DeviceName(node));
}

bool IsDeviceNode(const std::string& source) { return source.rfind("/dev/", 0) == 0; }

// The mount names one of a btrfs file system's devices; sysfs lists them
// all under the file system's id.
DeviceKind BtrfsKind(const Mount& mount, const SystemTree& tree) {
    if (!IsDeviceNode(mount.source)) return DeviceKind::Unknown;
    const std::string name = DeviceName(mount.source);
    std::error_code error;
    for (const fs::path& filesystem : Entries(fs::path(tree.sysfs) / "fs" / "btrfs"))
        if (fs::exists(filesystem / "devices" / name, error))
            return AllSolid(Entries(filesystem / "devices"), KindOfLink);
    return KindOfNode(mount.source, tree);
}

DeviceKind KindOf(const std::string& path, const SystemTree& tree, int depth);

DeviceKind OverlayKind(const Mount& mount, const SystemTree& tree, int depth) {
    std::vector<std::string> layers;
    if (const auto upper = OptionValue(mount.options, "upperdir")) layers.push_back(Unescape(*upper));
    // Colons part the layers; "::" the data-only ones, read all the same.
    if (const auto lower = OptionValue(mount.options, "lowerdir"))
        for (std::string& layer : SplitEscaped(*lower, ':')) layers.push_back(std::move(layer));
    return AllSolid(layers, [&](const std::string& layer) { return KindOf(layer, tree, depth + 1); });
}

DeviceKind KindOfMount(const Mount& mount, const SystemTree& tree, int depth) {
    if (mount.type == "btrfs") return BtrfsKind(mount, tree);
    if (mount.type == "overlay") return OverlayKind(mount, tree, depth);
    // A FUSE file system may name any device and still read over the network.
    if (mount.type.rfind("fuse", 0) == 0) return DeviceKind::Unknown;
    // bcachefs names its devices joined by ':'. A ZFS mount names a pool,
    // network mounts a server: nothing to follow.
    const std::vector<std::string> nodes = SplitEscaped(mount.source, ':');
    for (const std::string& node : nodes)
        if (!IsDeviceNode(node)) return DeviceKind::Unknown;
    return AllSolid(nodes, [&](const std::string& node) { return KindOfNode(node, tree); });
}

DeviceKind MountedKindAt(const std::string& path, unsigned major, unsigned minor, const SystemTree& tree,
                         int depth) {
    if (depth > MaxDepth) return DeviceKind::Unknown;
    std::error_code error;
    const fs::path absolute = fs::weakly_canonical(fs::absolute(path, error), error);
    const auto mount = MountHolding(ReadMounts(tree.mountinfo), error ? path : absolute.string(), major, minor);
    return mount ? KindOfMount(*mount, tree, depth) : DeviceKind::Unknown;
}

DeviceKind KindOf(const std::string& path, const SystemTree& tree, int depth) {
    struct statfs filesystem{};
    if (::statfs(path.c_str(), &filesystem) == 0 &&
        (filesystem.f_type == TMPFS_MAGIC || filesystem.f_type == RAMFS_MAGIC))
        return DeviceKind::Solid;
    struct stat status{};
    if (::stat(path.c_str(), &status) != 0) return DeviceKind::Unknown;
    // Major 0 is no block device: btrfs, overlay, network, FUSE and the like.
    if (major(status.st_dev) == 0) return MountedKindAt(path, 0, minor(status.st_dev), tree, depth);
    return BlockDeviceKind(major(status.st_dev), minor(status.st_dev), tree.sysfs);
}

}  // namespace

DeviceKind BlockDeviceKind(unsigned major, unsigned minor, const std::string& sysfs) {
    return KindOfLink(fs::path(sysfs) / "dev" / "block" / (std::to_string(major) + ":" + std::to_string(minor)));
}

DeviceKind MountedKind(const std::string& path, unsigned major, unsigned minor, const SystemTree& tree) {
    return MountedKindAt(path, major, minor, tree, 0);
}

DeviceKind DeviceKindOf(const std::string& path, const SystemTree& tree) { return KindOf(path, tree, 0); }

}  // namespace velmar
