// What a list kind is as a format: the digest it records, the names its
// lists go by, how one of its lines is read and how its lines are written,
// and how strictly it is checked. What the window and the command line call
// it (menus, dialogs, messages) is kept apart, in kinds/KindTexts.h.
// Everything else about creating, verifying and select-verifying a list is
// the same for every kind and is written once, in this folder.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "checksum/FileDigest.h"
#include "lists/CommentBlocks.h"
#include "platform/TextStream.h"

namespace velmar {

struct CreationInputs;

// Who reads a list: a kind may read more or less strictly for each.
enum class ReadPurpose {
    MenuVerify,         // the verification the menu starts
    CommandLineVerify,  // the verification of a list named at start-up or dropped
    SelectVerify,       // the load of a select-verify list
};

enum class ListLineKind {
    Skip,               // no entry on this line
    Entry,              // `name` and `digest` make an entry
    EntryThenUnusable,  // `name` gets its row, then the list is unusable
    Unusable,           // the list is unusable
    DigestBeforeName,   // `digest` is an entry's; its name is the whole next line
};

struct ListLine {
    ListLineKind kind = ListLineKind::Skip;
    std::string name;
    // The expected digest as text. An entry whose text falls short of the
    // algorithm's digits (a NUL cut it) is shown, then the list is unusable.
    std::string digest;
};

// What one reading of a list carries from line to line: made afresh for
// each list read, by whoever reads it, and handed to every line of it.
struct ListReadState {
    // The sum-tool layouts' lines in either "<digest>  <name>" or the BSD
    // reversed "<digest> <name>": the first line that tells them apart
    // decides for the whole list, so that a name beginning with a blank or
    // a '*' is never read one way on one line and the other on the next.
    enum class SumLayout { Undecided, Usual, Reversed };
    SumLayout sumLayout = SumLayout::Undecided;
    // The file a one-file list is named after ("NAME" for "NAME.md5", by the
    // kind's sidecarExtensions), which a line of a digest alone names; empty
    // for any other list.
    std::string sidecarName;
};

struct ListKind {
    // The kind's name in every text ("SFV", "MD5", "SHA256"), and in lower
    // case its short name on the command line ("sfv", "sha256").
    const char* name;
    DigestAlgorithm algorithm;

    // Naming: the patterns of the names its lists go by, letter case aside,
    // in the order its dialogs offer them ("md5sum*", "*.md5"; nullptr past
    // the last; a name another kind's lists go by too, "*.sha3", leaves it
    // to the lines); the name a new list is first given ("default.sfv",
    // "md5sum"); and, where a list is named after its files' folder, the
    // ending that name takes (".sfv"; nullptr: always the first name).
    const char* namePatterns[3];
    const char* firstName;
    const char* folderExtension;

    // Reading. A piece is one read of the list (at most 511 bytes, its line
    // feed included when it ends a line).
    ListLine (*readLine)(std::string_view piece, const ListKind& kind, ReadPurpose purpose, ListReadState& state);
    const char* bsdTag;               // a sum-tool list's tag in the BSD layout ("MD5"); nullptr: none
    const char* opensslTag;           // its tag in OpenSSL's layout where it differs ("SHA2-256"); else nullptr
    // What its digits follow in the layouts that begin with the digest, where
    // the tool tells them so from another digest of as many ("XXH3_", beside
    // xxhsum's XXH64); nullptr: nothing.
    const char* digestPrefix = nullptr;
    // The endings of a one-file list named after its file, "NAME.md5" for
    // NAME (nullptr past the last; none: the kind has no such list).
    const char* sidecarExtensions[2];
    const char* listMissingMessage;   // the list cannot be opened
    const char* listUnusableMessage;  // it is malformed, cannot be read to its end, or lacks entries
    bool entriesRequired;             // a list without an entry is unusable

    // Checking a listed file.
    bool retryWithoutLeadingBlanks;   // a name that opens nothing is tried again without leading blanks
    bool readFailureIsFatal;          // else a file that fails part way is compared by what was read

    // Writing: the lines before the comment block (nullptr: none), the
    // comment style (nullptr: no comment block), one entry's lines in this
    // kind (in the layout of the list they go into, as its reading left
    // `list`; a fresh ListReadState for a new list), and why an entry cannot
    // carry a name, as the end of a sentence ("an SFV list has no way to
    // write a line end in a name"), or nullptr when it can (nullptr for the
    // function: every name; lists/ListableName.h adds what no list can
    // carry).
    std::string (*header)(const CreationInputs& inputs, std::time_t now);
    const CommentStyle* comments;
    std::string (*entryLines)(std::string_view name, const FileDigest& digest, const ListKind& kind,
                              const ListReadState& list);
    const char* (*nameUnfit)(std::string_view name);
    LineEnd lineEnd = LineEnd::CrLf;  // how its lines end when it writes them
    // A sum tool's list writes a name with a backslash or a line end as
    // md5sum escapes it; else as it is, for a tool that reads no escapes.
    bool escapesNames = true;
    std::size_t Digits() const { return 2 * DigestSize(algorithm); }
};

// The kind a list is read as, told from its path (kinds/ListKinds.h's
// ListKindOf). It may read the list, so it runs in a job.
using KindOfList = const ListKind& (*)(const std::string& path);

}  // namespace velmar
