#include "registry/ListKinds.h"

#include <fnmatch.h>

#include <string_view>
#include <vector>

#include "m3u/M3uKind.h"
#include "md5list/Md5Kind.h"
#include "platform/Paths.h"
#include "sfv/SfvKind.h"
#include "sha256/Sha256Kind.h"

namespace velmar {

std::span<const ListKind* const> ListKinds() {
    static const ListKind* const kinds[] = {&SfvKind, &Md5Kind, &M3uKind, &Sha256Kind};
    return kinds;
}

KindModes ModesOf(const ListKind& kind) {
    const auto kinds = ListKinds();
    for (std::size_t i = 0; i < kinds.size(); ++i)
        if (kinds[i] == &kind) return ModesOfKind(i);
    return {ModeNone, ModeNone};
}

const ListKind& CommandLineKind() { return SfvKind; }

namespace {

struct FilterEntry {
    std::string_view description;
    std::string_view patterns;  // "*.bin;*.iso"
};

// A dialog filter's pairs that name one kind's lists: "All files" and
// "Text files" name any file.
std::vector<FilterEntry> ListEntriesOf(std::string_view filter) {
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

bool NameMatches(std::string_view patterns, const std::string& name) {
    while (!patterns.empty()) {
        const std::size_t semicolon = patterns.find(';');
        const std::string pattern(patterns.substr(0, semicolon));
        if (::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
        patterns.remove_prefix(semicolon == std::string_view::npos ? patterns.size() : semicolon + 1);
    }
    return false;
}

}  // namespace

const ListKind& ListKindOf(const std::string& path) {
    const std::string name = BaseNameOf(path);
    for (const ListKind* kind : ListKinds())
        for (const FilterEntry& entry : ListEntriesOf(kind->verifyDialog.filter))
            if (NameMatches(entry.patterns, name)) return *kind;
    return SfvKind;
}

std::string AllListsFilter() {
    std::string every;
    std::string each;
    for (const ListKind* kind : ListKinds())
        for (const FilterEntry& entry : ListEntriesOf(kind->verifyDialog.filter)) {
            if (!every.empty()) every += ';';
            every.append(entry.patterns);
            each.append(entry.description).append("|").append(entry.patterns).append("|");
        }
    return "Checksum lists (" + every + ")|" + every + "|" + each + "All files (*.*)|*.*";
}

}  // namespace velmar
