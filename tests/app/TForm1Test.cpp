// The main window under the offscreen platform: its layout, its placement,
// activation, closing, go! and the adapter that carries a job's operations
// onto the UI thread.
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOption>
#include <QtTest>

#include "app/Dialogs.h"
#include "app/Placement.h"
#include "app/RightPanel.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/WindowAdapter.h"
#include "app/WindowJob.h"
#include "checksum/FileDigest.h"
#include "jobs/JobFrame.h"
#include "kinds/M3uKind.h"
#include "platform/Process.h"
#include "platform/JobThread.h"
#include "kinds/ListKinds.h"
#include "kinds/SumToolKinds.h"
#include "tests/app/ScriptedDialogs.h"
#include "tests/support/TempDir.h"

using namespace velmar;
using velmar::test::ScriptedDialogs;
using velmar::test::TempDir;
using velmar::test::ReadAll;

namespace {

// Row `row` of the result list shows in its viewport.
bool InView(TForm1& w, int row) {
    return w.ListBox1->viewport()->rect().intersects(w.ListBox1->visualRect(w.Rows().index(row)));
}

// The registered kinds, in menu order.
const char* const Kinds[] = {"Sfv",    "Md5",    "M3u",  "Sha256", "Sha1",     "Sha512",
                             "Blake2", "Blake3", "Xxh3", "Xxh128", "Sha3_256", "Sha3_512", "Sha224", "Sha384"};

struct Recorder {
    std::vector<std::string> calls;
    FormCommands Commands() {
        FormCommands c;
        auto note = [this](std::string name) { return [this, name] { calls.push_back(name); }; };
        c.CommandLineVerify = note("CommandLineVerify");
        c.VerifyAnyList = note("VerifyAnyList");
        c.CheckFile = note("CheckFile");
        c.CompareFiles = note("CompareFiles");
        for (const char* kind : Kinds) {
            const std::string k = kind;
            c.Kinds.push_back({note("Create" + k), note("Verify" + k), note("SelectVerify" + k),
                               note("CreateFromFolder" + k), note("GoCreate" + k), note("GoSelectVerify" + k)});
        }
        return c;
    }
};

// A window with recorded commands and its own settings file.
struct Form {
    TempDir dir;
    Recorder recorder;
    ScriptedDialogs* dialogs = nullptr;
    int exits = 0;
    std::unique_ptr<TForm1> form;

    explicit Form(QStringList arguments = {"velmar"}, bool realCommands = false) {
        TForm1::Options options;
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        options.dialogs = std::move(scripted);
        if (!realCommands) options.commands = [this](MainWindow&, MainWindowState&) { return recorder.Commands(); };
        options.arguments = arguments;
        options.settingsPath = dir.File("settings.reg");
        options.exitProgram = [this] { ++exits; };
        form = std::make_unique<TForm1>(std::move(options));
    }
    SettingsStore Stored() {
        SettingsStore store(dir.File("settings.reg"));
        store.Load();
        return store;
    }
    void Store(const std::string& text) { dir.Write("settings.reg", text); }
};

QRect Bounds(QWidget* w) { return w->geometry(); }

// The texts of `window` that a person sees cut, as "text: N px wide in M":
// each label, check box and button caption, group box title, combo box item
// and line edit placeholder, measured in the widget's font, against where
// its style draws it (the room left by its indicator, frame and margins),
// and across, against every widget it lies in.
QStringList CutTexts(QWidget& window) {
    QStringList cut;
    const auto check = [&](QWidget& widget, const QString& text, QRect room, Qt::Alignment alignment) {
        if (text.isEmpty()) return;
        const QFontMetrics metrics = widget.fontMetrics();
        const QRect drawn = QStyle::alignedRect(widget.layoutDirection(), alignment,
                                                QSize(metrics.horizontalAdvance(text), metrics.height()), room);
        QRect across = widget.rect();
        for (QWidget* outer = widget.parentWidget(); outer != window.parentWidget(); outer = outer->parentWidget()) {
            const QRect place(widget.mapFrom(outer, QPoint(0, 0)), outer->size());
            across &= QRect(place.left(), across.top(), place.width(), across.height());
        }
        if (!room.contains(drawn) || !across.contains(drawn))
            cut << QStringLiteral("%1: %2 x %3 px in %4 x %5 of %6 x %7")
                       .arg(text)
                       .arg(drawn.width())
                       .arg(drawn.height())
                       .arg(room.width())
                       .arg(room.height())
                       .arg(across.width())
                       .arg(across.height());
    };
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const QStyle& style = *widget->style();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            check(*label, label->text(), label->contentsRect(), label->alignment());
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(box);
            option.text = box->text();
            check(*box, box->text(), style.subElementRect(QStyle::SE_CheckBoxContents, &option, box),
                  Qt::AlignLeft | Qt::AlignVCenter);
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            if (button->autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
            check(*button, button->text(), style.subElementRect(QStyle::SE_PushButtonContents, &option, button),
                  Qt::AlignCenter);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.subControls = QStyle::SC_All;
            const QRect field = style.subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            for (int i = 0; i < combo->count(); ++i)
                check(*combo, combo->itemText(i), field, Qt::AlignLeft | Qt::AlignVCenter);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            QStyleOptionFrame option;
            option.initFrom(edit);
            option.lineWidth = style.pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
            // A line edit keeps 2 px between its frame and its text.
            const QRect field = style.subElementRect(QStyle::SE_LineEditContents, &option, edit).adjusted(2, 0, -2, 0);
            check(*edit, edit->placeholderText(), field, Qt::AlignLeft | Qt::AlignVCenter);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.lineWidth = 1;
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            option.textAlignment = group->alignment();
            const QRect title = style.subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
            check(*group, group->title(), title & group->rect(), Qt::AlignCenter);
        }
    }
    return cut;
}

}  // namespace

class TForm1Test : public QObject {
    Q_OBJECT

private slots:
    // A job that ends the program would otherwise end the tests with
    // status 0, passing for a run in which every test passed.
    void initTestCase() {
        SetEndProgramHandler([] {
            std::fputs("FAIL!  : a job ended the program\n", stderr);
            ::_exit(1);
        });
    }

    void ControlsStartAsCreatedAndFollowTheSize() {
        Form f;
        TForm1& w = *f.form;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QString("Velmar"));
        QCOMPARE(w.centralWidget()->size(), QSize(550, 385));
        QCOMPARE(w.pos(), QPoint(65, 49));
        // The right panel as wide as its texts need, 154 px at the least;
        // go! at its right edge beside the check box.
        const int left = w.Label1->x();
        const int panel = 550 - left;
        QVERIFY(panel >= 154);
        QCOMPARE(Bounds(w.ListBox1), QRect(0, 0, left - 3, 369));
        QCOMPARE(Bounds(w.ProgressBar1), QRect(0, 369, left - 3, 16));
        QCOMPARE(Bounds(w.Label1), QRect(left, 0, panel, 13));
        QCOMPARE(Bounds(w.Edit1), QRect(left, 13, panel, 21));
        QCOMPARE(Bounds(w.CheckBox1), QRect(left, 36, panel - w.Button1->width() - 4, 21));
        QCOMPARE(Bounds(w.Button1), QRect(548 - w.Button1->width(), 36, w.Button1->width(), 21));
        QVERIFY(w.Button1->width() >= 25);
        QCOMPARE(Bounds(w.ComboBox1), QRect(left, 59, panel, 21));
        QCOMPARE(Bounds(w.Edit2), QRect(left, 82, panel, 21));
        QVERIFY(w.Edit1->isReadOnly());
        QCOMPARE(w.Edit1->maxLength(), 192);
        QCOMPARE(w.Edit2->maxLength(), 255);
        QVERIFY(!w.Button1->isEnabled() && !w.CheckBox1->isEnabled() && !w.ComboBox1->isEnabled());
        QVERIFY(w.Edit2->isHidden());
        QCOMPARE(w.ComboBox1->count(), 4);

        // Enlarged, the list takes the room.
        w.resize(700, 500);
        const QSize c = w.centralWidget()->size();
        QCOMPARE(Bounds(w.ListBox1), QRect(0, 0, c.width() - panel - 3, c.height() - 16));
        QCOMPARE(Bounds(w.ProgressBar1), QRect(0, c.height() - 16, c.width() - panel - 3, 16));
        QCOMPARE(Bounds(w.Edit1), QRect(c.width() - panel, 13, panel, 21));
        QCOMPARE(Bounds(w.ComboBox1), QRect(c.width() - panel, 59, panel, 21));
        QCOMPARE(Bounds(w.Button1), QRect(c.width() - 2 - w.Button1->width(), 36, w.Button1->width(), 21));

        w.resize(10, 10);
        QCOMPARE(OuterWidth(w), MinimumOuterWidth);
        QCOMPARE(OuterHeight(w), MinimumOuterHeight);
    }

    // Under the fonts and the scale factor the tests run with (a second run
    // sets QT_SCALE_FACTOR=2): at the first size with the first texts, and
    // widened with the longest summary the status line shows; every line of
    // the About box's credits.
    void EveryTextShowsWhole() {
        Form f;
        TForm1& w = *f.form;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.centralWidget()->size(), QSize(550, 385));
        QStringList cut = CutTexts(w);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
        for (const auto& [summary, width] :
             {std::pair{"OK:12  BAD:3  N/A:2  NEW:4  MOVED:1  (stopped)", 550},
              std::pair{"OK:100000  BAD:100000  N/A:100000  NEW:100000  MOVED:100000  (stopped)", 1100}}) {
            w.resize(width, w.height());
            w.Window().SetText(Control::Label1, summary);
            QTRY_COMPARE(w.Label1->text(), QString(summary));
            QCoreApplication::processEvents();
            cut = CutTexts(w);
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
            QCOMPARE(w.ListBox1->geometry().right() + 1 + RightPanel::Gap, w.Label1->x());
            QVERIFY(w.Button1->x() > w.CheckBox1->geometry().right());
        }

        TForm2 box;
        box.show();
        for (int step = 1; step <= 13; ++step) {
            box.Label3->setText(QString::fromLatin1(Label3Line(step)));
            box.Label4->setText(QString::fromLatin1(Label4Line(step)));
            box.Label2DblClick();  // the group box's other title
            cut = CutTexts(box);
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
        }
    }

    void ActivationAppliesEachStoredValueOnItsOwn() {
        Form f;
        // FormTop is text: the top stays, FormLeft still applies. A width
        // below the minimum gives the minimum.
        f.Store("[Software\\Velmar\\TRegistry\\Positions]\n\"FormTop\"=\"high\"\n\"FormLeft\"=dword:0000006e\n"
                "[Software\\Velmar\\TRegistry\\Size]\n\"FormWidth\"=dword:00000064\n\"FormHeight\"=dword:000001f4\n");
        f.form->show();
        QTRY_COMPARE(f.form->ComboBox1->currentIndex(), 2);
        QCOMPARE(f.form->pos(), QPoint(110, 49));
        QCOMPARE(OuterWidth(*f.form), 400);
        QCOMPARE(OuterHeight(*f.form), 500);
        QCOMPARE(f.form->ListBox1->width(), f.form->Label1->x() - RightPanel::Gap);
        QCOMPARE(f.form->ComboBox1->currentIndex(), 2);
        QVERIFY(f.form->Edit2->isHidden());
    }

    void CloseStoresThePlacementAndExitDoesNot() {
        Form f;
        f.form->show();
        QTRY_COMPARE(f.form->ComboBox1->currentIndex(), 2);
        f.form->move(120, 130);
        f.form->resize(600, 420);
        f.form->Exit1Click();
        QCOMPARE(f.exits, 1);
        QVERIFY(!f.Stored().KeyExists(PositionsKey));

        QVERIFY(f.form->close());
        SettingsStore stored = f.Stored();
        QCOMPARE(stored.ReadInteger(PositionsKey, "FormLeft"), std::optional<std::int32_t>(120));
        QCOMPARE(stored.ReadInteger(PositionsKey, "FormTop"), std::optional<std::int32_t>(130));
        QCOMPARE(stored.ReadInteger(SizeKey, "FormWidth"), std::optional<std::int32_t>(OuterWidth(*f.form)));
        QCOMPARE(stored.ReadInteger(SizeKey, "FormHeight"), std::optional<std::int32_t>(OuterHeight(*f.form)));

        // The next window opens where this one closed.
        Form next;
        next.Store(ReadAll(stored.Path()));
        next.form->show();
        QTRY_COMPARE(next.form->ComboBox1->currentIndex(), 2);
        QCOMPARE(next.form->pos(), QPoint(120, 130));
        QCOMPARE(next.form->frameGeometry().size(), f.form->frameGeometry().size());
    }

    void WhileBusyCloseAndExitOnlyAskTheJobToQuit() {
        Form f;
        f.form->show();
        QTRY_COMPARE(f.form->ComboBox1->currentIndex(), 2);
        f.form->State().Busy = 1;
        QVERIFY(!f.form->close());
        QVERIFY(f.form->isVisible());
        // The job's reading stops too, so the end comes within one read.
        QCOMPARE(f.form->State().QuitRequested.load(), 1);
        QCOMPARE(f.form->State().StopRequested.load(), 1);
        QVERIFY(f.Stored().KeyExists(SizeKey));  // stored at once all the same

        f.form->State().QuitRequested = 0;
        f.form->State().StopRequested = 0;
        f.form->Exit1Click();
        QCOMPARE(f.exits, 0);
        QCOMPARE(f.form->State().QuitRequested.load(), 1);
        QCOMPARE(f.form->State().StopRequested.load(), 1);

        // Re-activation keeps a running job's flags.
        f.form->FormActivate();
        QCOMPARE(f.form->State().Busy.load(), 1);
        QCOMPARE(f.form->State().QuitRequested.load(), 1);
        f.form->State().Busy = 0;
    }

    void OnlyTheFirstArgumentIsVerifiedAndOnlyOnce() {
        Form f({"velmar", "/music/my album.sfv", "second.sfv"});
        f.form->show();
        QTRY_COMPARE(f.recorder.calls.size(), std::size_t(1));
        QCOMPARE(f.recorder.calls[0], std::string("CommandLineVerify"));
        QCOMPARE(f.form->State().CommandLinePath, std::string("/music/my album.sfv"));
        f.form->FormActivate();
        QCOMPARE(f.recorder.calls.size(), std::size_t(1));

        Form none;
        none.form->FormActivate();
        QVERIFY(none.recorder.calls.empty());
    }

    // What the desktop entry and the file managers' actions start Velmar with.
    void StartUpOptionsPrepareACreateVerifyListsInTurnAndOpenACheck() {
        const struct {
            QStringList arguments;
            const char* refusal;
        } refused[] = {{{"--kind", "sfv", "a.bin"}, "--kind goes with --create"},
                       {{"--verify", "--create"}, "one of --verify, --verify-folder, --create and --check at a time"},
                       {{"--create", "--dry-run"}, "unknown option --dry-run"},
                       {{"--create", "--kind", "crc"}, "no kind of list is called crc"},
                       {{"--check", "a", "b", "c"}, "--check takes one file and at most one digest"}};
        for (const auto& each : refused)
            QCOMPARE(TForm1::StartFrom(QStringList{"velmar"} + each.arguments).refusal, std::string(each.refusal));

        // Shown, activated, and the job it started ended.
        const auto settled = [](Form& f) {
            f.form->show();
            QTRY_COMPARE(f.form->ComboBox1->currentIndex(), 2);
            QTRY_VERIFY_WITH_TIMEOUT(f.form->State().Busy == 0 && JobThread::Running() == 0, 20000);
            f.form->Adapter().Drain();
        };
        TempDir album;
        std::filesystem::create_directory(album.File("Album"));
        const std::string a = album.Write("Album/a.bin", "a"), b = album.Write("Album/b.bin", "b");
        {
            Form f({"velmar", "--kind", "sfv", "--create", QString::fromStdString(b), QString::fromStdString(a)}, true);
            settled(f);
            QCOMPARE(f.form->Rows().Count(), 2);
            QCOMPARE(f.form->Rows().Name(0), std::string("a.bin"));
            QCOMPARE(f.form->Edit1->text(), QString("Album.sfv"));
            QVERIFY(f.form->Button1->isEnabled() && f.dialogs->kindsOffered.empty());
        }
        {
            // No kind given: asked, the last one chosen offered first next time.
            Form f({"velmar", "--create", QString::fromStdString(album.File("Album"))}, true);
            f.Store("[Software\\Velmar\\TRegistry\\Create]\n\"LastKind\"=\"sha256\"\n");
            f.dialogs->files.push_back(std::vector<std::string>{"MD5"});
            settled(f);
            QCOMPARE(f.dialogs->kindsOffered.at(0).at(0), std::string("SHA256"));
            QCOMPARE(f.form->Rows().Count(), 2);
            QCOMPARE(f.form->Edit1->text(), QString("md5sum"));
            QVERIFY(f.form->Button1->isEnabled());
            f.form->close();
            QCOMPARE(f.Stored().ReadString("Software\\Velmar\\TRegistry\\Create", "LastKind"), std::string("md5"));
        }
        {
            // A broken list between two good ones is told, and the next verified.
            const std::string good = album.Write("Album/good.sfv", "a.bin E8B7BE43\nb.bin 71BEEFF9\n");
            const std::string broken = album.Write("Album/broken.md5", "not a list\n");
            const std::string good2 = album.Write("Album/good2.md5", "0cc175b9c0f1b6a831c399e269772661  a.bin\n");
            Form f({"velmar", "--verify", QString::fromStdString(good), QString::fromStdString(broken),
                    QString::fromStdString(good2)}, true);
            settled(f);
            QCOMPARE(f.form->Label1->text(), QString("LISTS:3  OK:3  BAD:0  N/A:0"));
            QCOMPARE(f.form->Rows().Count(), 3);
            QCOMPARE(f.form->Rows().Name(2), std::string("a.bin"));
            QCOMPARE(f.dialogs->messages, std::vector<std::string>{"Error Reading MD5 File.. Exiting"});
            QCOMPARE(f.exits, 0);
            // The same lists found below their folder: the broken one a row.
            Form library({"velmar", "--verify-folder", QString::fromStdString(album.File("Album"))}, true);
            settled(library);
            QCOMPARE(library.form->Label1->text(), QString("LISTS:3  OK:3  BAD:0  N/A:1"));
            QCOMPARE(library.form->Rows().Name(0), std::string("broken.md5"));
            QVERIFY(library.dialogs->messages.empty());
        }
        {
            Form f({"velmar", "--check", QString::fromStdString(a), "0cc175b9c0f1b6a831c399e269772661"}, true);
            f.form->show();
            QTRY_COMPARE(f.dialogs->checksGiven.size(), std::size_t(1));
            QCOMPARE(f.dialogs->checksGiven[0].file, a);
            QCOMPARE(f.dialogs->checksGiven[0].digestOrList, std::string("0cc175b9c0f1b6a831c399e269772661"));
        }
    }

    // Each list is read as its kind: by its name, else by its lines.
    void ListsGivenAtStartUpOrDroppedVerifyAsTheirKind() {
        const struct {
            const char* name;
            const ListKind& kind;
            bool dropped;
        } lists[] = {{"Album.m3u", M3uKind, false}, {"SHA256SUMS", Sha256Kind, false}, {"checksums", Sha256Kind, true}};
        for (const auto& list : lists) {
            TempDir album;
            ReadBuffer buffer;
            std::string text;
            for (const char* name : {"a.bin", "b.bin"})
                text += list.kind.entryLines(name, DigestFile(list.kind.algorithm, album.Write(name, name), buffer),
                                             list.kind, {});
            const std::string path = album.Write(list.name, text);
            QStringList arguments = {"velmar"};
            if (!list.dropped) arguments << QString::fromStdString(path);
            Form f(arguments, true);
            f.form->show();
            if (list.dropped) {
                QTRY_COMPARE(f.form->ComboBox1->currentIndex(), 2);
                f.form->FormDropFiles({QUrl::fromLocalFile(QString::fromStdString(path))});
            }
            QTRY_VERIFY_WITH_TIMEOUT(f.form->Label1->text().startsWith("OK:") && JobThread::Running() == 0, 20000);
            f.form->Adapter().Drain();
            QCOMPARE(f.form->Label1->text(), QString("OK:2  BAD:0  N/A:0"));
            QCOMPARE(f.form->Rows().Count(), 2);
            QCOMPARE(f.form->Rows().Name(1), std::string("b.bin"));
            QVERIFY(f.dialogs->messages.empty() && f.exits == 0);
        }
        // A signature dropped is refused in words, and the window stays.
        TempDir album;
        Form f({"velmar"}, true);
        f.form->show();
        QTRY_COMPARE(f.form->ComboBox1->currentIndex(), 2);
        f.form->FormDropFiles({QUrl::fromLocalFile(QString::fromStdString(album.Write("SHA256SUMS.sign", "signature")))});
        QTRY_VERIFY(f.form->Label1->text() == "Velmar" && JobThread::Running() == 0);
        QCOMPARE(f.dialogs->messages, std::vector<std::string>{"SHA256SUMS.sign is a signature file, not a list: open "
                                                               "SHA256SUMS, and its signature is checked with it."});
        QCOMPARE(f.form->State().Busy.load(), 0);
    }

    void GoDispatchesByModeAndEnterOnlyWhenEditable() {
        Form f;
        TForm1& w = *f.form;
        std::vector<std::pair<GoMode, std::string>> modes;
        QCOMPARE(ListKinds().size(), std::size(Kinds));
        for (std::size_t i = 0; i < ListKinds().size(); ++i) {
            modes.push_back({{GoAction::Create, ListKinds()[i]}, std::string("GoCreate") + Kinds[i]});
            modes.push_back({{GoAction::SelectVerify, ListKinds()[i]}, std::string("GoSelectVerify") + Kinds[i]});
        }
        for (auto [mode, expected] : modes) {
            f.recorder.calls.clear();
            w.State().JobMode = mode;
            w.Button1Click();
            QCOMPARE(f.recorder.calls, std::vector<std::string>{expected});
        }
        f.recorder.calls.clear();
        w.State().JobMode = {};
        w.Button1Click();
        QVERIFY(f.recorder.calls.empty());

        w.State().JobMode = {GoAction::Create, ListKinds()[0]};
        w.show();
        w.Edit1->setFocus();
        QTest::keyClick(w.Edit1, Qt::Key_Return);
        QVERIFY(f.recorder.calls.empty());  // read-only
        w.Edit1->setReadOnly(false);
        QTest::keyClick(w.Edit1, Qt::Key_Return);
        QCOMPARE(f.recorder.calls, std::vector<std::string>{"GoCreateSfv"});
    }

    void OnlyTheUsersChoiceOfCommentModeShowsEdit2() {
        Form f;
        TForm1& w = *f.form;
        w.ComboBox1->setCurrentIndex(1);
        QVERIFY(w.Edit2->isHidden());
        emit w.ComboBox1->activated(1);
        QVERIFY(!w.Edit2->isHidden());
        emit w.ComboBox1->activated(3);
        QVERIFY(w.Edit2->isHidden());
    }

    void MenuKeysReachTheirCommands() {
        Form f;
        f.form->show();
        QTRY_COMPARE(f.form->ComboBox1->currentIndex(), 2);
        QTest::keyClick(f.form.get(), Qt::Key_F3);
        QTest::keyClick(f.form.get(), Qt::Key_F4);
        QTest::keyClick(f.form.get(), Qt::Key_F11);
        QTest::keyClick(f.form.get(), Qt::Key_F7, Qt::ShiftModifier);
        QTest::keyClick(f.form.get(), Qt::Key_F9, Qt::ControlModifier);
        QTest::keyClick(f.form.get(), Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(f.form.get(), Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(f.form.get(), Qt::Key_K, Qt::ControlModifier);
        QTest::keyClick(f.form.get(), Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.recorder.calls,
                 (std::vector<std::string>{"CreateSfv", "VerifySfv", "SelectVerifyM3u", "VerifySha256",
                                           "CreateFromFolderM3u", "CreateFromFolderSha256", "VerifyAnyList",
                                           "CheckFile", "CompareFiles"}));
        // Every kind's fourth item, on Ctrl and the kind's Create key; the
        // kinds after the first four have their submenus in Other, with no
        // keys, and each item reaches its own kind.
        const QList<QAction*> menus = f.form->menuBar()->actions();
        QCOMPARE(menus[5]->text(), QString("&Other"));
        QCOMPARE(menus[6]->text(), QString("&View"));
        const QList<QAction*> others = menus[5]->menu()->actions();
        QCOMPARE(static_cast<std::size_t>(others.size()), ListKinds().size() - 4);
        for (std::size_t i = 0; i < ListKinds().size(); ++i) {
            const bool grouped = i >= 4;
            QAction* menu = grouped ? others[static_cast<qsizetype>(i) - 4] : menus[static_cast<qsizetype>(i) + 1];
            QCOMPARE(menu->text(), QString(TextsOf(*ListKinds()[i]).menuCaption));
            const QList<QAction*> items = menu->menu()->actions();
            QCOMPARE(items.size(), 4);
            QCOMPARE(items[3]->text(), QString("Create from &Folder..."));
            if (!grouped) {
                QCOMPARE(items[3]->shortcut(), QKeySequence("Ctrl+" + items[0]->shortcut().toString()));
                continue;
            }
            f.recorder.calls.clear();
            for (QAction* item : items) {
                QVERIFY(item->shortcut().isEmpty());
                item->trigger();
            }
            const std::string k = Kinds[i];
            QCOMPARE(f.recorder.calls, (std::vector<std::string>{"Create" + k, "Verify" + k, "SelectVerify" + k,
                                                                 "CreateFromFolder" + k}));
        }
        QTest::keyClick(f.form.get(), Qt::Key_F12);
        QCOMPARE(f.exits, 1);
        // Esc stops a running job and nothing else.
        QTest::keyClick(f.form.get(), Qt::Key_Escape);
        QCOMPARE(f.form->State().StopRequested.load(), 0);
        f.form->State().Busy = 1;
        QTest::keyClick(f.form.get(), Qt::Key_Escape);
        QCOMPARE(f.form->State().StopRequested.load(), 1);
        QCOMPARE(f.form->State().QuitRequested.load(), 0);
        f.form->State().Busy = 0;
    }

    // At the scale the tests run with: the screenshot's pixels are device
    // pixels, `ratio` to a logical one.
    void RowsDrawTheirPictureWholeAndTheTextAfterIt() {
        Form f;
        TForm1& w = *f.form;
        w.show();
        w.Window().LoadIcons();
        w.Window().AddRow("good.bin", IconOk);
        w.Window().AddRow("bad.bin", IconBad);
        w.ListBox1->selectionModel()->select(w.Rows().index(1), QItemSelectionModel::Select);
        const QImage shot = w.ListBox1->viewport()->grab().toImage();
        const qreal ratio = shot.devicePixelRatio();
        const auto at = [&](qreal x, qreal y) { return shot.pixelColor(int(x * ratio), int(y * ratio)); };
        const QColor highlight = w.ListBox1->palette().color(QPalette::Highlight);
        // The white corner of each picture sits 2 px in; on the selected row
        // the band shows around it.
        QCOMPARE(at(2, 2), QColor(Qt::white));
        QCOMPARE(at(2, 18 + 2), QColor(Qt::white));
        QCOMPARE(at(0, 18 + 0), highlight);
        QCOMPARE(at(20, 18 + 9), highlight);  // between picture and text
        QCOMPARE(w.ListBox1->visualRect(w.Rows().index(1)).height(), 18);
        // The green disc, and nothing of the red cross's square is pure red.
        QCOMPARE(at(9, 4).green() > 120 && at(9, 4).red() < 80, true);
        for (int y = 18; y < 36; ++y)
            for (int x = 0; x < 20; ++x) QVERIFY(at(x, y) != QColor(255, 0, 0));
        // Drawn at the device's pixels: the red square's top edge is sharp,
        // white above and red below, with no blend of the two between
        // (at a whole ratio: at 1.5 the 1 px frame is a pixel and a half).
        if (ratio != std::floor(ratio)) return;
        const QRect edge(int(2 * ratio), int((18 + 2) * ratio), int(16 * ratio), int(3 * ratio));
        for (int y = edge.top(); y <= edge.bottom(); ++y)
            for (int x = edge.left(); x <= edge.right(); ++x)
                QVERIFY(shot.pixelColor(x, y) == QColor(Qt::white) || shot.pixelColor(x, y) == QColor(0xD0, 0x1C, 0x1C));
    }

    // Each status picture drawn from its SVG at ratios 1, 1.5 and 2: 16 x 16
    // logical pixels of the device's, its colour where the user suite looks
    // for it; where its edges fall on whole pixels they blend nothing.
    void StatusPicturesAreDrawnAtEveryScale() {
        StatusPictures pictures;
        QVERIFY(pictures.Picture(IconOk, 1).isNull());
        pictures.Load(IconPending);
        QVERIFY(pictures.Picture(IconOk, 1).isNull());
        QVERIFY(pictures.Picture(static_cast<StatusIcon>(42), 1).isNull());
        pictures.LoadAll();
        // The colour at a place of each picture, in its own 16 x 16 units.
        const struct {
            StatusIcon icon;
            QPointF place;
            QColor colour;
        } looks[] = {
            {.icon = IconPending, .place = {0.5, 0.5}, .colour = QColor(0xC0, 0xC0, 0xC0)},
            {.icon = IconOk, .place = {8.5, 2.5}, .colour = QColor(0x1E, 0x9E, 0x2E)},
            {.icon = IconBad, .place = {2.5, 2.5}, .colour = QColor(0xD0, 0x1C, 0x1C)},
            {.icon = IconNA, .place = {2.5, 2.5}, .colour = QColor(0x7A, 0x2E, 0x9E)},
            {.icon = IconNew, .place = {8.5, 2.5}, .colour = QColor(0x1F, 0x5F, 0xD0)},
            {.icon = IconMoved, .place = {8.5, 2.5}, .colour = QColor(0xD0, 0x7A, 0x10)},
        };
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            for (const auto& look : looks) {
                const QPixmap& picture = pictures.Picture(look.icon, ratio);
                QCOMPARE(picture.devicePixelRatio(), ratio);
                QCOMPARE(picture.deviceIndependentSize(), QSizeF(16, 16));
                const QImage image = picture.toImage();
                QCOMPARE(image.pixelColor(int(look.place.x() * ratio), int(look.place.y() * ratio)), look.colour);
                QCOMPARE(image.pixelColor(0, image.height() - 1), look.icon == IconPending ? look.colour : Qt::white);
            }
            if (ratio == 1.5) continue;  // its 1 px frame is a pixel and a half
            const QImage pending = pictures.Picture(IconPending, ratio).toImage();
            for (int y = 0; y < pending.height(); ++y)
                for (int x = 0; x < pending.width(); ++x)
                    QVERIFY(pending.pixelColor(x, y) == looks[0].colour || pending.pixelColor(x, y) == Qt::white);
        }
    }

    void AJobOnAWorkerDrivesTheWindowInOrder() {
        Form f;
        TForm1& w = *f.form;
        w.show();
        f.dialogs->answers = {MessageAnswer::No};
        std::atomic<bool> done{false};
        std::string editText;
        // Thousands of operations from the worker, some asking for answers.
        std::thread job([&] {
            MainWindow& window = w.Window();
            WindowSink sink(window);
            JobFrame frame(sink, w.State());
            for (int i = 0; i < 3000; ++i) frame.AddPendingRow("file" + std::to_string(i));
            frame.WalkRowFiles(
                frame.RowCount(),
                {.algorithm = DigestAlgorithm::Crc32, .folder = "/", .pathOf = [](int) { return std::string("/nonexistent/velmar"); }},
                [&](int row, const FileDigest&) { frame.RowDone(row, row == 7 ? IconBad : IconOk); });
            editText = window.RowText(2999);
            frame.EndVerify("/nonexistent", [](int) { return std::string("/nonexistent/velmar"); });
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done.load(), 20000);
        job.join();
        w.Adapter().Drain();
        QCOMPARE(editText, std::string("file2999"));
        QCOMPARE(w.Rows().Count(), 3000);
        QCOMPARE(w.Rows().Icon(7), IconBad);
        QCOMPARE(w.Rows().Icon(2999), IconOk);
        QCOMPARE(w.Label1->text(), QString("OK:2999  BAD:1  N/A:0"));
        QCOMPARE(f.dialogs->messages, std::vector<std::string>{"Rename Bad Files?"});
        QCOMPARE(w.ProgressBar1->maximum(), ProgressScale);
        QCOMPARE(w.ProgressBar1->value(), 0);
        QVERIFY(!w.ProgressBar1->isTextVisible());  // the bar's text goes with its job
        QCOMPARE(w.State().Busy.load(), 0);
        QVERIFY(!QApplication::overrideCursor());
        QTRY_VERIFY(InView(w, 2999));  // the list followed the rows to the last
    }

    void ProblemsOnlyTooltipsTheReportAndACopyTellTheCheckedRows() {
        Form f;
        TForm1& w = *f.form;
        w.show();
        QTRY_COMPARE(w.ComboBox1->currentIndex(), 2);  // active: the menu keys reach it
        MainWindow& window = w.Window();
        const StatusIcon marks[] = {IconOk, IconBad, IconOk, IconNA};
        for (int i = 0; i < 5; ++i) window.AddRow("file" + std::to_string(i) + ".bin", IconPending);
        const std::string list = f.dir.File("list.md5");
        window.SetCheckedList(list, "");
        for (int i = 0; i < 4; ++i) {
            window.SetRowDetails(i, {.path = "/set/file" + std::to_string(i) + ".bin",
                                     .expected = "aa",
                                     .computed = i == 1 ? "bb" : i == 3 ? "" : "aa",
                                     .size = i == 3 ? std::nullopt : std::optional<std::uint64_t>(3),
                                     .reason = i == 1 ? "differs" : i == 3 ? "missing" : "matches",
                                     .movedTo = ""});
            window.SetRowIcon(i, marks[i]);
        }
        w.Adapter().Drain();
        ResultRows& rows = w.Rows();
        QCOMPARE(rows.data(rows.index(1), Qt::ToolTipRole).toString(),
                 QString("/set/file1.bin\nExpected: aa\nComputed: bb\nSize: 3 bytes\nBAD: differs"));
        QCOMPARE(rows.data(rows.index(4), Qt::ToolTipRole).toString(), QString("file4.bin\nNOT CHECKED"));

        // Only the problems, and a row marked later joins them as the view catches up.
        QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
        QVERIFY(w.ShowProblemsOnly1->isChecked());
        QCOMPARE(rows.rowCount(), 2);
        QCOMPARE(rows.data(rows.index(1), Qt::DisplayRole).toString(), QString("file3.bin"));
        window.SetRowIcon(4, IconNA);
        window.RepaintList();
        QTRY_COMPARE(rows.rowCount(), 3);
        // What is selected, copied and told to jobs are the rows themselves.
        w.ListBox1->selectionModel()->select(rows.index(1), QItemSelectionModel::Select);
        QCOMPARE(window.SelectedRows(), std::vector<int>{3});
        QTest::keyClick(w.ListBox1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("file3.bin: FAILED open or read\n"));

        // The report holds every row, the view's filter aside.
        f.dialogs->files.push_back(std::vector<std::string>{f.dir.File("report.csv")});
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(w.State().Busy == 0 && JobThread::Running() == 0);
        QCOMPARE(f.dialogs->suggestions, std::vector<std::string>{list + " report.txt"});
        QCOMPARE(f.dialogs->messages, std::vector<std::string>{"Report Saved"});
        const std::string report = ReadAll(f.dir.File("report.csv"));
        QVERIFY(report.starts_with("name,status,expected,computed,size,reason\r\nfile0.bin,OK,aa,aa,3,matches\r\n"
                                   "file1.bin,BAD,aa,bb,3,differs\r\n"));
        QVERIFY(report.ends_with("file4.bin,N/A,,,,\r\n" + list + ",SUMMARY,,,,OK:2  BAD:1  N/A:2\r\n"));

        QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(rows.rowCount(), 5);
        // Rows cleared are no list checked: there is nothing to report.
        window.ClearRows();
        w.Adapter().Drain();
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.dialogs->messages.back(), std::string("Nothing to Report: verify or audit a list first"));
    }

    // Each a job in a fresh result list; a list that cannot be read is told
    // and Velmar stays.
    void ADownloadIsCheckedAgainstADigestAListOrAnotherFile() {
        Form f({"velmar"}, true);
        TForm1& w = *f.form;
        w.show();
        QTRY_COMPARE(w.ComboBox1->currentIndex(), 2);  // active: the menu keys reach it
        const std::string iso = f.dir.Write("abc.iso", "abc");
        const auto run = [&](Qt::KeyboardModifiers keys) {
            QTest::keyClick(&w, Qt::Key_K, keys);
            QTRY_VERIFY(w.State().Busy == 0 && JobThread::Running() == 0);
            w.Adapter().Drain();
        };
        f.dialogs->checks.push_back(
            FileCheckRequest{iso, "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"});
        run(Qt::ControlModifier);
        QCOMPARE(w.Label1->text(), QString("OK: matches as SHA-256"));
        QCOMPARE(w.Rows().rowCount(), 1);
        f.dialogs->files.push_back(std::vector<std::string>{iso, f.dir.Write("copy.iso", "abd")});
        run(Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.Label1->text(), QString("Different at byte 2"));
        QCOMPARE(w.Rows().rowCount(), 2);
        f.dialogs->checks.push_back(FileCheckRequest{iso, f.dir.Write("broken.md5", "not a list\n")});
        run(Qt::ControlModifier);
        QVERIFY(!f.dialogs->messages.empty());
        f.dialogs->checks.push_back(FileCheckRequest{iso, "no digest"});
        run(Qt::ControlModifier);
        QCOMPARE(f.dialogs->messages.back(), std::string("'no digest' is neither a digest nor a list"));
    }

    void AfterTheUsersOwnScrollingTheListNoLongerFollowsTheJob() {
        Form f;
        TForm1& w = *f.form;
        w.show();
        for (int i = 0; i < 200; ++i) w.Window().AddRow("file" + std::to_string(i), IconPending);
        w.Window().SetRowIcon(150, IconOk);
        QTRY_VERIFY(InView(w, 150));
        w.ListBox1->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        w.Window().SetRowIcon(180, IconOk);
        QTest::qWait(300);
        QVERIFY(InView(w, 0));
        QVERIFY(!InView(w, 180));
    }

    void CreateSfvThenGoWritesAListThatVerifies() {
        Form f({"velmar"}, true);
        TForm1& w = *f.form;
        w.show();
        QTRY_COMPARE(w.ComboBox1->currentIndex(), 2);
        TempDir album;
        std::filesystem::create_directory(album.File("Album"));
        const std::string b = album.Write("Album/b.bin", "bbb"), a = album.Write("Album/A.bin", "a");
        f.dialogs->files = {std::vector<std::string>{b, a}};
        QTest::keyClick(&w, Qt::Key_F3);
        w.Adapter().Drain();
        QCOMPARE(w.Rows().Count(), 2);
        QCOMPARE(w.Rows().Name(0), std::string("A.bin"));
        QCOMPARE(w.Edit1->text(), QString("Album.sfv"));
        QCOMPARE(w.Label1->text(), QString("SFV Filename"));
        QVERIFY(w.Button1->isEnabled() && !w.Edit1->isReadOnly() && w.CheckBox1->isEnabled());
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(w.Rows().Count() == 0 && w.State().Busy == 0 && JobThread::Running() == 0, 20000);
        QCOMPARE(f.dialogs->messages, std::vector<std::string>{"SFV file creation complete!"});
        const std::string list = ReadAll(album.File("Album/Album.sfv"));
        QVERIFY(list.find("A.bin E8B7BE43") != std::string::npos);

        // Create from Folder lists the tree on a worker, the list it would
        // replace left out, and go! writes the list there.
        std::filesystem::create_directory(album.File("Album/Disc 2"));
        album.Write("Album/Disc 2/c.bin", "c");
        f.dialogs->files = {std::vector<std::string>{album.File("Album")}};
        f.dialogs->answers = {MessageAnswer::Yes};
        QTest::keyClick(&w, Qt::Key_F3, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(w.State().Busy == 0 && JobThread::Running() == 0, 20000);
        w.Adapter().Drain();
        QCOMPARE(f.dialogs->requests.back().title, std::string("Create SFV: Select Folder to Add"));
        QCOMPARE(w.Rows().Count(), 3);
        QCOMPARE(w.Rows().Name(1), std::string("Disc 2/c.bin"));
        QCOMPARE(w.Edit1->text(), QString("Album.sfv"));
        QVERIFY(w.Button1->isEnabled() && !w.Edit1->isReadOnly());
        QTest::mouseClick(w.Button1, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(w.Rows().Count() == 0 && w.State().Busy == 0 && JobThread::Running() == 0, 20000);
        QVERIFY(ReadAll(album.File("Album/Album.sfv")).find("Disc 2/c.bin ") != std::string::npos);

        // Cancelling a Create after it changes only the label and the mode.
        f.dialogs->files = {std::nullopt};
        QTest::keyClick(&w, Qt::Key_F6);
        w.Adapter().Drain();
        QCOMPARE(w.State().JobMode, (GoMode{GoAction::Create, ListKinds()[1]}));
        QCOMPARE(w.Label1->text(), QString("Velmar"));
    }

    void DialogFiltersShowThePatternsTheyApply() {
        QCOMPARE(DialogFilters("MP3 files (*.mp3)|*.mp3|All files (*.*)|*.*"),
                 (QStringList{"MP3 files (*.mp3)", "All files (*)"}));
        QCOMPARE(DialogFilters("MD5SUM (md5sum)|md5sum*|MD5 files (*.md5)|*.md5"),
                 (QStringList{"MD5SUM (md5sum*)", "MD5 files (*.md5)"}));
        QCOMPARE(DialogFilters("CD Image (*.bin;*.iso;*.cue)|*.bin;*.iso;*.cue"),
                 QStringList{"CD Image (*.bin *.iso *.cue)"});
    }

    // "SHA256SUMS*" matches the signature beside the list too, which, picked,
    // once ended the program: a dialog that chooses a list leaves it out.
    void ListDialogsOfferNoSignatureFile() {
        TempDir folder;
        for (const char* name : {"SHA256SUMS", "SHA256SUMS.sign", "SHA256SUMS.gpg"}) folder.Write(name, "x");
        QStringList offered;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            dialog->setDirectory(QString::fromStdString(folder.path()));
            const auto* view = dialog->findChild<QListView*>("listView");
            const auto rows = [view] { return view->model()->rowCount(view->rootIndex()); };
            // The folder is read on a thread of its own, its names told in batches.
            if (QTest::qWaitFor([&] { return rows() > 0; }, 5000)) QTest::qWait(100);
            for (int row = 0; row < rows(); ++row) offered << view->model()->index(row, 0, view->rootIndex()).data().toString();
            dialog->reject();
        });
        QtDialogs dialogs;
        OpenFileRequest request = TextsOf(Sha256Kind).verifyDialog;
        request.hidesSignatures = true;
        QVERIFY(!dialogs.OpenFiles(nullptr, request));
        QCOMPARE(offered, QStringList{"SHA256SUMS"});
    }
};

QTEST_MAIN(TForm1Test)
#include "TForm1Test.moc"
