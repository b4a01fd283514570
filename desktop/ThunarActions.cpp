#include "desktop/ThunarActions.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "desktop/DesktopFiles.h"
#include "platform/ReplacementFile.h"

namespace velmar {

namespace {

// Thunar runs the command with the shell, %f standing for the first item's
// path and %F for all of them, each quoted for that shell. It offers an
// action whose command has no %F for a single item only, so the entries that
// take one need no <range>; leaving <range> and <submenu> out keeps the file
// readable by a Thunar before 4.17, which refuses a whole uca.xml over one
// element it does not know.
struct ThunarAction {
    const char* uniqueId;
    const char* name;
    const char* description;
    const char* command;
    bool listsOnly;  // else any name
    bool folders;    // else files of every kind
};

constexpr ThunarAction Actions[] = {
    {"velmar-create", "Create Checksum List...", "Create a checksum list of the selected files",
     "velmar --create %F", false, false},
    {"velmar-create-folder", "Create Checksum List of Folder...", "Create a checksum list of the files in the folder",
     "velmar --create %f", false, true},
    {"velmar-verify", "Verify Checksum List", "Check the files the selected lists name", "velmar --verify %F", true,
     false},
    {"velmar-check", "Check Against a Digest...", "Check the file against a digest you paste", "velmar --check %f",
     false, false},
};

// Thunar matches the names case for case: each pattern of the checksum
// lists comes in capitals too ("*.MD5", "MD5SUM*"), as other tools often
// write them, and in lower case ("sha256sums*").
std::string ListPatterns() {
    std::set<std::string> seen;
    std::string patterns;
    const auto spelt = [](std::string name, int (*spelling)(int)) {
        for (char& c : name) c = static_cast<char>(spelling(static_cast<unsigned char>(c)));
        return name;
    };
    for (const std::string& name : ChecksumListNames())
        for (const std::string& each : {name, spelt(name, ::toupper), spelt(name, ::tolower)})
            if (seen.insert(each).second) patterns += each + ";";
    patterns.pop_back();
    return patterns;
}

// One action as Thunar itself writes it.
std::string ActionText(const ThunarAction& action) {
    std::string text = std::string("<action>\n") +
                       "\t<icon>velmar</icon>\n"
                       "\t<name>" + action.name + "</name>\n"
                       "\t<unique-id>" + action.uniqueId + "</unique-id>\n"
                       "\t<command>" + action.command + "</command>\n"
                       "\t<description>" + action.description + "</description>\n"
                       "\t<patterns>" + (action.listsOnly ? ListPatterns() : "*") + "</patterns>\n";
    text += action.folders ? "\t<directories/>\n"
                           : "\t<audio-files/>\n\t<image-files/>\n\t<other-files/>\n\t<text-files/>\n\t<video-files/>\n";
    return text + "</action>\n";
}

std::set<std::string> UniqueIds(const std::string& text) {
    constexpr std::string_view Open = "<unique-id>", Close = "</unique-id>";
    std::set<std::string> ids;
    for (auto start = text.find(Open); start != std::string::npos; start = text.find(Open, start)) {
        start += Open.size();
        const auto end = text.find(Close, start);
        if (end == std::string::npos) break;
        std::string id = text.substr(start, end - start);
        const auto first = id.find_first_not_of(" \t\r\n");
        const auto last = id.find_last_not_of(" \t\r\n");
        ids.insert(first == std::string::npos ? std::string() : id.substr(first, last - first + 1));
    }
    return ids;
}

}  // namespace

std::string ThunarActionsPath(const DesktopPlaces& places) { return places.configHome + "/Thunar/uca.xml"; }

bool WithThunarActions(std::string& ucaText, int& added) {
    std::string missing;
    added = 0;
    const std::set<std::string> ids = UniqueIds(ucaText);
    for (const ThunarAction& action : Actions) {
        if (ids.contains(action.uniqueId)) continue;
        missing += ActionText(action);
        ++added;
    }
    if (ucaText.find_first_not_of(" \t\r\n") == std::string::npos) {
        ucaText = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n" + missing + "</actions>\n";
        return true;
    }
    if (const auto end = ucaText.rfind("</actions>"); end != std::string::npos) {
        ucaText.insert(end, missing);
        return true;
    }
    if (const auto empty = ucaText.rfind("<actions/>"); empty != std::string::npos) {
        ucaText.replace(empty, std::string_view("<actions/>").size(), "<actions>\n" + missing + "</actions>");
        return true;
    }
    added = 0;
    return false;
}

ThunarActionsResult AddThunarActions(const DesktopPlaces& places) {
    using Outcome = ThunarActionsResult::Outcome;
    ThunarActionsResult result;
    result.path = ThunarActionsPath(places);
    const std::filesystem::path path(result.path);

    std::string text;
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            result.why = "it cannot be read";
            return result;
        }
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (!WithThunarActions(text, result.added)) {
        result.why = "it holds no <actions> element";
        return result;
    }
    if (result.added == 0) {
        result.outcome = Outcome::AlreadyThere;
        return result;
    }
    std::filesystem::create_directories(path.parent_path(), error);
    if (error || !ReplacementFile::WriteWhole(result.path, text)) {
        result.added = 0;
        result.why = "it cannot be written";
        return result;
    }
    result.outcome = Outcome::Added;
    return result;
}

std::string ThunarActionsMessage(const ThunarActionsResult& result) {
    using Outcome = ThunarActionsResult::Outcome;
    switch (result.outcome) {
        case Outcome::Added:
            return "Added " + std::to_string(result.added) + (result.added == 1 ? " Velmar action" : " Velmar actions") +
                   " to " + result.path;
        case Outcome::AlreadyThere:
            return "Velmar's actions are already in " + result.path;
        case Outcome::NotWritten:
            break;
    }
    return "Could not add Velmar's actions to " + result.path + ": " + result.why;
}

}  // namespace velmar
