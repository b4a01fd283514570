// What kind of device holds a file: whether reading several files at once
// helps (flash, memory) or makes the disk seek back and forth (a spinning
// disk), or cannot be told (network and FUSE mounts, anonymous devices).
#pragma once

#include <string>

namespace velmar {

enum class DeviceKind { Solid, Rotational, Unknown };

// The device of `path` (a file or a folder), followed from its block
// device through partitions and device-mapper layers to the disks below,
// whose queue/rotational flag decides: any spinning disk below makes it
// Rotational. tmpfs and ramfs are Solid. `sysfs` is where sysfs is mounted.
DeviceKind DeviceKindOf(const std::string& path, const std::string& sysfs = "/sys");

// The kind of the block device major:minor as sysfs describes it.
DeviceKind BlockDeviceKind(unsigned major, unsigned minor, const std::string& sysfs = "/sys");

}  // namespace velmar
