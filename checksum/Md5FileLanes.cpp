#include "checksum/Md5FileLanes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "checksum/FileOpening.h"

namespace velmar {
namespace {

// What each lane reads at a time: sixteen lanes' buffers stay within the
// caches while a block of each is hashed.
constexpr std::size_t LaneReadSize = 262144;
constexpr std::size_t Block = 64;

}  // namespace

Md5FileLanes::Lane::Lane() : buffer(LaneReadSize) {}

Md5FileLanes::Md5FileLanes(int lanes, const DigestWatch& watch)
    : watch_(watch), lanes_(static_cast<std::size_t>(std::clamp(lanes, 1, Md5Lanes))) {}

std::optional<FileDigest> Md5FileLanes::Start(int tag, const std::string& path) {
    InputFile file;
    if (auto unread = OpenToDigest(file, path, watch_)) return unread;
    Start(tag, std::move(file));
    return std::nullopt;
}

void Md5FileLanes::Start(int tag, InputFile file) {
    const auto free = std::find_if(lanes_.begin(), lanes_.end(), [](const Lane& lane) { return lane.tag < 0; });
    free->file = std::move(file);
    free->tag = tag;
    MD5Init(&free->context);
    free->begin = free->end = 0;
    free->ended = free->failed = false;
    free->length = 0;
    ++held_;
}

void Md5FileLanes::Refill(Lane& lane) {
    // The bytes short of a block move to the front; the read goes after them.
    const std::size_t tail = lane.end - lane.begin;
    std::memmove(lane.buffer.data(), lane.buffer.data() + lane.begin, tail);
    const ssize_t n = lane.file.Read(lane.buffer.data() + tail, lane.buffer.size() - tail);
    if (n > 0) {
        watch_.Read(static_cast<std::uint64_t>(n));
        lane.length += static_cast<std::uint64_t>(n);
    }
    lane.begin = 0;
    lane.end = tail + (n > 0 ? static_cast<std::size_t>(n) : 0);
    lane.ended = n <= 0;
    lane.failed = n < 0;
}

void Md5FileLanes::Release(Lane& lane, const FileDigest& digest, const Done& done) {
    lane.file.Close();
    const int tag = lane.tag;
    lane.tag = -1;
    --held_;
    done(tag, digest);
}

void Md5FileLanes::Step(const Done& done) {
    if (watch_.Stopped()) {
        for (Lane& lane : lanes_)
            if (lane.tag >= 0) Release(lane, StoppedDigest(), done);
        return;
    }
    MD5Context* contexts[Md5Lanes] = {};
    const std::uint8_t* data[Md5Lanes] = {};
    std::size_t blocks = SIZE_MAX;
    int hashing = 0;
    for (std::size_t i = 0; i < lanes_.size(); ++i) {
        Lane& lane = lanes_[i];
        if (lane.tag < 0) continue;
        if (lane.end - lane.begin < Block && !lane.ended) Refill(lane);
        if (lane.end - lane.begin < Block && lane.ended) {
            // The last bytes, less than a block, through the single-stream
            // MD5. After a read error the digest covers the bytes before it,
            // as DigestFile's does.
            FileDigest digest;
            MD5Update(&lane.context, lane.buffer.data() + lane.begin, static_cast<std::uint32_t>(lane.end - lane.begin));
            MD5Final(digest.bytes.data(), &lane.context);
            digest.size = DigestSize(DigestAlgorithm::Md5);
            digest.status = lane.failed ? FileDigestStatus::ReadFailed : FileDigestStatus::Ok;
            digest.length = lane.length;
            digest = WithReadError(std::move(digest), lane.file);
            Release(lane, digest, done);
            continue;
        }
        contexts[i] = &lane.context;
        data[i] = lane.buffer.data() + lane.begin;
        blocks = std::min(blocks, (lane.end - lane.begin) / Block);
        ++hashing;
    }
    if (hashing == 0) return;
    MD5UpdateLanes(contexts, data, blocks);
    for (std::size_t i = 0; i < lanes_.size(); ++i)
        if (contexts[i]) lanes_[i].begin += blocks * Block;
}

}  // namespace velmar
