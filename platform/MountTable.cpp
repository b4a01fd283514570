#include "platform/MountTable.h"

#include <cstdio>
#include <fstream>

namespace velmar {
namespace {

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// Cuts at unescaped separators, leaving the escapes in place.
std::vector<std::string> SplitRaw(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::string piece;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            piece += text[i];
            piece += text[++i];
        } else if (text[i] == separator) {
            if (!piece.empty()) pieces.push_back(piece);
            piece.clear();
        } else {
            piece += text[i];
        }
    }
    if (!piece.empty()) pieces.push_back(piece);
    return pieces;
}

// "/mnt" holds "/mnt" and "/mnt/a", not "/mntx"; "/" holds everything.
bool Holds(const std::string& point, const std::string& path) {
    if (path.compare(0, point.size(), point) != 0) return false;
    return path.size() == point.size() || point.back() == '/' || path[point.size()] == '/';
}

// "36 25 0:32 / /mnt rw,relatime shared:1 - btrfs /dev/nvme0n1p2 rw,ssd,subvol=/":
// the optional fields before " - " vary in number.
std::optional<Mount> ParseLine(const std::string& line) {
    const std::vector<std::string> fields = SplitRaw(line, ' ');
    std::size_t dash = 0;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    if (dash < 5 || dash + 2 >= fields.size()) return std::nullopt;
    Mount mount;
    if (std::sscanf(fields[2].c_str(), "%u:%u", &mount.major, &mount.minor) != 2) return std::nullopt;
    mount.root = Unescape(fields[3]);
    mount.point = Unescape(fields[4]);
    mount.type = Unescape(fields[dash + 1]);
    mount.source = Unescape(fields[dash + 2]);
    if (dash + 3 < fields.size()) mount.options = fields[dash + 3];  // escaped: its values are split further
    return mount;
}

}  // namespace

std::string Unescape(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plain += text[i];
        } else if (i + 3 < text.size() && IsOctal(text[i + 1]) && IsOctal(text[i + 2]) && IsOctal(text[i + 3])) {
            plain += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0'));
            i += 3;
        } else {
            plain += text[++i];
        }
    }
    return plain;
}

std::vector<std::string> SplitEscaped(const std::string& text, char separator) {
    std::vector<std::string> pieces = SplitRaw(text, separator);
    for (std::string& piece : pieces) piece = Unescape(piece);
    return pieces;
}

std::optional<std::string> OptionValue(const std::string& options, const std::string& name) {
    for (const std::string& option : SplitRaw(options, ','))
        if (option.size() > name.size() && option.compare(0, name.size(), name) == 0 && option[name.size()] == '=')
            return option.substr(name.size() + 1);
    return std::nullopt;
}

std::vector<Mount> ReadMounts(const std::string& mountinfo) {
    std::vector<Mount> mounts;
    std::ifstream in(mountinfo);
    for (std::string line; std::getline(in, line);)
        if (auto mount = ParseLine(line)) mounts.push_back(std::move(*mount));
    return mounts;
}

std::optional<Mount> MountHolding(const std::vector<Mount>& mounts, const std::string& path, unsigned major,
                                  unsigned minor) {
    const Mount* numbered = nullptr;
    const Mount* deepest = nullptr;
    // Later lines are mounted later, over the earlier ones at the same point.
    for (const Mount& mount : mounts) {
        if (!Holds(mount.point, path)) continue;
        if (!deepest || mount.point.size() >= deepest->point.size()) deepest = &mount;
        if (mount.major == major && mount.minor == minor &&
            (!numbered || mount.point.size() >= numbered->point.size()))
            numbered = &mount;
    }
    if (numbered) return *numbered;
    if (deepest) return *deepest;
    return std::nullopt;
}

}  // namespace velmar
