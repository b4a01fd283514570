#include "checksum/Blake3.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "checksum/Blake3Kernels.h"

namespace velmar {
namespace blake3 {
namespace {

std::uint32_t LoadWord(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

void StoreWords(const std::uint32_t* words, int count, std::uint8_t* out) {
    for (int i = 0; i < count; ++i)
        for (int b = 0; b < 4; ++b) out[4 * i + b] = static_cast<std::uint8_t>(words[i] >> (8 * b));
}

__attribute__((always_inline)) inline void Mix(std::uint32_t v[16], int a, int b, int c, int d, std::uint32_t x,
                                              std::uint32_t y) {
    v[a] += v[b] + x;
    v[d] = std::rotr(v[d] ^ v[a], 16);
    v[c] += v[d];
    v[b] = std::rotr(v[b] ^ v[c], 12);
    v[a] += v[b] + y;
    v[d] = std::rotr(v[d] ^ v[a], 8);
    v[c] += v[d];
    v[b] = std::rotr(v[b] ^ v[c], 7);
}

}  // namespace

void Compress(const std::uint32_t cv[8], const std::uint8_t block[Blake3BlockSize], std::uint32_t blockLength,
              std::uint64_t counter, std::uint8_t flags, std::uint32_t out[16]) {
    std::uint32_t m[16];
    for (int i = 0; i < 16; ++i) m[i] = LoadWord(block + 4 * i);
    std::uint32_t v[16] = {cv[0], cv[1], cv[2], cv[3], cv[4], cv[5], cv[6], cv[7],
                           Iv[0], Iv[1], Iv[2], Iv[3], static_cast<std::uint32_t>(counter),
                           static_cast<std::uint32_t>(counter >> 32), blockLength, flags};
    // Unrolled, every word's index is a constant and the state stays in registers.
#pragma GCC unroll 7
    for (const auto& s : Schedule) {
        Mix(v, 0, 4, 8, 12, m[s[0]], m[s[1]]);
        Mix(v, 1, 5, 9, 13, m[s[2]], m[s[3]]);
        Mix(v, 2, 6, 10, 14, m[s[4]], m[s[5]]);
        Mix(v, 3, 7, 11, 15, m[s[6]], m[s[7]]);
        Mix(v, 0, 5, 10, 15, m[s[8]], m[s[9]]);
        Mix(v, 1, 6, 11, 12, m[s[10]], m[s[11]]);
        Mix(v, 2, 7, 8, 13, m[s[12]], m[s[13]]);
        Mix(v, 3, 4, 9, 14, m[s[14]], m[s[15]]);
    }
    for (int i = 0; i < 8; ++i) {
        out[i] = v[i] ^ v[i + 8];
        out[i + 8] = v[i + 8] ^ cv[i];
    }
}

void HashOne(const std::uint8_t* input, std::size_t blocks, std::uint64_t counter, std::uint8_t flags,
             std::uint8_t flagsStart, std::uint8_t flagsEnd, std::uint8_t out[Blake3DigestSize]) {
    std::uint32_t cv[16];
    std::memcpy(cv, Iv, sizeof Iv);
    std::uint8_t blockFlags = flags | flagsStart;
    for (std::size_t b = 0; b < blocks; ++b) {
        if (b + 1 == blocks) blockFlags |= flagsEnd;
        Compress(cv, input + b * Blake3BlockSize, Blake3BlockSize, counter, blockFlags, cv);
        blockFlags = flags;
    }
    StoreWords(cv, 8, out);
}

void HashManyPortable(const std::uint8_t* const* inputs, std::size_t count, std::size_t blocks,
                      std::uint64_t counter, bool incrementCounter, std::uint8_t flags, std::uint8_t flagsStart,
                      std::uint8_t flagsEnd, std::uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i)
        HashOne(inputs[i], blocks, counter + (incrementCounter ? i : 0), flags, flagsStart, flagsEnd,
                out + i * Blake3DigestSize);
}

}  // namespace blake3

using namespace blake3;

namespace {

// The most chunks hashed side by side in one subtree: their chaining values
// stay on the stack (16 KiB), and a read of 512 KiB is one such subtree.
constexpr std::size_t MaxSubtreeChunks = 512;

// The two children of the subtree of `chunks` whole chunks (a power of two,
// at least 2) at `input`, its first chunk numbered `counter`: all chunks in
// one batch, then each level of parents in one.
void HashSubtree(const std::uint8_t* input, std::size_t chunks, std::uint64_t counter,
                 std::uint8_t out[2 * Blake3DigestSize]) {
    const HashManyKernel hashMany = BestHashMany();
    const std::uint8_t* inputs[MaxSubtreeChunks];
    std::uint8_t levels[2][MaxSubtreeChunks * Blake3DigestSize];
    for (std::size_t i = 0; i < chunks; ++i) inputs[i] = input + i * Blake3ChunkSize;
    hashMany(inputs, chunks, Blake3ChunkSize / Blake3BlockSize, counter, true, 0, ChunkStart, ChunkEnd, levels[0]);
    int level = 0;
    for (std::size_t n = chunks; n > 2; n /= 2, level ^= 1) {
        for (std::size_t i = 0; i < n / 2; ++i) inputs[i] = levels[level] + i * 2 * Blake3DigestSize;
        hashMany(inputs, n / 2, 1, 0, false, Parent, 0, 0, levels[level ^ 1]);
    }
    std::memcpy(out, levels[level], 2 * Blake3DigestSize);
}

}  // namespace

// What the last compression of a node takes: a chaining value or, flagged
// as the root, the digest.
struct Blake3Hasher::Output {
    std::uint32_t cv[8];
    std::uint8_t block[Blake3BlockSize];
    std::uint32_t blockLength;
    std::uint64_t counter;
    std::uint8_t flags;

    static Output OfParent(const std::uint8_t left[Blake3DigestSize], const std::uint8_t right[Blake3DigestSize]) {
        Output o;
        std::memcpy(o.cv, Iv, sizeof Iv);
        std::memcpy(o.block, left, Blake3DigestSize);
        std::memcpy(o.block + Blake3DigestSize, right, Blake3DigestSize);
        o.blockLength = Blake3BlockSize;
        o.counter = 0;
        o.flags = Parent;
        return o;
    }
    void ChainingValue(std::uint8_t out[Blake3DigestSize]) const {
        std::uint32_t words[16];
        Compress(cv, block, blockLength, counter, flags, words);
        StoreWords(words, 8, out);
    }
    void RootBytes(std::uint8_t out[Blake3DigestSize]) const {
        std::uint32_t words[16];
        Compress(cv, block, blockLength, 0, flags | Root, words);
        StoreWords(words, 8, out);
    }
};

void Blake3Hasher::Reset(std::uint64_t firstChunk) {
    firstChunk_ = firstChunk;
    stackLength_ = 0;
    ResetChunk(firstChunk);
}

void Blake3Hasher::ResetChunk(std::uint64_t counter) {
    std::memcpy(chunk_.cv, Iv, sizeof Iv);
    chunk_.counter = counter;
    chunk_.blockLength = 0;
    chunk_.blocksDone = 0;
}

void Blake3Hasher::UpdateChunk(const std::uint8_t* data, std::size_t count) {
    while (count > 0) {
        // A full block is compressed only once more bytes show it is not
        // the chunk's last, which is flagged ChunkEnd.
        if (chunk_.blockLength == Blake3BlockSize) {
            std::uint32_t words[16];
            Compress(chunk_.cv, chunk_.block, Blake3BlockSize, chunk_.counter,
                     chunk_.blocksDone == 0 ? ChunkStart : 0, words);
            std::memcpy(chunk_.cv, words, sizeof chunk_.cv);
            ++chunk_.blocksDone;
            chunk_.blockLength = 0;
        }
        const std::size_t take = std::min(Blake3BlockSize - chunk_.blockLength, count);
        std::memcpy(chunk_.block + chunk_.blockLength, data, take);
        chunk_.blockLength += static_cast<std::uint32_t>(take);
        data += take;
        count -= take;
    }
}

Blake3Hasher::Output Blake3Hasher::ChunkOutput() const {
    Output o;
    std::memcpy(o.cv, chunk_.cv, sizeof o.cv);
    std::memcpy(o.block, chunk_.block, chunk_.blockLength);
    std::memset(o.block + chunk_.blockLength, 0, Blake3BlockSize - chunk_.blockLength);
    o.blockLength = chunk_.blockLength;
    o.counter = chunk_.counter;
    o.flags = static_cast<std::uint8_t>((chunk_.blocksDone == 0 ? ChunkStart : 0) | ChunkEnd);
    return o;
}

Blake3Hasher::Output Blake3Hasher::RootOutput() const {
    // Up the right edge of the tree from the partial chunk, or from the top
    // two values of the stack when the input ended on a chunk boundary.
    int below = stackLength_;
    Output o;
    if (chunk_.Length() > 0 || stackLength_ == 0) {
        o = ChunkOutput();
    } else {
        o = Output::OfParent(stack_[below - 2], stack_[below - 1]);
        below -= 2;
    }
    while (below > 0) {
        std::uint8_t right[Blake3DigestSize];
        o.ChainingValue(right);
        o = Output::OfParent(stack_[--below], right);
    }
    return o;
}

void Blake3Hasher::MergeStack(std::uint64_t chunksDone) {
    const int keep = std::popcount(chunksDone - firstChunk_);
    while (stackLength_ > keep) {
        Output::OfParent(stack_[stackLength_ - 2], stack_[stackLength_ - 1]).ChainingValue(stack_[stackLength_ - 2]);
        --stackLength_;
    }
}

void Blake3Hasher::Push(const std::uint8_t cv[Blake3DigestSize], std::uint64_t chunkCounter) {
    MergeStack(chunkCounter);
    std::memcpy(stack_[stackLength_++], cv, Blake3DigestSize);
}

void Blake3Hasher::Update(const void* data, std::size_t count) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    if (chunk_.Length() > 0) {
        const std::size_t take = std::min(Blake3ChunkSize - chunk_.Length(), count);
        UpdateChunk(p, take);
        p += take;
        count -= take;
        if (count == 0) return;
        // More follows, so the chunk is no root.
        std::uint8_t cv[Blake3DigestSize];
        ChunkOutput().ChainingValue(cv);
        Push(cv, chunk_.counter);
        ResetChunk(chunk_.counter + 1);
    }
    // Whole subtrees while more than one chunk is left: the largest that
    // fits and starts on a multiple of its own size. The last chunk, whole
    // or not, stays in the chunk state, which the root may be; a subtree's
    // own top value waits on the stack for the same reason.
    while (count > Blake3ChunkSize) {
        const std::uint64_t counter = chunk_.counter;
        std::size_t chunks = std::bit_floor(std::min(count / Blake3ChunkSize, MaxSubtreeChunks));
        if (counter != 0) chunks = std::min<std::size_t>(chunks, std::uint64_t{1} << std::countr_zero(counter));
        if (chunks == 1) {
            std::uint8_t cv[Blake3DigestSize];
            HashOne(p, Blake3ChunkSize / Blake3BlockSize, counter, 0, ChunkStart, ChunkEnd, cv);
            Push(cv, counter);
        } else {
            std::uint8_t children[2 * Blake3DigestSize];
            HashSubtree(p, chunks, counter, children);
            Push(children, counter);
            Push(children + Blake3DigestSize, counter + chunks / 2);
        }
        ResetChunk(counter + chunks);
        p += chunks * Blake3ChunkSize;
        count -= chunks * Blake3ChunkSize;
    }
    if (count == 0) return;
    UpdateChunk(p, count);
    // Bytes after them: the subtrees on the stack are no root.
    MergeStack(chunk_.counter);
}

void Blake3Hasher::Final(std::uint8_t out[Blake3DigestSize]) {
    RootOutput().RootBytes(out);
    Reset(0);
}

void Blake3Hasher::SubtreeValue(std::uint8_t out[Blake3DigestSize]) const { RootOutput().ChainingValue(out); }

void Blake3Hasher::AppendSubtree(const std::uint8_t cv[Blake3DigestSize], std::uint64_t chunks) {
    Push(cv, chunk_.counter);
    ResetChunk(chunk_.counter + chunks);
}

void Blake3Hasher::Append(const Blake3Hasher& later) {
    if (later.chunk_.Length() == 0 && later.stackLength_ == 0) return;
    if (chunk_.Length() > 0) {
        std::uint8_t cv[Blake3DigestSize];
        ChunkOutput().ChainingValue(cv);
        Push(cv, chunk_.counter);
    }
    MergeStack(later.firstChunk_);
    std::memcpy(stack_[stackLength_], later.stack_, later.stackLength_ * sizeof stack_[0]);
    stackLength_ += later.stackLength_;
    chunk_ = later.chunk_;
}

}  // namespace velmar
