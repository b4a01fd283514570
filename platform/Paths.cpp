#include "platform/Paths.h"

namespace velmar {

std::string ListDirectoryOf(std::string_view listPath) {
    auto slash = listPath.rfind('/');
    if (slash == std::string_view::npos) return ".";
    return std::string(listPath.substr(0, slash));
}

std::string BaseNameOf(std::string_view path) {
    auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ListedFilePath(std::string_view listDirectory, std::string_view listedName) {
    std::string path;
    path.reserve(listDirectory.size() + 1 + listedName.size());
    path.append(listDirectory);
    path.push_back('/');
    for (char c : listedName) path.push_back(c == '\\' ? '/' : c);
    return path;
}

}  // namespace velmar
