// ParseSfvLine under all three policies, and the checksum field's numeric
// conversion on its own: an entry's name is always a prefix of the piece.
#include <cstdlib>
#include <string_view>

#include "kinds/SfvLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view piece(reinterpret_cast<const char*>(data), size);
    for (auto policy : {velmar::SfvChecksumPolicy::SkipBadLength, velmar::SfvChecksumPolicy::SkipBadLengthOrDigit,
                        velmar::SfvChecksumPolicy::ExitOnBadLength}) {
        const velmar::SfvLine line = velmar::ParseSfvLine(piece, policy);
        if (line.kind == velmar::SfvLineKind::Entry && piece.substr(0, line.entry.name.size()) != line.entry.name)
            std::abort();
    }
    (void)velmar::SfvChecksumValue(piece);
    return 0;
}
