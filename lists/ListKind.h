// What a list kind calls its own: its menu, dialogs and texts, the digest
// it records, how one of its lines is read and how its lines are written.
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

// A file dialog's texts: its title and its filter.
struct OpenFileRequest {
    std::string title;
    std::string filter;  // "description|pattern|description|pattern..."
    int filterIndex = 1; // 1 is the first pair
    bool multiple = false;
};

// What tells the Create commands of the list kinds apart.
struct CreateCommandKind {
    const char* label;          // the name box's label once files are chosen: "SFV Filename"
    const char* firstName;      // the name first proposed: "default.sfv"
    const char* extension;      // ".sfv" to name the list after the folder; nullptr keeps firstName
    bool winsfvOffered;         // the WinSFV box may be ticked
    // The comment mode: the file-info block chosen and offered, no comment
    // offered, or offered as it was left.
    enum class CommentChoice { FileInfoOffered, NotOffered, OfferedAsLeft } comments;
    OpenFileRequest dialog;
    const char* folderTitle;    // Create from Folder's dialog: "Create SFV: Select Folder to Add"
};

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
    // kind's sidecarExtension), which a line of a digest alone names; empty
    // for any other list.
    std::string sidecarName;
};

struct ListKind {
    // The menu: its caption, its four items and their keys ("F3",
    // "Shift+F6"), in the order create, verify, select verify, create from
    // folder.
    const char* menuCaption;
    // The menu that holds this kind's as a submenu (nullptr: the kind's menu
    // is on the menu bar itself).
    const char* menuGroup;
    const char* itemCaptions[4];
    const char* itemKeys[4];

    // The Create command's preparation (its mode is the registry's), the
    // dialog of Verify and Select Verify, and the message a finished list
    // ends with.
    CreateCommandKind create;
    OpenFileRequest verifyDialog;
    const char* creationComplete;

    DigestAlgorithm algorithm;

    // Reading. A piece is one read of the list (at most 511 bytes, its line
    // feed included when it ends a line).
    ListLine (*readLine)(std::string_view piece, const ListKind& kind, ReadPurpose purpose, ListReadState& state);
    const char* bsdTag;               // a sum-tool list's tag in the BSD layout ("MD5"); nullptr: none
    const char* opensslTag;           // its tag in OpenSSL's layout where it differs ("SHA2-256"); else nullptr
    // The ending of a one-file list named after its file, "NAME.md5" for
    // NAME (nullptr: the kind has none).
    const char* sidecarExtension;
    const char* listMissingMessage;   // the list cannot be opened
    const char* listUnusableMessage;  // it is malformed, cannot be read to its end, or lacks entries
    bool entriesRequired;             // a list without an entry is unusable
    bool loadSetsProgressRange;       // a select-verify load ends with the bar's range over its rows

    // Checking a listed file.
    bool retryWithoutLeadingBlanks;   // a name that opens nothing is tried again without leading blanks
    bool readFailureIsFatal;          // else a file that fails part way is compared by what was read

    // Writing: the lines before the comment block (nullptr: none), the
    // comment style (nullptr: no comment block), one entry's lines (in the
    // layout of the list they go into, as its reading left `list`; a fresh
    // ListReadState for a new list), and why an entry cannot carry a name,
    // as the end of a sentence ("an SFV list has no way to write a line end
    // in a name"), or nullptr when it can (nullptr for the function: every
    // name; lists/ListableName.h adds what no list can carry).
    std::string (*header)(const CreationInputs& inputs, std::time_t now);
    const CommentStyle* comments;
    std::string (*entryLines)(std::string_view name, const FileDigest& digest, const ListReadState& list);
    const char* (*nameUnfit)(std::string_view name);
    LineEnd lineEnd = LineEnd::CrLf;  // how its lines end when it writes them
    std::size_t Digits() const { return 2 * DigestSize(algorithm); }
};

// The kind a list is read as, told from its path (the registry's
// ListKindOf). It may read the list, so it runs in a job.
using KindOfList = const ListKind& (*)(const std::string& path);

}  // namespace velmar
