// Runs one whole job through the real main window and its adapter on the
// offscreen platform, with the file dialog and the questions answered by a
// script, and prints the final Label1 text, the elapsed time and the
// longest stall of the UI thread, and for Create from Folder the time its
// walk of the folder took.
//
//   headless_job verify KIND LIST      (KIND: a kind's short name, sfv, md5, m3u, sha256, ...)
//   headless_job create KIND LIST FILE...   (the list is written under LIST's name in the files' folder)
//   headless_job create-folder KIND LIST FOLDER   (Create from Folder, the list under LIST's name in FOLDER)
//   headless_job audit|add LIST                          (File > Audit List or Add New Files; the kind is the list's)
//   headless_job report KIND LIST REPORT    (a verification, then View > Show Problems Only
//                                                         on and off, then File > Save Report to REPORT)
//
// A verification answers No to "Rename Bad Files?", an audit to "Update
// List?" and an addition to "Add n Files to the List?"; a creation replaces an
// existing list. The time runs from the key press to the job's last message
// (creation) or its summary (verification), the list's loading and the
// folder's walk included.
// A job that ends the program (a list not found, a fatal error) prints its
// last message on stderr and no time, with exit code 1.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "platform/Process.h"
#include "kinds/ListKinds.h"
#include "tests/app/ScriptedDialogs.h"

namespace {

void Press(QWidget& window, const char* keyText) {
    const QKeyCombination key = QKeySequence::fromString(QString::fromLatin1(keyText))[0];
    QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
    QApplication::sendEvent(&window, &press);
}

// A kind's menu item by its key, or, for a kind that has none, from its menu.
void Choose(QWidget& window, const velmar::ListKind& kind, std::size_t item) {
    if (*TextsOf(kind).itemKeys[item]) return Press(window, TextsOf(kind).itemKeys[item]);
    for (QMenu* menu : window.findChildren<QMenu*>())
        if (menu->title() == QString::fromLatin1(TextsOf(kind).menuCaption)) menu->actions()[static_cast<qsizetype>(item)]->trigger();
}

// What the window showed last, for a job that ends the program: set once
// the dialogs exist.
const std::vector<std::string>* shownMessages = nullptr;

// The program's own end would give exit code 0 and no line, which a script
// timing the job could not tell from a quick good run.
void EndedByTheJob() {
    const bool said = shownMessages && !shownMessages->empty();
    std::fprintf(stderr, "headless_job: the job ended the program%s%s\n", said ? ": " : "",
                 said ? shownMessages->back().c_str() : "");
    std::_Exit(1);
}

int Usage() {
    std::fprintf(stderr, "usage: headless_job verify KIND LIST\n"
                         "       headless_job create KIND LIST FILE...\n"
                         "       headless_job create-folder KIND LIST FOLDER\n"
                         "       headless_job audit|add LIST\n"
                         "       headless_job report KIND LIST REPORT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // An audit or an addition names no kind: the list's own is taken. Its
    // arguments then read as those of a verification.
    const char* auditKey = argc != 3 ? nullptr
                         : std::strcmp(argv[1], "audit") == 0 ? "F2"
                         : std::strcmp(argv[1], "add") == 0   ? "Shift+F2"
                                                              : nullptr;
    std::vector<char*> arguments(argv, argv + argc);
    if (auditKey) arguments = {argv[0], const_cast<char*>("verify"), const_cast<char*>("md5"), argv[2]};
    argc = static_cast<int>(arguments.size());
    argv = arguments.data();
    // A report follows a verification: its file is the last argument.
    std::string reportPath;
    if (argc == 5 && std::strcmp(argv[1], "report") == 0) {
        reportPath = std::filesystem::absolute(argv[4]).string();
        arguments = {argv[0], const_cast<char*>("verify"), argv[2], argv[3]};
        argc = 4;
        argv = arguments.data();
    }
    if (argc < 4 || !velmar::KindByShortName(argv[2])) return Usage();
    const bool fromFolder = std::strcmp(argv[1], "create-folder") == 0;
    const bool create = fromFolder || std::strcmp(argv[1], "create") == 0;
    if (!create && std::strcmp(argv[1], "verify") != 0) return Usage();
    if (fromFolder && argc != 5) return Usage();
    const velmar::ListKind& kind = *velmar::KindByShortName(argv[2]);
    std::vector<std::string> files;
    for (int i = 4; i < argc; ++i) files.push_back(std::filesystem::absolute(argv[i]).lexically_normal().string());
    if (create && files.empty()) return Usage();
    const std::string list = fromFolder ? (std::filesystem::path(files[0]) / std::filesystem::path(argv[3]).filename()).string()
                                        : std::filesystem::absolute(argv[3]).string();

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const auto settings = std::filesystem::temp_directory_path() / ("velmar-headless-" + std::to_string(::getpid()));
    velmar::TForm1::Options options;
    auto scripted = std::make_unique<velmar::test::ScriptedDialogs>();
    velmar::test::ScriptedDialogs& dialogs = *scripted;
    shownMessages = &dialogs.messages;
    velmar::SetEndProgramHandler(&EndedByTheJob);
    options.dialogs = std::move(scripted);
    options.arguments = {"velmar"};
    options.settingsPath = settings.string();
    options.exitProgram = [] {};
    velmar::TForm1 form(std::move(options));
    form.show();

    QElapsedTimer clock;
    qint64 lastTick = 0, longestStall = 0;
    // With a report: the filter's two switches, each until the view has
    // caught up, and the report from Ctrl+S to "Report Saved".
    qint64 filterOn = 0, filterOff = 0, reportStart = 0, reportTime = 0, stallBeforeReport = -1;
    const auto timedSwitch = [&] {
        const qint64 begin = clock.nsecsElapsed();
        Press(form, "Ctrl+P");
        QApplication::processEvents();
        form.ListBox1->viewport()->repaint();
        return clock.nsecsElapsed() - begin;
    };
    bool started = false, done = false;
    // Create from Folder: go! is pressed once the walk has enabled it.
    bool walking = fromFolder;
    qint64 walked = 0;  // when go! was pressed
    const auto pressGo = [&] {
        form.Edit1->setText(QString::fromLocal8Bit(std::filesystem::path(list).filename().c_str()));
        form.Button1Click();
    };
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (now - lastTick > longestStall) longestStall = now - lastTick;
        lastTick = now;
        if (!started || form.State().Busy) return;
        if (walking && dialogs.messages.empty()) {
            if (!form.Button1->isEnabled()) return;
            walking = false;
            walked = clock.nsecsElapsed();
            pressGo();
            return;
        }
        done = create ? !dialogs.messages.empty() : form.Label1->text().startsWith("OK:");
        if (done && !reportPath.empty()) {
            if (reportStart == 0) {
                stallBeforeReport = longestStall;
                longestStall = 0;
                filterOn = timedSwitch();
                filterOff = timedSwitch();
                dialogs.files.push_back(std::vector<std::string>{reportPath});
                reportStart = clock.nsecsElapsed();
                lastTick = reportStart;
                Press(form, "Ctrl+S");
                return;
            }
            if (dialogs.messages.empty() || dialogs.messages.back().find("Report") == std::string::npos) return;
            reportTime = clock.nsecsElapsed() - reportStart;
        }
        if (done) QApplication::quit();
    });

    QTimer::singleShot(50, [&] {
        if (create) {
            std::filesystem::remove(list);
            dialogs.files.push_back(files);
            if (fromFolder) {
                clock.start();
                Choose(form, kind, 3);
            } else {
                Choose(form, kind, 0);
                clock.start();
                pressGo();
            }
        } else {
            dialogs.files.push_back(std::vector<std::string>{list});
            clock.start();
            if (auditKey) Press(form, auditKey);
            else Choose(form, kind, 1);
        }
        started = true;
        ticker.start();
    });
    QApplication::exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::filesystem::remove(settings);

    const QString result = create ? QString::fromStdString(dialogs.messages.empty() ? "" : dialogs.messages.back())
                                  : form.Label1->text();
    std::printf("%s\t%.3f s\tlongest UI stall %.1f ms", result.toLocal8Bit().constData(), seconds,
                longestStall / 1e6);
    if (walked) std::printf("\twalk %.3f s", walked / 1e9);
    if (!reportPath.empty())
        std::printf("\tverification's longest UI stall %.1f ms\tproblems only %.1f ms\tall rows %.1f ms\t%s %.3f s",
                    stallBeforeReport / 1e6, filterOn / 1e6, filterOff / 1e6,
                    dialogs.messages.empty() ? "" : dialogs.messages.back().c_str(), reportTime / 1e9);
    std::printf("\n");
    return done ? 0 : 1;
}
