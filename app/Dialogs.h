// The open-file dialog and the message boxes, behind one seam so the shell's
// tests can answer them from a script.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QStringList>

#include "app/MainWindow.h"

class QDialog;
class QWidget;

namespace velmar {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Paths as bytes; nothing when cancelled.
    virtual std::optional<std::vector<std::string>> OpenFiles(QWidget* parent, const OpenFileRequest& request) = 0;
    // A folder's path as bytes; nothing when cancelled.
    virtual std::optional<std::string> OpenFolder(QWidget* parent, const std::string& title) = 0;
    // The path to save to, as bytes, `suggested` proposed; the filter in
    // OpenFileRequest's form. Nothing when cancelled.
    virtual std::optional<std::string> SaveFile(QWidget* parent, const OpenFileRequest& request,
                                                const std::string& suggested) = 0;
    virtual MessageAnswer Message(QWidget* parent, const std::string& text, MessageButtons buttons) = 0;
    // The Check File and Compare Files dialogs (app/CheckDialogs.h); nothing
    // when cancelled, as a script that has no answer for them leaves them.
    virtual std::optional<FileCheckRequest> FileCheck(QWidget*, const FileCheckRequest&) { return std::nullopt; }
    // "Create which list?": one of `kinds`; nothing when cancelled.
    virtual std::optional<std::string> ListKind(QWidget*, const std::vector<std::string>&) { return std::nullopt; }
    virtual std::optional<std::array<std::string, 2>> FilesToCompare(QWidget*) { return std::nullopt; }
    // Shows one of the program's own windows modally (the About box) and
    // returns its result.
    virtual int ShowModal(QDialog& dialog);
};

// The real ones: QFileDialog and QMessageBox, caption "Velmar", no icon.
class QtDialogs : public Dialogs {
public:
    std::optional<std::vector<std::string>> OpenFiles(QWidget* parent, const OpenFileRequest& request) override;
    std::optional<std::string> OpenFolder(QWidget* parent, const std::string& title) override;
    std::optional<std::string> SaveFile(QWidget* parent, const OpenFileRequest& request,
                                        const std::string& suggested) override;
    MessageAnswer Message(QWidget* parent, const std::string& text, MessageButtons buttons) override;
    std::optional<FileCheckRequest> FileCheck(QWidget* parent, const FileCheckRequest& given) override;
    std::optional<std::string> ListKind(QWidget* parent, const std::vector<std::string>& kinds) override;
    std::optional<std::array<std::string, 2>> FilesToCompare(QWidget* parent) override;
};

// "MP3 files (*.mp3)|*.mp3|All files (*.*)|*.*" as the name filters Qt's
// dialog takes: "MP3 files (*.mp3)", "All files (*)". Each filter shows the
// patterns it really applies, so "MD5SUM (md5sum)|md5sum*" offers
// "MD5SUM (md5sum*)" and the file named md5sum shows; "*.*" is every file,
// names without a dot included.
QStringList DialogFilters(const std::string& filter);

}  // namespace velmar
