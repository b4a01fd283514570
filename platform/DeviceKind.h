// What kind of device holds a file: whether reading several files at once
// helps (flash, memory) or makes the disk seek back and forth (a spinning
// disk), or cannot be told (network and FUSE mounts, ZFS pools).
#pragma once

#include <string>

namespace velmar {

enum class DeviceKind { Solid, Rotational, Unknown };

// Where the kernel describes block devices and mounts; tests point these
// at a tree of their own.
struct SystemTree {
    std::string sysfs = "/sys";
    std::string mountinfo = "/proc/self/mountinfo";
};

// The device of `path` (a file or a folder), followed from its block
// device through partitions and device-mapper layers to the disks below,
// whose queue/rotational flag decides: any spinning disk below makes it
// Rotational. tmpfs and ramfs are Solid. A file system without a block
// device of its own (device number 0:N) is looked up among the mounts, see
// MountedKind.
DeviceKind DeviceKindOf(const std::string& path, const SystemTree& tree = {});

// The kind of the block device major:minor as sysfs describes it.
DeviceKind BlockDeviceKind(unsigned major, unsigned minor, const std::string& sysfs = "/sys");

// The kind of the mounted file system numbered major:minor that holds
// `path`: btrfs by every device sysfs lists for it, overlay by its upper
// and lower layers, bcachefs and the like by the /dev devices its mount
// names; network, FUSE and ZFS mounts cannot be told.
DeviceKind MountedKind(const std::string& path, unsigned major, unsigned minor, const SystemTree& tree = {});

}  // namespace velmar
