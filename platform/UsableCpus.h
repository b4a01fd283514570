// How many processors this process may keep busy: those its affinity mask
// allows, and no more than its cgroup's CPU quota grants.
#pragma once

#include <optional>
#include <string>

namespace velmar {

// At least 1.
int UsableCpus();

// The CPUs that cgroup v2's cpu.max grants the cgroup at `cgroup` (as
// /proc/self/cgroup names it, "/user.slice/app.scope") under `cgroupFs`,
// where the cgroup2 file system is mounted: the quota over the period,
// rounded up, of the tightest of it and its parents; nothing where none is
// limited.
std::optional<int> CgroupCpuLimit(const std::string& cgroupFs, const std::string& cgroup);

}  // namespace velmar
