#include "sfv/ResolveListedFile.h"

#include "checksum/Crc32.h"
#include "platform/Paths.h"

namespace velmar {

std::optional<std::uint32_t> ResolveListedFile(std::string_view listDirectory, std::string_view rowText,
                                               ReadBuffer& buffer) {
    Crc32FileResult result = Crc32File(ListedFilePath(listDirectory, rowText), buffer);
    if (result.opened) return result.crc;

    std::size_t first = 0;
    while (first < rowText.size() && static_cast<unsigned char>(rowText[first]) <= 0x20) ++first;
    if (first == 0) return std::nullopt;
    result = Crc32File(ListedFilePath(listDirectory, rowText.substr(first)), buffer);
    if (result.opened) return result.crc;
    return std::nullopt;
}

}  // namespace velmar
