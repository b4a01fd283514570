#include "platform/Settings.h"

#include <errno.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/ReplacementFile.h"

namespace velmar {
namespace {

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

// Reads a quoted text starting at `pos`; leaves `pos` after the closing quote.
std::optional<std::string> Unquote(const std::string& line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\' && pos + 1 < line.size()) {
            c = line[++pos];
            if (c == 'n') c = '\n';
        }
        out += c;
    }
    return std::nullopt;
}

bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

}  // namespace

std::string SettingsStore::DefaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && *config == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : "") + "/.config";
    }
    return base + "/velmar/settings.reg";
}

void SettingsStore::Load() {
    keys_.clear();
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    std::map<std::string, Value>* key = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            key = &keys_[line.substr(1, line.size() - 2)];
            continue;
        }
        std::size_t pos = 0;
        auto name = Unquote(line, pos);
        if (!key || !name || pos >= line.size() || line[pos] != '=') continue;
        ++pos;
        if (line.compare(pos, 6, "dword:") == 0) {
            std::string digits = line.substr(pos + 6);
            if (digits.size() != 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) continue;
            (*key)[*name] = static_cast<std::int32_t>(static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16)));
        } else if (auto text = Unquote(line, pos); text && pos == line.size()) {
            (*key)[*name] = *text;
        }
    }
}

bool SettingsStore::Save() const {
    std::ostringstream out;
    for (const auto& [key, values] : keys_) {
        out << '[' << key << "]\n";
        for (const auto& [name, value] : values) {
            out << Quote(name) << '=';
            if (const auto* number = std::get_if<std::int32_t>(&value)) {
                char digits[9];
                std::snprintf(digits, sizeof digits, "%08x", static_cast<std::uint32_t>(*number));
                out << "dword:" << digits << '\n';
            } else {
                out << Quote(std::get<std::string>(value)) << '\n';
            }
        }
        out << '\n';
    }
    const std::string text = out.str();
    if (!MakeFolders(path_)) return false;
    return ReplacementFile::WriteWhole(path_, text, 0600);
}

std::optional<std::int32_t> SettingsStore::ReadInteger(const std::string& key, const std::string& name) const {
    auto k = keys_.find(key);
    if (k == keys_.end()) return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    if (const auto* number = std::get_if<std::int32_t>(&v->second)) return *number;
    return std::nullopt;
}

std::optional<std::string> SettingsStore::ReadString(const std::string& key, const std::string& name) const {
    auto k = keys_.find(key);
    if (k == keys_.end()) return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    if (const auto* text = std::get_if<std::string>(&v->second)) return *text;
    return std::nullopt;
}

void SettingsStore::WriteInteger(const std::string& key, const std::string& name, std::int32_t value) {
    keys_[key][name] = value;
}

void SettingsStore::WriteString(const std::string& key, const std::string& name, const std::string& value) {
    keys_[key][name] = value;
}

void SettingsStore::DeleteKey(const std::string& key) {
    // A key goes with the keys below it.
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it->first == key || it->first.rfind(key + "\\", 0) == 0)
            it = keys_.erase(it);
        else
            ++it;
    }
}

}  // namespace velmar
