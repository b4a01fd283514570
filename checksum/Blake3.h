// BLAKE3 in its default hash mode (no key, 32-byte output).
//
// A message is cut into 1024-byte chunks; each chunk is compressed block by
// block into a chaining value, and pairs of chaining values are compressed
// into their parent's, up a binary tree whose left subtrees are always whole
// powers of two. The last compression, of the one chunk or of the top
// parent, is flagged as the root and gives the digest.
//
// The hasher hashes several whole chunks side by side, and their parents a
// level at a time, through the widest kernel the CPU offers (Blake3Kernels.h),
// whenever an update hands it more than one chunk.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmar {

inline constexpr std::size_t Blake3BlockSize = 64;
inline constexpr std::size_t Blake3ChunkSize = 1024;
inline constexpr std::size_t Blake3DigestSize = 32;

namespace blake3 {

// The block flags.
inline constexpr std::uint8_t ChunkStart = 1, ChunkEnd = 2, Parent = 4, Root = 8;

// The SHA-256 start value, which BLAKE3 takes as its key in hash mode.
inline constexpr std::uint32_t Iv[8] = {0x6A09E667, 0xBB67AE85, 0x3C6EF372, 0xA54FF53A,
                                        0x510E527F, 0x9B05688C, 0x1F83D9AB, 0x5BE0CD19};

// Which message word each of a round's eight mixings takes, round by round:
// each row is the one before through the fixed permutation.
inline constexpr std::uint8_t Schedule[7][16] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
    {2, 6, 3, 10, 7, 0, 4, 13, 1, 11, 12, 5, 9, 14, 15, 8},
    {3, 4, 10, 12, 13, 2, 7, 14, 6, 5, 9, 0, 11, 15, 8, 1},
    {10, 7, 12, 9, 14, 3, 13, 15, 4, 0, 11, 2, 5, 8, 1, 6},
    {12, 13, 9, 11, 15, 10, 14, 8, 7, 2, 5, 3, 0, 1, 6, 4},
    {9, 14, 11, 5, 8, 12, 15, 1, 13, 3, 0, 10, 2, 6, 4, 7},
    {11, 15, 5, 0, 1, 9, 8, 6, 14, 10, 2, 12, 3, 4, 7, 13},
};

// The compression function: the sixteen words of state after the seven
// rounds, the first eight folded with the last (a chaining value; the
// root's output), the last eight with the input chaining value.
void Compress(const std::uint32_t cv[8], const std::uint8_t block[Blake3BlockSize], std::uint32_t blockLength,
              std::uint64_t counter, std::uint8_t flags, std::uint32_t out[16]);

// One input of `blocks` whole blocks compressed in a row from the IV:
// `flags` on every block, `flagsStart` on the first as well, `flagsEnd` on
// the last. A chunk's chaining value (16 blocks, ChunkStart, ChunkEnd) or a
// parent's (1 block, Parent). Writes 32 bytes, little-endian words.
void HashOne(const std::uint8_t* input, std::size_t blocks, std::uint64_t counter, std::uint8_t flags,
             std::uint8_t flagsStart, std::uint8_t flagsEnd, std::uint8_t out[Blake3DigestSize]);

}  // namespace blake3

// The digest of a byte stream fed in pieces of any size. Holds no memory
// of its own beyond itself, so one may live on the stack per file.
class Blake3Hasher {
public:
    // The hasher of a message, or of the rest of one from chunk
    // `firstChunk` on: that state can then be appended to a hasher of
    // everything before it (see Append).
    explicit Blake3Hasher(std::uint64_t firstChunk = 0) { Reset(firstChunk); }

    void Update(const void* data, std::size_t count);

    // The digest of everything given since the start; the hasher then
    // starts afresh at chunk 0.
    void Final(std::uint8_t out[Blake3DigestSize]);

    // Takes over the state of `later`, which hashed the bytes that follow
    // this hasher's, from chunk c on: this hasher must have had exactly c
    // whole chunks, and c must be a multiple of a power of two no smaller
    // than the chunks `later` had (as a whole subtree of the tree is).
    void Append(const Blake3Hasher& later);

    // Takes a whole subtree's chaining value of `chunks` chunks (a power of
    // two), as if its bytes were given: this hasher must be at a multiple
    // of `chunks` chunks with no partial chunk. The subtree cannot be the
    // root: before Final, more must follow it or come before it.
    void AppendSubtree(const std::uint8_t cv[Blake3DigestSize], std::uint64_t chunks);

    // The chaining value of everything given, as a subtree's below the
    // root: for a stretch that is a whole subtree of a larger message.
    void SubtreeValue(std::uint8_t out[Blake3DigestSize]) const;

private:
    struct Output;
    struct Chunk {
        std::uint32_t cv[8];
        std::uint64_t counter;
        std::uint8_t block[Blake3BlockSize];
        std::uint32_t blockLength;
        std::uint32_t blocksDone;
        std::size_t Length() const { return blocksDone * Blake3BlockSize + blockLength; }
    };

    void Reset(std::uint64_t firstChunk);
    void ResetChunk(std::uint64_t counter);
    void UpdateChunk(const std::uint8_t* data, std::size_t count);
    Output ChunkOutput() const;
    Output RootOutput() const;
    // Merges finished subtrees until the stack holds one value per set bit
    // of the chunks done: the top one is left alone until more input shows
    // that it is no root.
    void MergeStack(std::uint64_t chunksDone);
    void Push(const std::uint8_t cv[Blake3DigestSize], std::uint64_t chunkCounter);

    // Enough for 2^54 chunks, 2^64 bytes.
    static constexpr int MaxDepth = 54;
    std::uint64_t firstChunk_;
    Chunk chunk_;
    int stackLength_;
    std::uint8_t stack_[MaxDepth + 1][Blake3DigestSize];
};

}  // namespace velmar
