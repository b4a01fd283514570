#include "platform/Paths.h"

#include <cstdlib>
#include <optional>

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

namespace {

std::optional<std::string> Resolved(const std::string& path) {
    char* real = ::realpath(path.empty() ? "/" : path.c_str(), nullptr);
    if (!real) return std::nullopt;
    std::string text(real);
    std::free(real);
    return text;
}

}  // namespace

bool EntryLiesInside(std::string_view folder, std::string_view path) {
    const std::string name = BaseNameOf(path);
    if (name.empty() || name == "." || name == "..") return false;
    const auto root = Resolved(std::string(folder));
    const auto parent = Resolved(ListDirectoryOf(path));
    if (!root || !parent) return false;
    if (*parent == *root) return true;
    const std::string prefix = *root == "/" ? "/" : *root + "/";
    return parent->compare(0, prefix.size(), prefix) == 0;
}

}  // namespace velmar
