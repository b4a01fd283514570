// The one loop over a list's pieces, for every kind and every reader: the
// verification jobs and the select-verify load.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/JobFrame.h"
#include "lists/ListKind.h"
#include "lists/ListText.h"
#include "lists/ListedFileFinder.h"

namespace velmar {

// Appends one pending row through `frame` per entry, in line order, and the
// entry's expected digest text and name to the two tables at the row's
// index (they grow with the list). The quit and stop checks run before each
// piece: a stop (File > Stop) ends the reading there, the rows read so far
// left pending, and the job's walk, which checks the stop first, then ends
// as a stopped job with nothing checked.
// A list that cannot be opened fails the job with the kind's missing
// message; one that is malformed, cannot be read to its end, or (where the
// kind requires entries) holds none, with its unusable message. Returns the
// number of entries.
int ReadListEntries(JobFrame& frame, const ListKind& kind, const ListText& list, ReadPurpose purpose,
                    std::vector<std::string>& digests, std::vector<std::string>& names);

// A read list's names and expected digests, packed end to end: a list of a
// million rows costs its bytes and an offset each, not two strings a row.
// Every digest has the kind's full number of digits (the reader refuses
// any other).
class ListedEntries {
public:
    explicit ListedEntries(std::size_t digits) : digits_(digits) {}
    void Add(std::string_view name, std::string_view digest) {
        names_.append(name);
        nameEnds_.push_back(names_.size());
        digests_.append(digest);
    }
    // Room for the entries of a list of `listBytes` bytes.
    void Reserve(std::uint64_t listBytes) {
        names_.reserve(listBytes);
        digests_.reserve(listBytes);
        nameEnds_.reserve(listBytes / (digits_ + 3));
    }
    int Count() const { return static_cast<int>(nameEnds_.size()); }
    std::string_view Name(int row) const;
    std::string_view Digest(int row) const {
        return std::string_view(digests_).substr(static_cast<std::size_t>(row) * digits_, digits_);
    }

private:
    std::size_t digits_;
    std::string names_;
    std::vector<std::size_t> nameEnds_;
    std::string digests_;
};

// `finder` is the job's, which finds the names read in a legacy code page
// or another normalization: a folder it reads for that is not read again.
// With `kept`, an entry it turns down is left out, and no row is made for it.
int ReadListEntries(JobFrame& frame, const ListKind& kind, const ListText& list, ReadPurpose purpose,
                    ListedFileFinder& finder, ListedEntries& entries,
                    const std::function<bool(std::string_view name)>& kept = {});

// The name of the file the list at `path` is a one-file list of (a
// sidecar): its base name less the first of the kind's sidecarExtensions
// it ends with, letter case aside; empty when it ends with none.
std::string SidecarNameOf(const ListKind& kind, const std::string& path);

// A reading's state at the list's first line.
ListReadState FirstReadState(const ListKind& kind, const std::string& path);

// What the loop gives its caller.
struct ListReadingSinks {
    // Each entry's name (as found) and digest text, in line order.
    std::function<void(std::string& name, std::string& digest)> entry;
    // Every piece of the list's text as read, with the index of the entry
    // whose lines it is part of, or -1 for the lines around the entries (a
    // line in several pieces belongs wholly to its first piece's entry):
    // what rewrites a list piece by piece.
    std::function<void(std::string_view piece, int entry)> piece;
    // A pending row through `frame` for each entry, or none.
    bool addRows = true;
    // Where given, the reading's state at its end.
    ListReadState* endState = nullptr;
};

// The loop itself.
int ReadListEntries(JobFrame& frame, const ListKind& kind, const ListText& list, ReadPurpose purpose,
                    ListedFileFinder& finder, const ListReadingSinks& sinks);

}  // namespace velmar
