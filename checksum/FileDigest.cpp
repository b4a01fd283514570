#include "checksum/FileDigest.h"

#include <algorithm>
#include <latch>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>

#include "checksum/Blake3.h"
#include "checksum/Blake3File.h"
#include "checksum/Crc32.h"
#include "checksum/DigestText.h"
#include "checksum/EvpDigest.h"
#include "checksum/FileOpening.h"
#include "checksum/FileReading.h"
#include "checksum/Md5.h"
#include "checksum/XxhDigest.h"
#include "platform/Files.h"
#include "platform/ReadAhead.h"

namespace velmar {
namespace {

struct AlgorithmFacts {
    DigestAlgorithm algorithm;
    std::size_t size;
    const char* name;
    // What it costs a core per byte, roughly: what balances several digests
    // of one file over the threads.
    int cost;
};

// In the enumeration's order.
constexpr AlgorithmFacts Algorithms[] = {
    {.algorithm = DigestAlgorithm::Crc32, .size = 4, .name = "CRC-32", .cost = 1},
    {.algorithm = DigestAlgorithm::Md5, .size = 16, .name = "MD5", .cost = 14},
    {.algorithm = DigestAlgorithm::Sha256, .size = 32, .name = "SHA-256", .cost = 8},
    {.algorithm = DigestAlgorithm::Sha1, .size = 20, .name = "SHA-1", .cost = 6},
    {.algorithm = DigestAlgorithm::Sha512, .size = 64, .name = "SHA-512", .cost = 12},
    {.algorithm = DigestAlgorithm::Blake2b, .size = 64, .name = "BLAKE2b", .cost = 10},
    {.algorithm = DigestAlgorithm::Blake3, .size = Blake3DigestSize, .name = "BLAKE3", .cost = 3},
    {.algorithm = DigestAlgorithm::Xxh3, .size = 8, .name = "XXH3-64", .cost = 1},
    {.algorithm = DigestAlgorithm::Xxh128, .size = 16, .name = "XXH128", .cost = 1},
    {.algorithm = DigestAlgorithm::Sha3_256, .size = 32, .name = "SHA3-256", .cost = 20},
    {.algorithm = DigestAlgorithm::Sha3_512, .size = 64, .name = "SHA3-512", .cost = 36},
    {.algorithm = DigestAlgorithm::Sha224, .size = 28, .name = "SHA-224", .cost = 8},
    {.algorithm = DigestAlgorithm::Sha384, .size = 48, .name = "SHA-384", .cost = 12},
};
static_assert([] {
    for (std::size_t i = 0; i < std::size(Algorithms); ++i)
        if (static_cast<std::size_t>(Algorithms[i].algorithm) != i) return false;
    return std::size(Algorithms) == static_cast<std::size_t>(DigestAlgorithm::Sha384) + 1;
}(), "every algorithm has its row, in the enumeration's order");

const AlgorithmFacts& FactsOf(DigestAlgorithm algorithm) { return Algorithms[static_cast<std::size_t>(algorithm)]; }

// One running computation of any algorithm, fed block by block.
class RunningDigest {
public:
    explicit RunningDigest(DigestAlgorithm algorithm) : algorithm_(algorithm) {
        if (algorithm_ == DigestAlgorithm::Md5) MD5Init(&md5_);
        if (algorithm_ == DigestAlgorithm::Blake3) blake3_.emplace();
        if (IsEvpAlgorithm(algorithm_)) evp_ = std::make_unique<EvpDigestContext>(algorithm_);
        if (IsXxhAlgorithm(algorithm_)) xxh_ = std::make_unique<XxhDigestContext>(algorithm_);
    }

    DigestAlgorithm Algorithm() const { return algorithm_; }

    void Update(const std::uint8_t* data, std::size_t count) {
        switch (algorithm_) {
            case DigestAlgorithm::Crc32: crc_ = Crc32Update(crc_, data, count); break;
            case DigestAlgorithm::Md5:
                // MD5Update counts in 32 bits; a read is never that long.
                MD5Update(&md5_, data, static_cast<std::uint32_t>(count));
                break;
            case DigestAlgorithm::Blake3: blake3_->Update(data, count); break;
            case DigestAlgorithm::Xxh3:
            case DigestAlgorithm::Xxh128: xxh_->Update(data, count); break;
            default: evp_->Update(data, count); break;
        }
    }

    void Final(FileDigest& out) {
        out.size = DigestSize(algorithm_);
        switch (algorithm_) {
            case DigestAlgorithm::Crc32: {
                const std::uint32_t crc = Crc32Final(crc_);
                for (int i = 0; i < 4; ++i) out.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
                break;
            }
            case DigestAlgorithm::Md5: MD5Final(out.bytes.data(), &md5_); break;
            case DigestAlgorithm::Blake3: blake3_->Final(out.bytes.data()); break;
            case DigestAlgorithm::Xxh3:
            case DigestAlgorithm::Xxh128: xxh_->Final(out.bytes.data()); break;
            default: evp_->Final(out.bytes.data()); break;
        }
    }

private:
    DigestAlgorithm algorithm_;
    std::uint32_t crc_ = Crc32Init();
    MD5Context md5_{};
    std::unique_ptr<EvpDigestContext> evp_;
    std::unique_ptr<XxhDigestContext> xxh_;
    std::optional<Blake3Hasher> blake3_;  // in place: no allocation per file
};

// The second buffer of a read ahead, kept by each thread that checksums
// large files so that no file costs an allocation.
ReadBuffer& SpareBuffer(std::size_t size) {
    thread_local std::unique_ptr<ReadBuffer> spare;
    if (!spare || spare->size() != size) spare = std::make_unique<ReadBuffer>(size);
    return *spare;
}


// The digests of one file split over `threads` threads of about equal cost,
// the dearest first, each to the thread with the least so far.
std::vector<std::vector<RunningDigest*>> CostGroups(std::span<RunningDigest> digests, int threads) {
    std::vector<RunningDigest*> byCost;
    for (RunningDigest& digest : digests) byCost.push_back(&digest);
    std::stable_sort(byCost.begin(), byCost.end(), [](const RunningDigest* a, const RunningDigest* b) {
        return FactsOf(a->Algorithm()).cost > FactsOf(b->Algorithm()).cost;
    });
    std::vector<std::vector<RunningDigest*>> groups(static_cast<std::size_t>(threads));
    std::vector<int> cost(groups.size());
    for (RunningDigest* digest : byCost) {
        const std::size_t least = static_cast<std::size_t>(std::min_element(cost.begin(), cost.end()) - cost.begin());
        groups[least].push_back(digest);
        cost[least] += FactsOf(digest->Algorithm()).cost;
    }
    return groups;
}

// Each block to every group at once, the first on this thread and the others
// on the pool's (or here too, when the pool has no thread free).
void UpdateSideBySide(const std::vector<std::vector<RunningDigest*>>& groups, TaskPool& pool,
                      const std::uint8_t* data, std::size_t count) {
    const auto update = [data, count](const std::vector<RunningDigest*>& group) {
        for (RunningDigest* digest : group) digest->Update(data, count);
    };
    std::latch done(static_cast<std::ptrdiff_t>(groups.size() - 1));
    for (std::size_t g = 1; g < groups.size(); ++g)
        if (!pool.TryRun([&, g] {
                update(groups[g]);
                done.count_down();
            })) {
            update(groups[g]);
            done.count_down();
        }
    update(groups[0]);
    done.wait();
}

// Gives every block `next` gives to each of `digests`, honouring the watch
// after each, and their results to `out`, one each: Stopped once the watch
// is; after a read error, the digests of the bytes before it, which the
// caller decides whether it may use.
// With `spread`, the digests are split over that many threads of `pool`.
void FeedBlocks(std::span<RunningDigest> digests, std::span<FileDigest> out, const NextBlock& next,
                const DigestWatch& watch, TaskPool* pool = nullptr, int spread = 1) {
    const auto groups = spread > 1 ? CostGroups(digests, spread) : std::vector<std::vector<RunningDigest*>>();
    const std::uint8_t* data = nullptr;
    ssize_t n;
    std::uint64_t length = 0;
    while ((n = next(data)) > 0) {
        if (!groups.empty()) UpdateSideBySide(groups, *pool, data, static_cast<std::size_t>(n));
        else for (RunningDigest& digest : digests) digest.Update(data, static_cast<std::size_t>(n));
        length += static_cast<std::uint64_t>(n);
        watch.Read(static_cast<std::uint64_t>(n));
        if (watch.Stopped()) {
            for (FileDigest& result : out) result = StoppedDigest();
            return;
        }
    }
    for (std::size_t i = 0; i < digests.size(); ++i) {
        out[i].status = n < 0 ? FileDigestStatus::ReadFailed : FileDigestStatus::Ok;
        out[i].length = length;
        digests[i].Final(out[i]);
    }
}

}  // namespace


std::size_t DigestSize(DigestAlgorithm algorithm) { return FactsOf(algorithm).size; }

const char* DigestName(DigestAlgorithm algorithm) { return FactsOf(algorithm).name; }

std::string FileDigest::Text() const { return status == FileDigestStatus::Ok ? Digits() : std::string(); }

std::string FileDigest::Digits() const { return HexText(bytes.data(), size); }

FileDigest StoppedDigest() {
    FileDigest digest;
    digest.status = FileDigestStatus::Stopped;
    return digest;
}

DigestWatch DigestWatch::AlsoStoppedBy(const std::atomic<std::uint8_t>& stop) const {
    DigestWatch watch = *this;
    for (auto& slot : watch.stops_)
        if (!slot) {
            slot = &stop;
            return watch;
        }
    throw std::logic_error("a digest watch honours two stop flags at most");
}

std::optional<FileDigest> OpenToDigest(InputFile& file, const std::string& path, const DigestWatch& watch) {
    if (watch.Stopped()) return StoppedDigest();
    if (file.Open(path)) return std::nullopt;
    FileDigest failed;
    failed.missing = file.Missing();
    failed.error = file.OpenError();
    return failed;
}

std::uint32_t Crc32Of(const FileDigest& digest) {
    return std::uint32_t{digest.bytes[0]} << 24 | std::uint32_t{digest.bytes[1]} << 16 |
           std::uint32_t{digest.bytes[2]} << 8 | std::uint32_t{digest.bytes[3]};
}

FileDigest DigestFile(DigestAlgorithm algorithm, const std::string& path, ReadBuffer& buffer,
                      const DigestWatch& watch, const ReadingHelp& help) {
    InputFile file;
    if (auto unread = OpenToDigest(file, path, watch)) return *unread;
    watch.Sized(file.OpenedSize());
    return DigestOpenFile(algorithm, file, buffer, watch, help);
}

FileDigest DigestBlocks(DigestAlgorithm algorithm, const NextBlock& next, const DigestWatch& watch) {
    RunningDigest digest(algorithm);
    FileDigest result;
    FeedBlocks({&digest, 1}, {&result, 1}, next, watch);
    return result;
}

FileDigest DigestOpenFile(DigestAlgorithm algorithm, InputFile& file, ReadBuffer& buffer, const DigestWatch& watch,
                          const ReadingHelp& help) {
    if (algorithm == DigestAlgorithm::Blake3)
        if (const auto split = Blake3OnCores(file, buffer, watch, help)) {
            if (split->stopped) return StoppedDigest();
            FileDigest digest;
            digest.status = split->error ? FileDigestStatus::ReadFailed : FileDigestStatus::Ok;
            digest.error = split->error;
            digest.length = split->length;
            digest.size = split->digest.size();
            std::copy(split->digest.begin(), split->digest.end(), digest.bytes.begin());
            return digest;
        }
    const std::size_t chunk = buffer.size() < CrcReadChunk ? buffer.size() : CrcReadChunk;
    const bool overlap = ReadsAhead(algorithm, help);
    std::optional<ReadAhead> ahead;
    bool first = true;
    FileDigest digest = DigestBlocks(algorithm, [&](const std::uint8_t*& data) {
        if (ahead) return ahead->Next(data);
        data = buffer.data();
        const ssize_t n = file.Read(buffer.data(), chunk);
        // A file longer than one read: the rest may be read on another
        // thread while this block is checksummed. Small files never pay
        // for it.
        if (first && static_cast<std::size_t>(n) == chunk) {
            // Only a file longer than one read gains from the kernel's
            // read-ahead; a small one would pay a system call for nothing.
            file.AdviseSequential();
            if (overlap) ahead.emplace(*help.pool, file, chunk, buffer, SpareBuffer(buffer.size()));
        }
        first = false;
        return n;
    }, watch);
    return WithReadError(std::move(digest), file);
}

FileDigest WithReadError(FileDigest digest, const InputFile& file) {
    if (digest.status == FileDigestStatus::ReadFailed) digest.error = file.ReadError();
    return digest;
}

std::vector<FileDigest> DigestFileEachWay(const std::vector<DigestAlgorithm>& algorithms, const std::string& path,
                                          ReadBuffer& buffer, const DigestWatch& watch, const ReadingHelp& help) {
    InputFile file;
    if (auto unread = OpenToDigest(file, path, watch)) return std::vector<FileDigest>(algorithms.size(), *unread);
    watch.Sized(file.OpenedSize());
    std::vector<RunningDigest> running(algorithms.begin(), algorithms.end());
    std::vector<FileDigest> digests(algorithms.size());
    const int spread = EachWayThreads(algorithms.size(), file, help);
    FeedBlocks(running, digests, [&](const std::uint8_t*& data) {
        data = buffer.data();
        return file.Read(buffer.data(), std::min(buffer.size(), CrcReadChunk));
    }, watch, help.pool, spread);
    for (FileDigest& digest : digests) digest = WithReadError(std::move(digest), file);
    return digests;
}

}  // namespace velmar
