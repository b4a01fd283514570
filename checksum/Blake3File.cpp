#include "checksum/Blake3File.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "checksum/Blake3.h"
#include "checksum/Crc32.h"
#include "platform/UsableCpus.h"

namespace velmar {
namespace {

constexpr std::uint64_t PartChunks = Blake3SplitPart / Blake3ChunkSize;
constexpr std::uint64_t NoPart = std::numeric_limits<std::uint64_t>::max();

// The helper threads free for large files, shared by every file being
// digested: a file takes what is free when it starts and waits for none,
// so files never wait on each other and the threads hashing at once stay
// below twice the cores however many files the engine reads side by side.
std::atomic<int>& FreeHelpers() {
    static std::atomic<int> free{UsableCpus() - 1};
    return free;
}

int TakeHelpers(int wanted) {
    auto& free = FreeHelpers();
    int available = free.load();
    int take;
    do {
        take = std::clamp(available, 0, wanted);
    } while (take > 0 && !free.compare_exchange_weak(available, available - take));
    return take;
}

struct Split {
    InputFile& file;
    const DigestWatch& watch;
    std::uint64_t size;
    std::vector<std::array<std::uint8_t, Blake3DigestSize>> values;  // of each whole part
    std::atomic<std::uint64_t> next{0};
    // No part from here on is begun: one before it came up short.
    std::atomic<std::uint64_t> end;
    std::atomic<bool> stopped{false};

    Split(InputFile& f, const DigestWatch& w, std::uint64_t parts)
        : file(f), watch(w), size(f.OpenedSize()), values(parts), end(parts) {}
};

// The first part a thread read short of its end (the file's last part, a
// file that shrank, or a read error), as far as it was read.
struct ShortPart {
    std::uint64_t part = NoPart;
    std::uint64_t bytes = 0;
    int error = 0;
    Blake3Hasher hasher;
};

void HashParts(Split& split, std::uint8_t* buffer, std::size_t readSize, ShortPart& shortPart) {
    for (;;) {
        const std::uint64_t part = split.next.fetch_add(1);
        if (part >= split.end.load() || split.stopped) return;
        const std::uint64_t from = part * Blake3SplitPart, to = std::min(from + Blake3SplitPart, split.size);
        Blake3Hasher hasher(part * PartChunks);
        std::uint64_t at = from;
        int error = 0;
        while (at < to) {
            const ssize_t n = split.file.ReadAt(buffer, std::min<std::uint64_t>(readSize, to - at), at, error);
            if (n <= 0) break;
            hasher.Update(buffer, static_cast<std::size_t>(n));
            at += static_cast<std::uint64_t>(n);
            split.watch.Read(static_cast<std::uint64_t>(n));
            if (split.watch.Stopped()) {
                split.stopped = true;
                return;
            }
        }
        if (at == from + Blake3SplitPart) {
            hasher.SubtreeValue(split.values[part].data());
            continue;
        }
        // Parts are taken in order, so this thread's first short part is
        // its earliest; later parts no longer matter to anyone.
        shortPart.part = part;
        shortPart.bytes = at - from;
        shortPart.error = error;
        shortPart.hasher = hasher;
        for (std::uint64_t end = split.end.load(); part + 1 < end && !split.end.compare_exchange_weak(end, part + 1);) {
        }
        return;
    }
}

}  // namespace

int SetBlake3HelpersForTesting(int helpers) { return FreeHelpers().exchange(helpers); }

std::optional<FileDigest> Blake3OnCores(InputFile& file, ReadBuffer& buffer, const DigestWatch& watch) {
    const std::uint64_t size = file.OpenedSize();
    if (size < Blake3SplitSize || file.UncachedBytes() > size / 8) return std::nullopt;
    const std::uint64_t parts = (size + Blake3SplitPart - 1) / Blake3SplitPart;
    const int helpers = TakeHelpers(static_cast<int>(std::min<std::uint64_t>(parts - 1, 1024)));
    if (helpers == 0) return std::nullopt;

    const std::size_t readSize = std::min(buffer.size(), CrcReadChunk);
    Split split(file, watch, parts);
    std::vector<ShortPart> shortParts(static_cast<std::size_t>(helpers) + 1);
    std::vector<std::unique_ptr<ReadBuffer>> buffers;
    std::vector<std::thread> threads;
    for (int i = 0; i < helpers; ++i) {
        try {
            buffers.push_back(std::make_unique<ReadBuffer>(CrcReadChunk));
            threads.emplace_back(HashParts, std::ref(split), buffers.back()->data(), CrcReadChunk,
                                 std::ref(shortParts[static_cast<std::size_t>(i) + 1]));
        } catch (const std::exception&) {
            break;  // fewer threads then; this one still reads
        }
    }
    HashParts(split, buffer.data(), readSize, shortParts[0]);
    for (auto& thread : threads) thread.join();
    FreeHelpers() += helpers;
    if (split.stopped) return StoppedDigest();

    // The whole parts in order, then the first short one as far as it went.
    const auto first = std::min_element(shortParts.begin(), shortParts.end(),
                                        [](const ShortPart& a, const ShortPart& b) { return a.part < b.part; });
    const std::uint64_t whole = std::min(first->part, parts);
    Blake3Hasher hasher;
    for (std::uint64_t part = 0; part < whole; ++part) hasher.AppendSubtree(split.values[part].data(), PartChunks);
    std::uint64_t length = whole * Blake3SplitPart;
    int error = 0;
    if (first->part != NoPart) {
        hasher.Append(first->hasher);
        length += first->bytes;
        error = first->error;
    }
    // Whatever the file gained since it was opened, as one thread reads on
    // to the end; after a file shrank, this finds the end at once.
    while (error == 0) {
        const ssize_t n = file.ReadAt(buffer.data(), readSize, length, error);
        if (n <= 0) break;
        hasher.Update(buffer.data(), static_cast<std::size_t>(n));
        length += static_cast<std::uint64_t>(n);
        watch.Read(static_cast<std::uint64_t>(n));
        if (watch.Stopped()) return StoppedDigest();
    }
    FileDigest digest;
    digest.status = error ? FileDigestStatus::ReadFailed : FileDigestStatus::Ok;
    digest.error = error;
    digest.length = length;
    digest.size = Blake3DigestSize;
    hasher.Final(digest.bytes.data());
    return digest;
}

}  // namespace velmar
