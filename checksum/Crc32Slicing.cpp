// Slicing-by-16: sixteen input bytes per step through sixteen tables.
//
// Table k maps a byte to the effect it has on the running value once k more
// zero bytes have followed it. XORing the running value into the first four
// bytes of a 16-byte block and looking every byte up in the table for its
// distance from the end of the block gives the value after the whole block,
// with no dependency between the sixteen lookups.
#include "checksum/Crc32.h"
#include "checksum/Crc32Kernels.h"

namespace velmar::crc32 {

namespace {

struct SlicingTables {
    std::uint32_t t[16][256];

    SlicingTables() {
        for (int n = 0; n < 256; ++n) {
            std::uint32_t c = CrcTable[n];
            t[0][n] = c;
            for (int k = 1; k < 16; ++k) {
                c = (c >> 8) ^ CrcTable[c & 0xFFu];  // one more zero byte
                t[k][n] = c;
            }
        }
    }
};

// Built on first use rather than at static initialisation, so a checksum
// taken from another file's static constructor still finds it ready.
const SlicingTables& Tables() {
    static const SlicingTables tables;
    return tables;
}

// Assembled from bytes so the value is the same on any byte order; compilers
// turn this into a single load on little-endian machines.
inline std::uint32_t LoadLe32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

}  // namespace

std::uint32_t UpdateSlicing16(std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
    const auto& t = Tables().t;
    while (n >= 16) {
        const std::uint32_t a = LoadLe32(p) ^ crc;
        const std::uint32_t b = LoadLe32(p + 4);
        const std::uint32_t c = LoadLe32(p + 8);
        const std::uint32_t d = LoadLe32(p + 12);
        crc = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
              t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^
              t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^
              t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
        p += 16;
        n -= 16;
    }
    for (; n > 0; --n, ++p) crc = (crc >> 8) ^ t[0][(crc ^ *p) & 0xFF];
    return crc;
}

}  // namespace velmar::crc32
