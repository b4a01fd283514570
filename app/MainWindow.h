// The window's controls as its commands and its side of a job reach them.
// The Qt shell carries each operation out on the UI thread, in the order
// asked; the tests put a scripted fake in its place.
//
// Operations that answer something block a job's thread until the answer
// comes, so the window's side of a job asks once (CreationSetup) for what
// the window holds.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/RowBatch.h"
#include "jobs/JobEvents.h"
#include "jobs/RowDetails.h"
#include "kinds/KindTexts.h"
#include "lists/ListKind.h"

namespace velmar {

enum class Control { Edit1, Edit2, Label1, Button1, CheckBox1, ComboBox1 };

enum class EditBackground { Window, ButtonFace };

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Everything a creation job needs of the window, read in one round trip.
struct CreationSetup {
    std::vector<std::string> rows;  // the names the Create command listed, in row order
    std::string edit1;              // the list-file name
    std::string edit2;              // the one-line comment
    int comboBox1 = -1;             // the comment mode, -1 for none
    bool checkBox1 = false;         // WinSFV compatible
};

// What the Check File dialog was given.
struct FileCheckRequest {
    std::string file;
    // A digest pasted or typed, the path of a list that names the file, or
    // "" to be shown the file's digests.
    std::string digestOrList;
};

class MainWindow {
public:
    virtual ~MainWindow() = default;

    virtual void SetText(Control control, const std::string& text) = 0;  // Label1, Edit1, Edit2
    virtual std::string Text(Control control) = 0;                        // Edit1, Edit2
    virtual void SetEdit1ReadOnly(bool readOnly, EditBackground background) = 0;
    virtual void SetEnabled(Control control, bool enabled) = 0;
    virtual void SetVisible(Control control, bool visible) = 0;
    virtual void SelectComboBox1Item(int index) = 0;
    virtual CreationSetup ReadCreationSetup() = 0;

    virtual void ClearRows() = 0;
    virtual void AddRow(const std::string& name, StatusIcon icon) = 0;
    virtual void SetRowIcon(int row, StatusIcon icon) = 0;
    // What the row's tooltip and a report tell of it.
    virtual void SetRowDetails(int row, const RowDetails& details) = 0;
    virtual void SetRowText(int row, const std::string& text) = 0;
    // The row's file now lies at `path` (a bad file renamed): its details say so.
    virtual void SetRowRenamed(int row, const std::string& path) = 0;
    // `rows` in row order; the rows after each move up.
    virtual void RemoveRows(const std::vector<int>& rows) = 0;
    // A job's rows and marks, carried out in order as one operation: each
    // row added pending, each mark as SetRowDetails (where it has details),
    // SetRowIcon and RepaintList would, after a DeselectRow where asked.
    virtual void ApplyRows(RowBatch batch) = 0;
    // How many steps a job's sink on the calling thread gathers into one
    // batch at most; 1 has each carried out as the job tells it.
    virtual std::size_t RowsPerBatch() = 0;
    virtual std::string RowText(int row) = 0;
    // The list the rows are checked against and its signature's words ("" for
    // none), told once the check begins: a report of the rows names both.
    // Clearing the rows forgets them.
    virtual void SetCheckedList(const std::string& listPath, const std::string& signature) = 0;
    virtual int RowCount() = 0;
    virtual std::vector<int> SelectedRows() = 0;  // in row order
    virtual void DeselectRow(int row) = 0;
    virtual void RepaintList() = 0;                // scheduled, never painted synchronously

    virtual void SetProgressRange(int minimum, int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    // Until called with nothing, the bar shows `progress`: the window reads
    // it on its own about ten times a second.
    virtual void FollowProgress(std::shared_ptr<const JobProgress> progress) = 0;
    virtual void RepaintWindow() = 0;

    virtual void SetBusyCursor(bool busy) = 0;
    virtual std::optional<std::vector<std::string>> OpenFileDialog(const OpenFileRequest& request) = 0;
    // The folder chosen, as bytes; nothing when cancelled.
    virtual std::optional<std::string> OpenFolderDialog(const std::string& title) = 0;
    // The Check File dialog, its digest box filled from the clipboard when
    // that holds a digest; nothing when cancelled.
    // `given` fills its fields first (a file named at start-up).
    virtual std::optional<FileCheckRequest> CheckFileDialog(const FileCheckRequest& given) = 0;
    // "Create which list?": one of `kinds` (their names, the first one
    // proposed); nothing when cancelled.
    virtual std::optional<std::string> ChooseListKind(const std::vector<std::string>& kinds) = 0;
    // The two files of Compare Files; nothing when cancelled.
    virtual std::optional<std::array<std::string, 2>> CompareFilesDialog() = 0;
    virtual MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) = 0;
    virtual void LoadIcons() = 0;
};

}  // namespace velmar
