// TForm1, the main window: the result list and progress bar on the left, the
// list-file name, go!, the compatibility box, the comment mode and the
// one-line comment on the right, and the menu. It reads its placement when
// it becomes active and stores it when the user closes it; everything else
// it dispatches to the list kinds through FormCommands.
#pragma once

#include <memory>

#include <QMainWindow>
#include <QList>
#include <QStringList>
#include <QUrl>

#include "app/Dialogs.h"
#include "app/FormCommands.h"
#include "app/ResultList.h"
#include "app/StatusPictures.h"
#include "app/MainWindowState.h"
#include "platform/DesktopFileType.h"
#include "platform/Settings.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace velmar {

class WindowAdapter;

class TForm1 : public QMainWindow {
public:
    struct Options {
        std::unique_ptr<Dialogs> dialogs;       // the real dialogs when empty
        FormCommandsFactory commands;           // the list kinds' when empty
        QStringList arguments;                  // the command line, the program's own path first
        std::string settingsPath;               // SettingsStore::DefaultPath() when empty
        std::function<void()> exitProgram;      // File > Exit when idle; ends the event loop when empty
        DesktopPlaces desktopPlaces;            // the XDG folders of the environment when dataHome is empty
        std::string programPath;                // the Exec line's program; this program's own when empty
    };

    TForm1();
    explicit TForm1(Options options);
    ~TForm1() override;

    // What the command line (the program's own path first) asks the
    // window to do at start.
    static WindowStart StartFrom(const QStringList& arguments);

    MainWindowState& State() { return state_; }
    MainWindow& Window();
    WindowAdapter& Adapter() { return *adapter_; }

    // The handlers, public so the shell's tests can press them.
    void FormActivate();
    void FormResize();
    void Exit1Click();
    // File > Stop: the running verification or creation ends where it is; the program stays.
    void Stop1Click();
    void Button1Click();
    void ComboBox1Change(int index);
    void RegisterSFVFileType1Click();
    // Where the file-type tie is written.
    DesktopPlaces Places() const;
    void About1Click();
    // File > Save Report: the rows of the last list checked, with their
    // details, in the format the chosen name asks for.
    void SaveReport1Click();
    // Files dropped on the window: the first local one is verified as the
    // kind of list it is, told from its name and lines.
    void FormDropFiles(const QList<QUrl>& urls);

    // Another window of the program (the About box) became active; the
    // next activation of this one runs FormActivate again.
    void OtherFormActivated() { otherFormWasActive_ = true; }

    ResultListView* ListBox1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QAction* ShowProblemsOnly1 = nullptr;  // View > Show Problems Only

    ResultRows& Rows() { return rows_; }
    const StatusPictures& Pictures() const { return pictures_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    void CreateMenu();
    void Run(const FormCommands::Command& command);

    MainWindowState state_;
    ResultRows rows_;
    StatusPictures pictures_;
    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<WindowAdapter> adapter_;
    FormCommands commands_;
    QStringList arguments_;
    SettingsStore settings_;
    std::function<void()> exitProgram_;
    DesktopPlaces desktopPlaces_;
    std::string programPath_;
    bool activatedOnce_ = false;
    bool otherFormWasActive_ = false;
};

}  // namespace velmar
