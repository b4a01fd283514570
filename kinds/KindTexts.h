// What the window and the command line call a list kind: its menu, its
// dialogs, the label of its name box and the message a finished list ends
// with. Its format and policy are the ListKind's (lists/ListKind.h).
#pragma once

#include <string>

namespace velmar {

// A file dialog's texts: its title and its filter.
struct OpenFileRequest {
    std::string title;
    std::string filter;  // "description|pattern|description|pattern..."
    int filterIndex = 1; // 1 is the first pair
    bool multiple = false;
    bool hidesSignatures = false;  // a list is chosen: signature files are not offered
};

// What tells the Create commands of the kinds apart in the window.
struct CreateTexts {
    const char* label;          // the name box's label once files are chosen: "SFV Filename"
    bool winsfvOffered;         // the WinSFV box may be ticked
    // The comment mode: the file-info block chosen and offered, no comment
    // offered, or offered as it was left.
    enum class CommentChoice { FileInfoOffered, NotOffered, OfferedAsLeft } comments;
    OpenFileRequest dialog;
    const char* folderTitle;    // Create from Folder's dialog: "Create SFV: Select Folder to Add"
};

struct KindTexts {
    // The menu: its caption, its four items and their keys ("F3",
    // "Shift+F6"), in the order create, verify, select verify, create from
    // folder.
    const char* menuCaption;
    // The menu that holds this kind's as a submenu (nullptr: the kind's menu
    // is on the menu bar itself).
    const char* menuGroup;
    const char* itemCaptions[4];
    const char* itemKeys[4];
    CreateTexts create;
    // The dialog of Verify and Select Verify. Its filter offers the kind's
    // names first, as ListKind::namePatterns gives them.
    OpenFileRequest verifyDialog;
    const char* creationComplete;  // "SFV file creation complete!"
    bool loadSetsProgressRange;    // a select-verify load ends with the bar's range over its rows
    // The desktop's MIME type for the kind's lists ("text/x-sfv"), and
    // whether Velmar declares it, told by the kind's name patterns, or only
    // opens a type the system has (a playlist's "audio/x-mpegurl", whose
    // player stays its default).
    const char* mimeType;
    bool declaresMimeType;
};

}  // namespace velmar
