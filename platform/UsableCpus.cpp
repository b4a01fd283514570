#include "platform/UsableCpus.h"

#include <sched.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/MountTable.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;

int AffinityCpus() {
    // The mask grows until it holds every CPU the kernel knows of.
    for (int cpus = 1024; cpus <= (1 << 16); cpus *= 2) {
        const std::size_t size = CPU_ALLOC_SIZE(cpus);
        std::vector<unsigned char> mask(size);
        auto* set = reinterpret_cast<cpu_set_t*>(mask.data());
        if (::sched_getaffinity(0, size, set) == 0) return CPU_COUNT_S(size, set);
        if (errno != EINVAL) break;
    }
    return static_cast<int>(std::thread::hardware_concurrency());
}

// "max 100000" or "200000 100000".
std::optional<int> CpuMax(const fs::path& file) {
    std::ifstream in(file);
    std::string quota;
    long long period = 0;
    if (!(in >> quota >> period) || quota == "max" || period <= 0) return std::nullopt;
    long long microseconds = 0;
    try {
        microseconds = std::stoll(quota);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (microseconds <= 0) return std::nullopt;
    return static_cast<int>(std::min<long long>((microseconds + period - 1) / period, 1 << 20));
}

// This process's cgroup v2 folder: where cgroup2 is mounted, and its line
// "0::/path" in /proc/self/cgroup below the folder that mount shows.
std::optional<std::pair<std::string, std::string>> OwnCgroup() {
    std::ifstream in("/proc/self/cgroup");
    std::string cgroup;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("0::", 0) == 0) cgroup = line.substr(3);
    if (cgroup.empty()) return std::nullopt;
    for (const Mount& mount : ReadMounts()) {
        if (mount.type != "cgroup2") continue;
        if (mount.root != "/" && cgroup.rfind(mount.root, 0) == 0) cgroup = cgroup.substr(mount.root.size());
        return std::pair{mount.point, cgroup};
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> CgroupCpuLimit(const std::string& cgroupFs, const std::string& cgroup) {
    std::optional<int> tightest;
    fs::path folder = cgroupFs;
    // The root cgroup has no cpu.max; every one below it on the way down
    // may. A cgroup outside this namespace's ("/../x") cannot be seen.
    for (const fs::path& part : fs::path(cgroup).relative_path().lexically_normal()) {
        if (part == ".." || part.empty()) break;
        folder /= part;
        if (const auto limit = CpuMax(folder / "cpu.max")) tightest = std::min(tightest.value_or(*limit), *limit);
    }
    return tightest;
}

int UsableCpus() {
    int cpus = AffinityCpus();
    if (const auto own = OwnCgroup())
        if (const auto limit = CgroupCpuLimit(own->first, own->second)) cpus = std::min(cpus, *limit);
    return std::max(1, cpus);
}

}  // namespace velmar
