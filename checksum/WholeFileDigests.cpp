#include "checksum/WholeFileDigests.h"

#include <algorithm>

#include "checksum/FileOpening.h"
#include "checksum/Md5.h"
#include "checksum/Md5Lanes.h"

namespace velmar {
namespace {

constexpr std::size_t Block = 64;

// Up to Md5Lanes files at once: the whole blocks that every file still
// holds through the lanes together, until each has less than a block left,
// then each file's tail on its own.
void Md5Group(std::span<const std::span<const std::uint8_t>> files, std::span<FileDigest> out) {
    MD5Context contexts[Md5Lanes];
    std::size_t done[Md5Lanes] = {};
    for (std::size_t i = 0; i < files.size(); ++i) MD5Init(&contexts[i]);
    for (;;) {
        MD5Context* live[Md5Lanes] = {};
        const std::uint8_t* data[Md5Lanes] = {};
        std::size_t blocks = SIZE_MAX;
        int hashing = 0;
        for (std::size_t i = 0; i < files.size(); ++i) {
            const std::size_t left = (files[i].size() - done[i]) / Block;
            if (left == 0) continue;
            live[i] = &contexts[i];
            data[i] = files[i].data() + done[i];
            blocks = std::min(blocks, left);
            ++hashing;
        }
        if (hashing == 0) break;
        MD5UpdateLanes(live, data, blocks);
        for (std::size_t i = 0; i < files.size(); ++i)
            if (live[i]) done[i] += blocks * Block;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        MD5Update(&contexts[i], files[i].data() + done[i], static_cast<std::uint32_t>(files[i].size() - done[i]));
        FileDigest& digest = out[i];
        digest = {};
        digest.status = FileDigestStatus::Ok;
        digest.size = DigestSize(DigestAlgorithm::Md5);
        digest.length = files[i].size();
        MD5Final(digest.bytes.data(), &contexts[i]);
    }
}

}  // namespace

void DigestWholeFiles(DigestAlgorithm algorithm, std::span<const std::span<const std::uint8_t>> files,
                      std::span<FileDigest> out) {
    if (algorithm == DigestAlgorithm::Md5) {
        for (std::size_t first = 0; first < files.size(); first += Md5Lanes) {
            const std::size_t count = std::min<std::size_t>(Md5Lanes, files.size() - first);
            Md5Group(files.subspan(first, count), out.subspan(first, count));
        }
        return;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        bool given = false;
        out[i] = DigestBlocks(algorithm, [&](const std::uint8_t*& data) -> ssize_t {
            if (given) return 0;
            given = true;
            data = files[i].data();
            return static_cast<ssize_t>(files[i].size());
        }, {});
    }
}

}  // namespace velmar
