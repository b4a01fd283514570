// The text-mode piece reader: every piece at most 511 bytes, no CR LF left
// inside one, nothing after Ctrl-Z, and the pieces never longer in sum than
// the input, or than its UTF-8 where the input is UTF-16 (at most three
// bytes for every two). Read again a few bytes at a time, as a pipe or a
// network file may hand it over, the input gives the same pieces and the
// same failure: a character split between reads decodes as if whole.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/TextStream.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/ReadSeam.h"

namespace {

std::vector<std::string> Pieces(const std::string& path, std::size_t size, bool& failed) {
    velmar::TextReader reader;
    if (!reader.Open(path)) std::abort();
    std::vector<std::string> pieces;
    std::string piece;
    std::size_t total = 0;
    while (reader.ReadPiece(piece)) {
        if (piece.size() > 511) std::abort();
        if (piece.find('\x1A') != std::string::npos) std::abort();
        total += piece.size();
        if (total > std::max(size, size / 2 * 3)) std::abort();
        pieces.push_back(piece);
    }
    failed = reader.Failed();
    reader.Close();
    return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmar::fuzz::InputFile input(data, size);
    bool failed = false;
    const std::vector<std::string> whole = Pieces(input.Path(), size, failed);
    // At least three bytes a read, so that the first shows a byte-order mark whole.
    const std::size_t readsAtMost = size == 0 ? 3 : 3 + data[size - 1] % 14;
    bool failedInShortReads = false;
    std::vector<std::string> inShortReads;
    {
        velmar::test::ReadSeam seam(-1, false, readsAtMost);
        inShortReads = Pieces(input.Path(), size, failedInShortReads);
    }
    if (failed != failedInShortReads || inShortReads != whole) std::abort();
    return 0;
}
