#include "kinds/ListKinds.h"

#include <fnmatch.h>

#include <cctype>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "kinds/M3uKind.h"
#include "kinds/SfvKind.h"
#include "kinds/SumToolKinds.h"
#include "lists/KindOfList.h"

namespace velmar {

namespace {

struct FilterEntry {
    std::string_view description;
    std::string_view patterns;  // "*.bin;*.iso"
};

// A dialog filter's pairs that name one kind's lists: "All files" and
// "Text files" name any file.
std::vector<FilterEntry> NamingFilterEntries(std::string_view filter) {
    std::vector<FilterEntry> entries;
    while (!filter.empty()) {
        const std::size_t bar = filter.find('|');
        if (bar == std::string_view::npos) break;
        const std::string_view description = filter.substr(0, bar);
        filter.remove_prefix(bar + 1);
        const std::size_t end = filter.find('|');
        const std::string_view patterns = filter.substr(0, end);
        filter.remove_prefix(end == std::string_view::npos ? filter.size() : end + 1);
        if (patterns != "*.*" && patterns != "*" && patterns != "*.txt") entries.push_back({description, patterns});
    }
    return entries;
}

struct Entry {
    const ListKind* kind;
    const KindTexts* texts;
};

const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries = [] {
        // MD5 keeps its place between SFV and M3U, where its keys are.
        const auto sums = SumToolKinds();
        std::vector<Entry> table = {{&SfvKind, &SfvTexts}, {&sums[0].kind, &sums[0].texts}, {&M3uKind, &M3uTexts}};
        for (std::size_t i = 1; i < sums.size(); ++i) table.push_back({&sums[i].kind, &sums[i].texts});
        return table;
    }();
    return entries;
}

}  // namespace

bool IsListName(std::string_view name) {
    const std::string text(name);
    for (const ListKind* kind : ListKinds())
        for (const char* pattern : kind->namePatterns)
            if (pattern && ::fnmatch(pattern, text.c_str(), FNM_CASEFOLD) == 0) return true;
    return false;
}

std::span<const ListKind* const> ListKinds() {
    static const std::vector<const ListKind*> kinds = [] {
        std::vector<const ListKind*> all;
        for (const Entry& entry : Entries()) all.push_back(entry.kind);
        return all;
    }();
    return kinds;
}

const KindTexts& TextsOf(const ListKind& kind) {
    for (const Entry& entry : Entries())
        if (entry.kind == &kind) return *entry.texts;
    std::abort();
}

const ListKind& ListKindOf(const std::string& path) { return KindOfListAmong(ListKinds(), path); }

std::string AllListsFilter() {
    std::string every;
    std::string each;
    for (const Entry& entry : Entries())
        for (const FilterEntry& filter : NamingFilterEntries(entry.texts->verifyDialog.filter)) {
            if (!every.empty()) every += ';';
            every.append(filter.patterns);
            each.append(filter.description).append("|").append(filter.patterns).append("|");
        }
    return "Checksum lists (" + every + ")|" + every + "|" + each + "All files (*.*)|*.*";
}

std::string KindShortName(const ListKind& kind) {
    std::string name;
    for (const char* c = kind.name; *c; ++c) name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*c))));
    return name;
}

const ListKind* KindByShortName(const std::string& name) {
    for (const ListKind* kind : ListKinds())
        if (KindShortName(*kind) == name) return kind;
    return nullptr;
}

}  // namespace velmar
