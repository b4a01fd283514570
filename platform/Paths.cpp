#include "platform/Paths.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include <unistd.h>

namespace velmar {

std::string ListDirectoryOf(std::string_view listPath) {
    auto slash = listPath.rfind('/');
    if (slash == std::string_view::npos) return ".";
    return std::string(listPath.substr(0, slash));
}

std::string AbsolutePath(std::string_view path) {
    if (path.starts_with('/')) return std::string(path);
    char* here = ::getcwd(nullptr, 0);
    if (!here) return std::string(path);
    std::string whole = here;
    std::free(here);
    while (path.starts_with("./")) path.remove_prefix(2);
    if (path == ".") path = {};
    if (!whole.ends_with('/') && !path.empty()) whole += '/';
    return whole += path;
}

bool NameEndsWith(std::string_view name, std::string_view ending) {
    if (name.size() <= ending.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(ending.begin(), ending.end(), name.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [&](char a, char b) { return lower(a) == lower(b); });
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

bool IsListedFilePath(std::string_view path, std::string_view listDirectory, std::string_view listedName) {
    if (path.size() != listDirectory.size() + 1 + listedName.size() || !path.starts_with(listDirectory) ||
        path[listDirectory.size()] != '/')
        return false;
    path.remove_prefix(listDirectory.size() + 1);
    return std::equal(listedName.begin(), listedName.end(), path.begin(),
                      [](char listed, char c) { return (listed == '\\' ? '/' : listed) == c; });
}

std::string ChosenFilePath(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    path.push_back('/');
    path.append(name);
    return path;
}

std::optional<std::string> PathBelowFolder(std::string_view folder, std::string_view path) {
    if (path.size() <= folder.size() || !path.starts_with(folder) || path[folder.size()] != '/') return std::nullopt;
    std::string_view rest = path.substr(folder.size() + 1);
    std::vector<std::string_view> parts;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
        if (part.empty() || part == ".") continue;
        if (part != "..") {
            parts.push_back(part);
            continue;
        }
        if (parts.empty()) return std::nullopt;
        parts.pop_back();
    }
    if (parts.empty()) return std::nullopt;
    std::string below;
    for (const std::string_view part : parts) {
        if (!below.empty()) below.push_back('/');
        below.append(part);
    }
    return below;
}

bool IsPlainRelativePath(std::string_view name) {
    if (name.empty() || name.find('\\') != std::string_view::npos) return false;
    for (std::size_t begin = 0; begin <= name.size();) {
        const std::size_t end = std::min(name.find('/', begin), name.size());
        const std::string_view part = name.substr(begin, end - begin);
        if (part.empty() || part == "." || part == "..") return false;
        begin = end + 1;
    }
    return true;
}

FilesBelowFolder CommonFolderOf(const std::vector<std::string>& paths) {
    // A folder holds a path that goes on with '/' right after it; comparing
    // whole folder texts keeps "/a/bc" out of "/a/b". The root is "".
    const auto below = [](const std::string& path, const std::string& folder) {
        return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
    };
    FilesBelowFolder out;
    if (paths.empty()) return out;
    out.folder = ListDirectoryOf(paths.front());
    for (const std::string& path : paths)
        while (!below(path, out.folder) && !out.folder.empty() && out.folder != ".")
            out.folder = ListDirectoryOf(out.folder);
    out.names.reserve(paths.size());
    for (const std::string& path : paths)
        out.names.push_back(below(path, out.folder) ? path.substr(out.folder.size() + 1) : path);
    return out;
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

FolderBound::FolderBound(std::string_view folder) {
    if (auto root = Resolved(std::string(folder))) prefix_ = *root == "/" ? "/" : *root + "/";
}

bool FolderBound::Holds(std::string_view path) const {
    const std::string name = BaseNameOf(path);
    if (prefix_.empty() || name.empty() || name == "." || name == "..") return false;
    const auto parent = Resolved(ListDirectoryOf(path));
    if (!parent) return false;
    // "/a/b/" holds "/a/b/" itself and "/a/b/c/", not "/a/bc/".
    return (*parent + "/").compare(0, prefix_.size(), prefix_) == 0;
}

}  // namespace velmar
