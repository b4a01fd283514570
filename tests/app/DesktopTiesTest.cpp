// The main window's ties to the desktop under the offscreen platform: files
// dropped on it, the file-type menu item, and the About box with its picture
// and hidden scroller.
#include <filesystem>
#include <functional>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VectorPicture.h"
#include "app/WindowAdapter.h"
#include "tests/app/ScriptedDialogs.h"
#include "tests/support/TempDir.h"

using namespace velmar;
using velmar::test::ReadAll;
using velmar::test::ScriptedDialogs;
using velmar::test::TempDir;

namespace {

// Scripted answers, and the About box handed to a test instead of a modal
// loop that would wait for a person.
struct BoxDialogs : ScriptedDialogs {
    std::function<void(TForm2&)> onShow;
    int shows = 0;
    int ShowModal(QDialog& dialog) override {
        ++shows;
        if (onShow) onShow(dynamic_cast<TForm2&>(dialog));
        return QDialog::Accepted;
    }
};

struct Form {
    TempDir dir;
    std::vector<std::string> calls;
    BoxDialogs* dialogs = nullptr;
    std::unique_ptr<TForm1> form;

    explicit Form(bool realCommands = false, DesktopPlaces places = {}) {
        TForm1::Options options;
        auto scripted = std::make_unique<BoxDialogs>();
        dialogs = scripted.get();
        options.dialogs = std::move(scripted);
        if (!realCommands)
            options.commands = [this](MainWindow&, MainWindowState&) {
                FormCommands c;
                c.CommandLineVerify = [this] { calls.push_back("CommandLineVerify"); };
                return c;
            };
        options.arguments = {"velmar"};
        options.settingsPath = dir.File("settings.reg");
        options.exitProgram = [] {};
        options.desktopPlaces = places;
        options.programPath = "/opt/velmar/bin/velmar";
        form = std::make_unique<TForm1>(std::move(options));
    }

    // What a file manager sends: the drag entering, then the drop.
    bool Drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at(50, 50);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &drop);
        return drop.isAccepted();
    }

    QAction* MenuItem(const QString& text) {
        for (QAction* action : form->menuBar()->findChildren<QAction*>())
            if (action->text() == text) return action;
        return nullptr;
    }
};

QColor Text(QLabel* label) { return label->palette().color(QPalette::WindowText); }

}  // namespace

class DesktopTiesTest : public QObject {
    Q_OBJECT

private slots:
    void ADropWhileIdleVerifiesTheFirstLocalFileWhole() {
        Form f;
        f.form->Rows().Add("left over", IconOk);
        // Longer than any fixed path buffer: the whole path is what counts.
        const QString longPath = QStringLiteral("/music/") + QString(300, QLatin1Char('x')) + QStringLiteral("/a b.sfv");
        QVERIFY(f.Drop({QUrl(QStringLiteral("https://example.invalid/x.sfv")), QUrl::fromLocalFile(longPath),
                        QUrl::fromLocalFile(QStringLiteral("/music/second.sfv")),
                        QUrl::fromLocalFile(QStringLiteral("/music/third.sfv"))}));
        QCOMPARE(f.calls, std::vector<std::string>{"CommandLineVerify"});
        QCOMPARE(f.form->State().CommandLinePath, longPath.toStdString());
        QCOMPARE(f.form->Rows().Count(), 0);

        // While a job runs a drop changes nothing.
        f.form->State().Busy = 1;
        f.form->Rows().Add("job's row", IconPending);
        QVERIFY(!f.Drop({QUrl::fromLocalFile(QStringLiteral("/other.sfv"))}));
        QCOMPARE(f.calls.size(), std::size_t(1));
        QCOMPARE(f.form->State().CommandLinePath, longPath.toStdString());
        QCOMPARE(f.form->Rows().Count(), 1);
        f.form->State().Busy = 0;

        // Text that is no file is not taken, and the edit boxes leave file
        // drops to the window.
        QMimeData text;
        text.setText(QStringLiteral("hello"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.form.get(), &enter);
        QVERIFY(!enter.isAccepted());
        QVERIFY(!f.form->Edit1->acceptDrops() && !f.form->Edit2->acceptDrops());
    }

    void ADroppedListIsVerifiedWhateverItsExtension() {
        Form f(true);
        f.form->show();
        TempDir album;
        album.Write("A.bin", "a");
        album.Write("B.bin", "b");
        const std::string list = album.Write("checks.txt", "; made by hand\r\nA.bin E8B7BE43\r\nB.bin 00000000\r\n");
        QVERIFY(f.Drop({QUrl::fromLocalFile(QString::fromStdString(list))}));
        QTRY_VERIFY_WITH_TIMEOUT(f.form->State().Busy == 0 && f.form->Label1->text().startsWith("OK:"), 20000);
        f.form->Adapter().Drain();
        QCOMPARE(f.form->Label1->text(), QString("OK:1  BAD:1  N/A:0"));
        QVERIFY2(f.form->Label1->width() >= f.form->Label1->sizeHint().width(), "the summary shows whole");
        QCOMPARE(f.form->Rows().Count(), 2);
        QCOMPARE(f.form->Rows().Icon(0), IconOk);
        QCOMPARE(f.form->Rows().Icon(1), IconBad);
        QCOMPARE(f.dialogs->messages, std::vector<std::string>{"Rename Bad Files?"});
    }

    void TheMenuItemRegistersRemovesAndRegistersAgain() {
        TempDir desktop;
        DesktopPlaces places;
        places.dataHome = desktop.File("data");
        places.configHome = desktop.File("config");
        places.dataDirs = {desktop.File("system")};
        std::filesystem::create_directories(places.configHome);
        desktop.Write("config/mimeapps.list", "[Default Applications]\ntext/x-sfv=other.desktop\n");
        Form f(false, places);
        QAction* item = f.MenuItem(QStringLiteral("&Register SFV FileType"));
        QVERIFY(item);

        QVERIFY(item->isCheckable() && !item->isChecked());
        item->trigger();
        QVERIFY(SfvFileTypeRegistered(places) && item->isChecked());
        QVERIFY(ReadAll(places.DesktopEntryPath()).find("Exec=\"/opt/velmar/bin/velmar\" %f") != std::string::npos);
        QCOMPARE(ReadAll(places.MimeAppsPath()), std::string("[Default Applications]\ntext/x-sfv=velmar.desktop\n"));
        // It works while a job runs, too.
        f.form->State().Busy = 1;
        item->trigger();
        f.form->State().Busy = 0;
        QVERIFY(!SfvFileTypeRegistered(places) && !item->isChecked());
        QCOMPARE(ReadAll(places.MimeAppsPath()), std::string("[Default Applications]\n"));
        item->trigger();
        QVERIFY(SfvFileTypeRegistered(places));
        QCOMPARE(f.dialogs->messages, (std::vector<std::string>{"SFV FileType Registered", "SFV FileType Removed",
                                                                "SFV FileType Registered"}));
    }

    void RegisteringWhereNothingCanBeWrittenStillSaysRegistered() {
        TempDir desktop;
        DesktopPlaces places;
        places.dataHome = desktop.Write("data", "a file, not a folder");
        places.configHome = desktop.Write("config", "a file, not a folder");
        places.dataDirs = {};
        Form f(false, places);
        f.form->RegisterSFVFileType1Click();
        f.form->RegisterSFVFileType1Click();
        // Never registered, so each use tries to register again.
        QCOMPARE(f.dialogs->messages,
                 (std::vector<std::string>{"SFV FileType Registered", "SFV FileType Registered"}));
        QCOMPARE(ReadAll(desktop.File("data")), std::string("a file, not a folder"));
    }

    void ThePictureIsDrawnAt121By121InItsColoursAtEveryScale() {
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            const QImage picture =
                VectorPicture(QStringLiteral(":/velmar/about.svg"), QSize(121, 121), ratio).toImage();
            QCOMPARE(picture.size(), QSize(qRound(121 * ratio), qRound(121 * ratio)));
            QCOMPARE(picture.devicePixelRatio(), ratio);
            // Each place in the picture's own 121 x 121 units.
            auto at = [&](int x, int y) { return picture.pixelColor(int(x * ratio), int(y * ratio)); };
            auto white = [&](int x, int y) { return at(x, y) == QColor(Qt::white); };
            auto blue = [&](int x, int y) {
                const QColor c = at(x, y);
                return c.blue() > 130 && c.blue() > c.red() + 80 && c.blue() > c.green() + 50;
            };
            QVERIFY(white(2, 2));
            QVERIFY(white(118, 118));
            QVERIFY(white(60, 60));  // between the eyes
            QVERIFY(blue(47, 59));   // the left pupil
            QVERIFY(blue(28, 60));   // a stripe
            QVERIFY(blue(60, 112));  // the chin
        }
        QVERIFY(VectorPicture(QStringLiteral(":/velmar/no-such-picture.svg"), QSize(16, 16), 1).isNull());
    }

    void HelpAboutShowsAFreshBoxAsCreated() {
        Form f;
        int checked = 0;
        f.dialogs->onShow = [&](TForm2& box) {
            QCOMPARE(box.windowTitle(), QString("About"));
            QVERIFY(box.isModal());
            // As drawn, and wider where the credits need it (EveryTextShowsWhole).
            QCOMPARE(box.height(), 179);
            QVERIFY(box.width() >= 230);
            QCOMPARE(box.minimumSize(), box.maximumSize());
            QVERIFY(!(box.windowFlags() & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                           Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            QCOMPARE(box.GroupBox1->geometry(), QRect(2, 0, box.width() - 2, 145));
            QCOMPARE(box.GroupBox1->title(), QString(">> Velmar <<"));
            QCOMPARE(box.Image1->geometry(), QRect(8, 16, 121, 121));
            QCOMPARE(box.Image1->pixmap().deviceIndependentSize(), QSizeF(121, 121));
            QCOMPARE(box.Image1->toolTip(), QString("zib"));
            QVERIFY(box.Image1->acceptDrops());
            QCOMPARE(box.Label1->pos(), QPoint(156, 58));
            QCOMPARE(box.Label2->text(), QString("v1.84"));
            QCOMPARE(box.Label3->text(), QString("A long time ago, in a galaxy far, far away..."));
            QCOMPARE(box.Label4->text(), QString("Velmar brought to you by"));
            QVERIFY(box.Label3->isHidden() && box.Label4->isHidden() && box.Button2->isHidden());
            QCOMPARE(box.Button1->geometry(), QRect(box.width() - 86, 152, 83, 25));
            QCOMPARE(box.Button2->geometry(), QRect(2, 152, 135, 25));
            QCOMPARE(box.Timer1->interval(), 30);
            QVERIFY(!box.Timer1->isActive());
            QCOMPARE(box.Counter3(), 1);
            QCOMPARE(box.Counter4(), 1);
            QVERIFY(!box.Label1Draggable());
            if (checked++ == 0) {
                // Play the whole game in the first box; the second must not
                // show any of it.
                box.Label2DblClick();
                box.Image1DragDrop(box.Label1, 40, 60);
                box.Button2Click();
                for (int i = 0; i < 200; ++i) box.Timer1Timer();
            }
        };
        QAction* about = f.MenuItem(QStringLiteral("&About..."));
        QVERIFY(about);
        about->trigger();
        about->trigger();
        QCOMPARE(f.dialogs->shows, 2);
        QCOMPARE(checked, 2);
    }

    void TheNameDroppedOnTheSpotRevealsTheButton() {
        TForm2 box;
        box.show();
        QTest::mouseDClick(box.Label2, Qt::LeftButton);
        QCOMPARE(box.GroupBox1->title(), QString("<< Velmar >>"));
        QVERIFY(box.Label1Draggable());
        QVERIFY(box.Image1DragOver(box.Label1));
        QVERIFY(!box.Image1DragOver(box.Button1));
        QVERIFY(!box.Image1DragOver(nullptr));
        // The spot's edges: 36 <= X < 60, 56 <= Y < 70.
        for (QPoint miss : {QPoint(60, 56), QPoint(36, 70), QPoint(35, 60), QPoint(40, 55), QPoint(0, 0)}) {
            box.Image1DragDrop(box.Label1, miss.x(), miss.y());
            QVERIFY(box.Button2->isHidden());
            QVERIFY(box.Label1Draggable());
        }
        box.Image1DragDrop(box.Button1, 40, 60);  // only a label counts
        QVERIFY(box.Button2->isHidden());
        box.Image1DragDrop(box.Label1, 59, 69);
        QVERIFY(!box.Button2->isHidden());
        QVERIFY(!box.Label1Draggable());

        TForm2 other;
        other.Label2DblClick();
        other.Image1DragDrop(other.Label1, 36, 56);
        QVERIFY(!other.Button2->isHidden());
    }

    void TheScrollerWrapsThroughBothCyclesSeventyPixelsApart() {
        TForm2 box;
        box.show();
        box.Button2Click();
        QVERIFY(!box.Button2->isEnabled());
        QVERIFY(box.Image1->isHidden() && box.Label1->isHidden() && box.Label2->isHidden());
        QVERIFY(!box.Label3->isHidden() && !box.Label4->isHidden());
        QCOMPARE(box.Label3->y(), 148);
        QCOMPARE(box.Label4->y(), 218);
        QVERIFY(box.Timer1->isActive());
        box.Timer1->stop();

        const QColor normal = box.palette().color(QPalette::Active, QPalette::WindowText);
        const QColor grey = box.palette().color(QPalette::Disabled, QPalette::WindowText);
        QVERIFY(normal != grey);

        std::vector<std::string> shown3, shown4;
        for (int tick = 1; tick <= 150 + 141 * 13 + 70; ++tick) {
            const int before3 = box.Label3->y();
            const int before4 = box.Label4->y();
            box.Timer1Timer();
            const int y3 = box.Label3->y(), y4 = box.Label4->y();
            if (before3 == -1) shown3.push_back(box.Label3->text().toStdString());
            if (before4 == -1) shown4.push_back(box.Label4->text().toStdString());
            const int apart = ((y4 - y3) % 141 + 141) % 141;
            QVERIFY2(apart == 70 || apart == 71, qPrintable(QString("tick %1: %2").arg(tick).arg(apart)));
            QCOMPARE(Text(box.Label3), (y3 < 6 || y3 > 131) ? grey : normal);
            QCOMPARE(Text(box.Label4), (y4 < 6 || y4 > 131) ? grey : normal);
            if (tick == 150) {
                QCOMPARE(y3, 139);
                QCOMPARE(box.Label3->text().toStdString(), std::string(Label3Line(2)));
                QCOMPARE(box.Counter3(), 2);
            }
            if (tick == 220) {
                QCOMPARE(y4, 139);
                QCOMPARE(box.Label4->text(), QString("Zib!"));
            }
        }
        // Fourteen wraps of each: steps 2 to 13, then 1 and 2 again.
        QCOMPARE(shown3.size(), std::size_t(14));
        for (int i = 0; i < 12; ++i) QCOMPARE(shown3[i], std::string(Label3Line(i + 2)));
        QCOMPARE(shown3[12], std::string(Label3Line(1)));
        QCOMPARE(shown3[13], std::string(Label3Line(2)));
        QCOMPARE(shown4.size(), std::size_t(14));
        QCOMPARE(shown4[10], std::string("Questions? Send Mail To:"));
        QCOMPARE(shown4[11], std::string(" "));
        QCOMPARE(shown4[12], std::string("Velmar brought to you by"));
        QCOMPARE(shown4[13], std::string("Zib!"));
        // Our own lines fit the label's width (the opening line is as given
        // and may not, in a wider substitute font).
        for (int step = 2; step <= 13; ++step) {
            QVERIFY(*Label3Line(step) != '\0' && *Label4Line(step) != '\0');
            QVERIFY2(box.fontMetrics().horizontalAdvance(QString::fromLatin1(Label3Line(step))) <= 224, Label3Line(step));
            QVERIFY2(box.fontMetrics().horizontalAdvance(QString::fromLatin1(Label4Line(step))) <= 224, Label4Line(step));
        }

        box.Timer1->start();
        box.Button1Click();
        QVERIFY(!box.Timer1->isActive());
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    void AClickOnThePictureOpensTheReadme() {
        TForm2 box;
        box.show();
        QList<QUrl> opened;
        box.openUrl = [&](const QUrl& url) { opened << url; };
        QTest::mouseClick(box.Image1, Qt::LeftButton, {}, QPoint(60, 60));
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened[0].isLocalFile());
        QVERIFY(opened[0].toLocalFile().endsWith("README.md"));
        QVERIFY(QFileInfo(opened[0].toLocalFile()).isFile());
    }
};

QTEST_MAIN(DesktopTiesTest)
#include "DesktopTiesTest.moc"
