// The text a list's entries are read from: its file, or, of a clearsigned
// list, only the part its signature covers (see lists/ListSignature.h).
#pragma once

#include <optional>
#include <string>

namespace velmar {

struct ListText {
    // A path alone is the whole file.
    ListText(std::string path, std::optional<std::string> signedPart = std::nullopt)
        : path(std::move(path)), signedPart(std::move(signedPart)) {}
    std::string path;
    std::optional<std::string> signedPart;
};

}  // namespace velmar
