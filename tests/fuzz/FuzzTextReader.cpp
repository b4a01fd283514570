// The text-mode piece reader: every piece at most 511 bytes, no CR LF left
// inside one, nothing after Ctrl-Z, and the pieces never longer in sum than
// the input, or than its UTF-8 where the input is UTF-16 (at most three
// bytes for every two).
#include <algorithm>
#include <cstdlib>

#include "platform/TextStream.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmar::fuzz::InputFile input(data, size);
    velmar::TextReader reader;
    if (!reader.Open(input.Path())) std::abort();
    std::string piece;
    std::size_t total = 0;
    while (reader.ReadPiece(piece)) {
        if (piece.size() > 511) std::abort();
        if (piece.find('\x1A') != std::string::npos) std::abort();
        total += piece.size();
        if (total > std::max(size, size / 2 * 3)) std::abort();
    }
    reader.Close();
    return 0;
}
