// What a read far from the last costs on the device under a set of files.
// Many virtual disks say they spin while flash serves them; reading one
// file at a time there wastes every core but one. A few small reads that
// bypass the page cache, each in another file of the set, tell the two
// apart: a spinning disk takes milliseconds to seek to each, flash a
// tenth of one.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace velmar {

// Seeks at most this long are flash's, or memory's, whatever the device says.
inline constexpr std::chrono::microseconds CheapSeek{500};

// The middle time of up to eight direct reads of one block, each from
// another of the files `pathOf` gives for rows 0 .. rows-1, spread over
// the set, or the time of the first read that took 2 ms or more (a seek:
// flash is never that slow); nothing when fewer than four could be made (the file system
// refuses direct reads, as tmpfs and most FUSE mounts do, or the files
// are empty or gone). The answer is kept for each device, so a job after
// the first does not ask again.
std::optional<std::chrono::microseconds> MeasureSeek(int rows, const std::function<std::string(int row)>& pathOf);

}  // namespace velmar
