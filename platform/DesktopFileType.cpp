#include "platform/DesktopFileType.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/ReplacementFile.h"

extern char** environ;

namespace velmar {

namespace {

constexpr const char* DesktopId = "velmar.desktop";
constexpr const char* DefaultSfvMimeType = "text/x-sfv";
constexpr const char* DefaultGroup = "[Default Applications]";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    return home.empty() ? std::string("/") : home;
}

// A relative value of an XDG variable is invalid and ignored, as the base
// directory rules say.
std::string BaseDirectory(const char* variable, const std::string& fallback) {
    std::string value = Environment(variable);
    return !value.empty() && value.front() == '/' ? value : fallback;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes beside the target and renames over it, so a reader sees the old
// file or the new one and a failed write leaves the old one alone.
bool WriteFileWhole(const std::string& path, const std::string& text) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (error) return false;
    return ReplacementFile::WriteWhole(path, text);
}

// Escapes a string value of a desktop entry: backslash, line feed, carriage
// return and tab.
std::string EscapedValue(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out;
}

// Runs a tool with its output thrown away and waits for it; a tool that is
// not installed is no error.
void RunQuietly(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

}  // namespace

DesktopPlaces DesktopPlaces::FromEnvironment() {
    DesktopPlaces places;
    places.dataHome = BaseDirectory("XDG_DATA_HOME", HomeFolder() + "/.local/share");
    places.configHome = BaseDirectory("XDG_CONFIG_HOME", HomeFolder() + "/.config");
    std::string dirs = Environment("XDG_DATA_DIRS");
    if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
    std::istringstream list(dirs);
    for (std::string dir; std::getline(list, dir, ':');)
        if (!dir.empty() && dir.front() == '/') places.dataDirs.push_back(dir);
    return places;
}

std::string SfvMimeType(const DesktopPlaces& places) {
    // globs2 lines read "weight:type:pattern[:flags]". Only the system's
    // folders count: the user's own database holds what Velmar put there.
    for (const std::string& dir : places.dataDirs) {
        std::ifstream globs(dir + "/mime/globs2");
        for (std::string line; std::getline(globs, line);) {
            if (line.empty() || line.front() == '#') continue;
            const auto first = line.find(':');
            const auto second = first == std::string::npos ? first : line.find(':', first + 1);
            if (second == std::string::npos) continue;
            std::string pattern = line.substr(second + 1);
            pattern = pattern.substr(0, pattern.find(':'));
            std::transform(pattern.begin(), pattern.end(), pattern.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (pattern == "*.sfv") return line.substr(first + 1, second - first - 1);
        }
    }
    return DefaultSfvMimeType;
}

std::string OwnProgramPath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string DesktopExecLine(const std::string& programPath) {
    // Inside double quotes the characters " ` $ and \ take a backslash; a
    // literal % is written %%; then the whole line is escaped as a string
    // value, which doubles every backslash once more.
    std::string quoted = "\"";
    for (char c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += "\" %f";
    return EscapedValue(quoted);
}

std::string DesktopEntryText(const std::string& programPath, const std::string& mimeType) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Velmar\n"
           "GenericName=Checksum Lists\n"
           "Comment=Verify SFV checksum lists\n"
           "Exec=" + DesktopExecLine(programPath) + "\n"
           "Icon=velmar\n"
           "Terminal=false\n"
           "Categories=Utility;\n"
           "MimeType=" + mimeType + ";\n";
}

std::string MimePackageText(const std::string& mimeType) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" + mimeType + "\">\n"
           "    <comment>SFV File</comment>\n"
           "    <sub-class-of type=\"text/plain\"/>\n"
           "    <glob pattern=\"*.sfv\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string WithDefaultApplication(const std::string& mimeAppsText, const std::string& mimeType,
                                   const std::string& desktopId) {
    std::vector<std::string> lines;
    std::istringstream in(mimeAppsText);
    for (std::string line; std::getline(in, line);) lines.push_back(line);

    std::vector<std::string> out;
    bool inDefaults = false, sawDefaults = false;
    auto addOurs = [&] {
        if (!desktopId.empty()) out.push_back(mimeType + "=" + desktopId);
    };
    for (const std::string& line : lines) {
        const std::string trimmed = Trimmed(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            if (inDefaults) {
                // Ours goes after the group's last entry, before the blank
                // lines that separate it from the next group.
                std::size_t blanks = 0;
                while (blanks < out.size() && Trimmed(out[out.size() - 1 - blanks]).empty()) ++blanks;
                std::vector<std::string> tail(out.end() - static_cast<std::ptrdiff_t>(blanks), out.end());
                out.resize(out.size() - blanks);
                addOurs();
                out.insert(out.end(), tail.begin(), tail.end());
            }
            inDefaults = trimmed == DefaultGroup;
            sawDefaults = sawDefaults || inDefaults;
            out.push_back(line);
            continue;
        }
        if (inDefaults) {
            const auto equals = trimmed.find('=');
            if (equals != std::string::npos && Trimmed(trimmed.substr(0, equals)) == mimeType) continue;
        }
        out.push_back(line);
    }
    if (inDefaults) addOurs();
    if (!sawDefaults && !desktopId.empty()) {
        if (!out.empty() && !Trimmed(out.back()).empty()) out.push_back("");
        out.push_back(DefaultGroup);
        addOurs();
    }
    std::string text;
    for (const std::string& line : out) text += line + "\n";
    return text;
}

std::string DefaultApplication(const std::string& mimeAppsText, const std::string& mimeType) {
    std::istringstream in(mimeAppsText);
    bool inDefaults = false;
    for (std::string line; std::getline(in, line);) {
        const std::string trimmed = Trimmed(line);
        if (!trimmed.empty() && trimmed.front() == '[') inDefaults = trimmed == DefaultGroup;
        const auto equals = trimmed.find('=');
        if (!inDefaults || equals == std::string::npos || Trimmed(trimmed.substr(0, equals)) != mimeType) continue;
        const std::string ids = Trimmed(trimmed.substr(equals + 1));
        return ids.substr(0, ids.find(';'));
    }
    return {};
}

bool DesktopEntryInstalled(const DesktopPlaces& places) {
    std::error_code error;
    for (const std::string& dir : places.dataDirs)
        if (std::filesystem::exists(dir + "/applications/" + DesktopId, error)) return true;
    return false;
}

bool SfvFileTypeRegistered(const DesktopPlaces& places) {
    std::error_code error;
    if (std::filesystem::exists(places.DesktopEntryPath(), error)) return true;
    return DesktopEntryInstalled(places) &&
           DefaultApplication(ReadFile(places.MimeAppsPath()), SfvMimeType(places)) == DesktopId;
}

void RegisterSfvFileType(const DesktopPlaces& places, const std::string& programPath) {
    const std::string mimeType = SfvMimeType(places);
    // The installed entry opens every kind of list already: a second
    // velmar.desktop of the user's own would hide it.
    if (DesktopEntryInstalled(places)) {
        WriteFileWhole(places.MimeAppsPath(),
                       WithDefaultApplication(ReadFile(places.MimeAppsPath()), mimeType, DesktopId));
        return;
    }
    WriteFileWhole(places.MimePackagePath(), MimePackageText(mimeType));
    WriteFileWhole(places.DesktopEntryPath(), DesktopEntryText(programPath, mimeType));
    WriteFileWhole(places.MimeAppsPath(),
                   WithDefaultApplication(ReadFile(places.MimeAppsPath()), mimeType, DesktopId));
    RefreshDesktopCaches(places);
}

void RemoveSfvFileType(const DesktopPlaces& places) {
    std::error_code error;
    std::filesystem::remove_all(places.DesktopEntryPath(), error);
    std::filesystem::remove_all(places.MimePackagePath(), error);
    const std::string mimeApps = places.MimeAppsPath();
    if (std::filesystem::exists(mimeApps, error)) {
        const std::string text = ReadFile(mimeApps);
        const std::string without = WithDefaultApplication(text, SfvMimeType(places), "");
        if (without != text) WriteFileWhole(mimeApps, without);
    }
    RefreshDesktopCaches(places);
}

void RefreshDesktopCaches(const DesktopPlaces& places) {
    std::error_code error;
    if (std::filesystem::is_directory(places.dataHome + "/mime/packages", error))
        RunQuietly({"update-mime-database", places.dataHome + "/mime"});
    if (std::filesystem::is_directory(places.dataHome + "/applications", error))
        RunQuietly({"update-desktop-database", "-q", places.dataHome + "/applications"});
}

}  // namespace velmar
