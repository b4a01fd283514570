// The MD5 digests of several files read side by side on one thread: each
// file in a lane of its own, the whole blocks of all of them through
// MD5UpdateLanes together, so that many small files or a few large ones keep
// the vector units busy. Opening, counting, stopping and the result are
// DigestFile's: the same FileDigest, through the same DigestWatch.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "checksum/FileDigest.h"
#include "checksum/Md5.h"
#include "checksum/Md5Lanes.h"
#include "platform/Files.h"
#include "platform/ReadBuffer.h"

namespace velmar {

class Md5FileLanes {
public:
    // Up to `lanes` files at once, from 1 to Md5Lanes.
    Md5FileLanes(int lanes, const DigestWatch& watch);

    bool HasFreeLane() const { return held_ < static_cast<int>(lanes_.size()); }
    bool Idle() const { return held_ == 0; }

    // Opens `path` in a free lane (there must be one); its digest comes back from Step under
    // `tag`. What DigestFile gives for a file that is not begun (Stopped, or
    // OpenFailed with `missing` set) comes back here at once instead, and
    // takes no lane.
    std::optional<FileDigest> Start(int tag, const std::string& path);
    // The same for a file the caller opened.
    void Start(int tag, InputFile file);

    // Reads into every lane that has less than a block left, hashes the whole
    // blocks all lanes hold, and hands each file that ended to `done`: Ok at
    // its end, ReadFailed after a read error, and every file in hand Stopped
    // once the watch is stopped. Each call reads at most once per lane.
    using Done = std::function<void(int tag, const FileDigest& digest)>;
    void Step(const Done& done);

private:
    struct Lane {
        int tag = -1;  // -1 while free
        InputFile file;
        MD5Context context{};
        ReadBuffer buffer;
        std::size_t begin = 0, end = 0;  // the bytes read and not yet hashed
        bool ended = false;              // nothing more to read: the end of the file, or a read error
        bool failed = false;
        std::uint64_t length = 0;  // the bytes read so far

        Lane();
    };

    void Refill(Lane& lane);
    void Release(Lane& lane, const FileDigest& digest, const Done& done);

    const DigestWatch watch_;
    std::vector<Lane> lanes_;
    int held_ = 0;
};

}  // namespace velmar
