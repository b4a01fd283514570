// The per-user settings store: keys holding typed values, kept in one text
// file under the user's config folder. The file reads like a registry export
// so a person can look at it and mend it:
//
//   [Software\Velmar\TRegistry\Positions]
//   "FormTop"=dword:00000031
//   "Caption"="text"
//
// A value keeps its type: reading a text value as an integer finds none.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace velmar {

class SettingsStore {
public:
    // $XDG_CONFIG_HOME/velmar/settings.reg, or ~/.config/velmar/settings.reg.
    static std::string DefaultPath();

    explicit SettingsStore(std::string path) : path_(std::move(path)) {}

    // Reads the file. A missing file is an empty store; a line that cannot
    // be understood is skipped, the rest still counts.
    void Load();
    // Writes the whole store to disk at once (synced, then moved in place so
    // a crash leaves the old file or the new one). False when it could not.
    bool Save() const;

    bool KeyExists(const std::string& key) const { return keys_.count(key) != 0; }
    // A missing key, a missing value or a value of another type give nothing.
    std::optional<std::int32_t> ReadInteger(const std::string& key, const std::string& name) const;
    std::optional<std::string> ReadString(const std::string& key, const std::string& name) const;
    // Creates the key as needed.
    void WriteInteger(const std::string& key, const std::string& name, std::int32_t value);
    void WriteString(const std::string& key, const std::string& name, const std::string& value);
    void DeleteKey(const std::string& key);

    const std::string& Path() const { return path_; }

private:
    using Value = std::variant<std::int32_t, std::string>;
    std::string path_;
    std::map<std::string, std::map<std::string, Value>> keys_;
};

}  // namespace velmar
