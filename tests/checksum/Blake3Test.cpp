// BLAKE3: the tree straight from its definition and the hasher against the
// published test vectors, the hasher against that tree for every way of
// feeding it, and every lane kernel against the portable one.
#include <gtest/gtest.h>

#include "tests/support/KernelCase.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "checksum/Blake3.h"
#include "checksum/Blake3Kernels.h"
#include "checksum/CpuFeatures.h"
#include "checksum/DigestText.h"

namespace velmar::blake3 {
namespace {

std::vector<std::uint8_t> VectorInput(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(i % 251);
    return v;
}

std::vector<std::uint8_t> RandomBytes(std::size_t n, std::uint32_t stream) {
    std::mt19937 rng(stream);
    std::vector<std::uint8_t> v(n);
    for (auto& b : v) b = static_cast<std::uint8_t>(rng());
    return v;
}

// A node's last compression, kept back until it is known whether it is the root.
struct Node {
    std::uint32_t cv[8];
    std::uint8_t block[Blake3BlockSize] = {};
    std::uint32_t length;
    std::uint64_t counter;
    std::uint8_t flags;

    void Out(std::uint8_t extraFlags, std::uint8_t out[32]) const {
        std::uint32_t words[16];
        Compress(cv, block, length, extraFlags & Root ? 0 : counter, flags | extraFlags, words);
        for (int i = 0; i < 32; ++i) out[i] = static_cast<std::uint8_t>(words[i / 4] >> (8 * (i % 4)));
    }
};

// The tree as the paper draws it, by recursion and Compress alone: a chunk's
// blocks in a row, and over more chunks a parent of the largest power of two
// of them on the left and the rest on the right.
Node Tree(const std::uint8_t* p, std::size_t n, std::uint64_t chunk) {
    Node node;
    if (n <= Blake3ChunkSize) {
        std::memcpy(node.cv, Iv, sizeof Iv);
        const std::size_t blocks = n == 0 ? 1 : (n + Blake3BlockSize - 1) / Blake3BlockSize;
        for (std::size_t b = 0; b < blocks; ++b) {
            const std::size_t take = std::min(Blake3BlockSize, n - b * Blake3BlockSize);
            const std::uint8_t flags = b == 0 ? ChunkStart : 0;
            if (b + 1 == blocks) {
                if (take > 0) std::memcpy(node.block, p + b * Blake3BlockSize, take);
                node.length = static_cast<std::uint32_t>(take);
                node.counter = chunk;
                node.flags = flags | ChunkEnd;
                break;
            }
            std::uint32_t words[16];
            Compress(node.cv, p + b * Blake3BlockSize, Blake3BlockSize, chunk, flags, words);
            std::memcpy(node.cv, words, sizeof node.cv);
        }
        return node;
    }
    std::size_t left = Blake3ChunkSize;
    while (2 * left < n) left *= 2;
    Tree(p, left, chunk).Out(0, node.block);
    Tree(p + left, n - left, chunk + left / Blake3ChunkSize).Out(0, node.block + 32);
    std::memcpy(node.cv, Iv, sizeof Iv);
    node.length = Blake3BlockSize;
    node.counter = 0;
    node.flags = Parent;
    return node;
}

std::string TreeDigest(const std::vector<std::uint8_t>& v) {
    std::uint8_t out[32];
    Tree(v.data(), v.size(), 0).Out(Root, out);
    return HexText(out, 32);
}

// Through the hasher in pieces of `piece` bytes (0: one update).
std::string HasherDigest(Blake3Hasher& hasher, const std::vector<std::uint8_t>& v, std::size_t piece) {
    for (std::size_t at = 0; at < v.size();) {
        const std::size_t n = piece ? std::min(piece, v.size() - at) : v.size();
        hasher.Update(v.data() + at, n);
        at += n;
    }
    std::uint8_t out[32];
    hasher.Final(out);
    return HexText(out, 32);
}

// The BLAKE3 team's test vectors: input byte i is i % 251; the first 32
// bytes of each hash.
TEST(Blake3, PublishedVectorsByTheTreeAndByTheHasherInAnyPieces) {
    const struct {
        std::size_t length;
        const char* digest;
    } vectors[] = {
        {0, "af1349b9f5f9a1a6a0404dea36dcc9499bcb25c9adc112b7cc9a93cae41f3262"},
        {1, "2d3adedff11b61f14c886e35afa036736dcd87a74d27b5c1510225d0f592e213"},
        {1023, "10108970eeda3eb932baac1428c7a2163b0e924c9a9e25b35bba72b28f70bd11"},
        {1024, "42214739f095a406f3fc83deb889744ac00df831c10daa55189b5d121c855af7"},
        {1025, "d00278ae47eb27b34faecf67b4fe263f82d5412916c1ffd97c8cb7fb814b8444"},
        {2048, "e776b6028c7cd22a4d0ba182a8bf62205d2ef576467e838ed6f2529b85fba24a"},
        {2049, "5f4d72f40d7a5f82b15ca2b2e44b1de3c2ef86c426c95c1af0b6879522563030"},
        {3072, "b98cb0ff3623be03326b373de6b9095218513e64f1ee2edd2525c7ad1e5cffd2"},
        {3073, "7124b49501012f81cc7f11ca069ec9226cecb8a2c850cfe644e327d22d3e1cd3"},
        {4096, "015094013f57a5277b59d8475c0501042c0b642e531b0a1c8f58d2163229e969"},
        {4097, "9b4052b38f1c5fc8b1f9ff7ac7b27cd242487b3d890d15c96a1c25b8aa0fb995"},
        {5120, "9cadc15fed8b5d854562b26a9536d9707cadeda9b143978f319ab34230535833"},
        {5121, "628bd2cb2004694adaab7bbd778a25df25c47b9d4155a55f8fbd79f2fe154cff"},
        {6144, "3e2e5b74e048f3add6d21faab3f83aa44d3b2278afb83b80b3c35164ebeca205"},
        {6145, "f1323a8631446cc50536a9f705ee5cb619424d46887f3c376c695b70e0f0507f"},
        {7168, "61da957ec2499a95d6b8023e2b0e604ec7f6b50e80a9678b89d2628e99ada77a"},
        {7169, "a003fc7a51754a9b3c7fae0367ab3d782dccf28855a03d435f8cfe74605e7817"},
        {8192, "aae792484c8efe4f19e2ca7d371d8c467ffb10748d8a5a1ae579948f718a2a63"},
        {8193, "bab6c09cb8ce8cf459261398d2e7aef35700bf488116ceb94a36d0f5f1b7bc3b"},
        {16384, "f875d6646de28985646f34ee13be9a576fd515f76b5b0a26bb324735041ddde4"},
        {31744, "62b6960e1a44bcc1eb1a611a8d6235b6b4b78f32e7abc4fb4c6cdcce94895c47"},
        {102400, "bc3e3d41a1146b069abffad3c0d44860cf664390afce4d9661f7902e7943e085"},
    };
    Blake3Hasher hasher;  // reused: Final starts it afresh
    for (const auto& v : vectors) {
        const auto input = VectorInput(v.length);
        EXPECT_EQ(TreeDigest(input), v.digest) << v.length;
        // Pieces within a block, across blocks and chunks, and whole subtrees.
        for (std::size_t piece : {0, 1, 7, 64, 65, 1000, 1024, 1025, 3000, 4096, 9000})
            EXPECT_EQ(HasherDigest(hasher, input, piece), v.digest) << v.length << " in pieces of " << piece;
    }
}

// Every length up to 40 chunks and a few large ones, fed in random pieces,
// against the tree: chunk boundaries, uneven trees, subtrees of every size
// the hasher takes whole, and pieces that end on and off their edges.
TEST(Blake3, HasherMatchesTheTreeForAnyLengthAndPieces) {
    std::mt19937 rng(3);
    const auto data = RandomBytes(600 * Blake3ChunkSize + 77, 5);
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 40 * Blake3ChunkSize; n += 1 + rng() % 300) lengths.push_back(n);
    for (std::size_t n : {64 * Blake3ChunkSize, 513 * Blake3ChunkSize - 1, 513 * Blake3ChunkSize, data.size()})
        lengths.push_back(n);
    Blake3Hasher hasher;
    for (std::size_t n : lengths) {
        const std::vector<std::uint8_t> v(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
        const std::string expected = TreeDigest(v);
        for (std::size_t at = 0; at < n;) {
            const std::size_t piece = std::min<std::size_t>(n - at, rng() % (std::size_t{1} << (rng() % 19)));
            hasher.Update(v.data() + at, piece);
            at += piece;
        }
        std::uint8_t out[32];
        hasher.Final(out);
        ASSERT_EQ(HexText(out, 32), expected) << n << " bytes";
    }
}

// A message hashed as a whole subtree on its own and appended, or as
// separate stretches whose states are joined, gives the digest of one pass.
TEST(Blake3, PartsHashedApartJoinAsOnePass) {
    const auto data = RandomBytes(16 * Blake3ChunkSize + 300, 8);
    for (std::size_t tail : {std::size_t{0}, std::size_t{1}, std::size_t{300}}) {
        // Four stretches of four chunks, the last cut short by what `tail` leaves out.
        const std::size_t size = data.size() - 300 + tail, stretch = 4 * Blake3ChunkSize;
        const std::vector<std::uint8_t> v(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
        Blake3Hasher joined;
        for (std::size_t at = 0; at < size; at += stretch) {
            Blake3Hasher piece(at / Blake3ChunkSize);
            piece.Update(v.data() + at, std::min(stretch, size - at));
            if (at + stretch < size) {
                std::uint8_t cv[32];
                piece.SubtreeValue(cv);
                joined.AppendSubtree(cv, stretch / Blake3ChunkSize);
            } else {
                joined.Append(piece);
            }
        }
        std::uint8_t out[32];
        joined.Final(out);
        EXPECT_EQ(HexText(out, 32), TreeDigest(v)) << size;
    }
}

using KernelCase = test::KernelCase<HashManyKernel>;
using test::Always;

class Blake3Kernel : public test::KernelTest<HashManyKernel> {};

// Batches of every size from 0 to past two of the widest, as chunks and as
// parents, from inputs at several offsets to alignment, with counters that
// carry into their high word halfway through the batch.
TEST_P(Blake3Kernel, MatchesPortableForAnyBatch) {
    const auto data = RandomBytes(40 * Blake3ChunkSize + 64, 9);
    const struct {
        std::size_t blocks;
        bool incrementCounter;
        std::uint8_t flags, flagsStart, flagsEnd;
        std::uint64_t counter;
    } shapes[] = {
        {.blocks = 16, .incrementCounter = true, .flags = 0, .flagsStart = ChunkStart, .flagsEnd = ChunkEnd, .counter = 5},
        {.blocks = 16, .incrementCounter = true, .flags = 0, .flagsStart = ChunkStart, .flagsEnd = ChunkEnd,
         .counter = 0xFFFFFFF8u},
        {.blocks = 1, .incrementCounter = false, .flags = Parent, .flagsStart = 0, .flagsEnd = 0, .counter = 0},
        {.blocks = 3, .incrementCounter = true, .flags = 0, .flagsStart = ChunkStart, .flagsEnd = 0, .counter = 1},
    };
    for (const auto& s : shapes) {
        for (std::size_t count = 0; count <= 40; ++count) {
            for (std::size_t offset : {0, 1, 13, 63}) {
                // Back to back, the last ending `offset` bytes before the end of
                // the data, so that under AddressSanitizer a read past an input's
                // end is caught.
                std::vector<const std::uint8_t*> inputs(count);
                for (std::size_t i = 0; i < count; ++i)
                    inputs[i] = data.data() + data.size() - offset - (count - i) * s.blocks * Blake3BlockSize;
                std::vector<std::uint8_t> got(32 * count + 1, 0xEE), want(32 * count + 1, 0xEE);
                GetParam().update(inputs.data(), count, s.blocks, s.counter, s.incrementCounter, s.flags,
                                  s.flagsStart, s.flagsEnd, got.data());
                HashManyPortable(inputs.data(), count, s.blocks, s.counter, s.incrementCounter, s.flags,
                                 s.flagsStart, s.flagsEnd, want.data());
                ASSERT_EQ(got, want) << count << " inputs of " << s.blocks << " blocks at offset " << offset
                                     << ", counter " << s.counter;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, Blake3Kernel,
                         ::testing::Values(KernelCase{"Sse41", HashManySse41, CpuHasSse41},
                                           KernelCase{"Avx2", HashManyAvx2, CpuHasAvx2},
                                           KernelCase{"Avx512", HashManyAvx512, CpuHasAvx512Vl},
                                           KernelCase{"Best", BestHashMany(), Always}),
                         test::KernelName<HashManyKernel>);

}  // namespace
}  // namespace velmar::blake3
