#include "app/Unit1.h"

#include <iterator>
#include <map>
#include <type_traits>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "app/Dialogs.h"
#include "app/Placement.h"
#include "app/RightPanel.h"
#include "app/Unit2.h"
#include "app/WindowAdapter.h"
#include "app/WindowJob.h"
#include "kinds/ListKinds.h"
#include "report/ReportJob.h"

namespace velmar {

namespace {

constexpr int ClientWidth = 550;

// Where the kind "Create which list?" offers first is kept.
constexpr const char* CreateKey = "Software\\Velmar\\TRegistry\\Create";
constexpr const char* LastKindValue = "LastKind";

// What the Save Report dialog offers: text first, then CSV, JSON, a web page.
OpenFileRequest SaveReportRequest() {
    return {.title = "Save Report",
            .filter = "Text (*.txt)|*.txt|CSV (*.csv)|*.csv|JSON (*.json)|*.json|Web page (*.html)|*.html;*.htm|"
                      "All files (*.*)|*.*",
            .filterIndex = 1,
            .multiple = false};
}
constexpr int ClientHeight = 385;

// The client area: the form places the controls in it when its size
// changes, and when a control's text asks for another size (a label's
// setText posts a layout request to its parent).
class ClientArea : public QWidget {
public:
    explicit ClientArea(TForm1& form) : QWidget(&form), form_(form) {}

protected:
    void resizeEvent(QResizeEvent*) override { form_.FormResize(); }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::LayoutRequest) form_.FormResize();
        return QWidget::event(event);
    }

private:
    TForm1& form_;
};

}  // namespace

TForm1::TForm1() : TForm1(Options{}) {}

TForm1::TForm1(Options options)
    : dialogs_(options.dialogs ? std::move(options.dialogs) : std::make_unique<QtDialogs>()),
      arguments_(options.arguments),
      settings_(options.settingsPath.empty() ? SettingsStore::DefaultPath() : options.settingsPath),
      exitProgram_(options.exitProgram ? options.exitProgram : [] { QCoreApplication::exit(0); }),
      desktopPlaces_(options.desktopPlaces),
      programPath_(options.programPath) {
    setWindowTitle(QStringLiteral("Velmar"));
    state_.Start = StartFrom(arguments_);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);

    CreateControls();
    CreateMenu();
    adapter_ = std::make_unique<WindowAdapter>(MainWindowControls{this, ListBox1, &rows_, &pictures_, ProgressBar1,
                                                                  Label1, Edit1, Button1, CheckBox1, ComboBox1, Edit2,
                                                                  dialogs_.get()});
    commands_ = options.commands ? options.commands(*adapter_, state_) : ListKindCommands(*adapter_, state_);
    if (!commands_.RegisterSfvFileType) commands_.RegisterSfvFileType = [this] { RegisterSFVFileType1Click(); };
    if (!commands_.About) commands_.About = [this] { About1Click(); };

    // FormCreate: the whole window is a target for files dropped from a
    // file manager; the edit boxes leave the drop to it instead of taking
    // the path as text.
    setAcceptDrops(true);
    Edit1->setAcceptDrops(false);
    Edit2->setAcceptDrops(false);

    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
    setMinimumSize(MinimumOuterWidth, MinimumOuterHeight);
    move(65, 49);
}

TForm1::~TForm1() {
    // A job the window did not see start (it began as the close was
    // accepted) is told to quit, which ends the program, instead of being
    // waited for: the state joins the job's thread as it goes.
    if (state_.Busy) state_.AskToQuit();
}

WindowStart TForm1::StartFrom(const QStringList& arguments) {
    // Qt has taken its own options out of the arguments already.
    std::vector<std::string> bytes;
    for (qsizetype i = 1; i < arguments.size(); ++i) bytes.push_back(QFile::encodeName(arguments.at(i)).toStdString());
    return ParseWindowArguments(bytes);
}

MainWindow& TForm1::Window() { return *adapter_; }

void TForm1::CreateControls() {
    auto* client = new ClientArea(*this);
    setCentralWidget(client);

    ListBox1 = new ResultListView(rows_, pictures_, client);

    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    // FormResize places the right panel's controls.
    Label1 = new QLabel(QStringLiteral("Velmar"), client);

    Edit1 = new QLineEdit(client);
    Edit1->setMaxLength(192);
    Edit1->setReadOnly(true);
    Edit1->setToolTip(QStringLiteral("Filename"));
    QPalette palette = Edit1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    Edit1->setPalette(palette);

    Button1 = new QPushButton(QStringLiteral("go!"), client);
    Button1->setToolTip(QStringLiteral("Create SFV"));
    Button1->setEnabled(false);

    CheckBox1 = new QCheckBox(QStringLiteral("WinSFV Compatible"), client);
    CheckBox1->setEnabled(false);

    ComboBox1 = new QComboBox(client);
    ComboBox1->addItems({QStringLiteral("Add Comment File"), QStringLiteral("Add One Line Comment"),
                         QStringLiteral("Add File Info Comment"), QStringLiteral("No Comments")});
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEnabled(false);

    Edit2 = new QLineEdit(client);
    Edit2->setMaxLength(255);
    // The box says what it is for while it is empty.
    Edit2->setPlaceholderText(QStringLiteral("One-line comment"));
    Edit2->setVisible(false);

    setTabOrder(ListBox1, ProgressBar1);
    setTabOrder(ProgressBar1, Edit1);
    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, CheckBox1);
    setTabOrder(CheckBox1, ComboBox1);
    setTabOrder(ComboBox1, Edit2);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    // Edit1KeyDown: Enter in an editable Edit1 is go!.
    connect(Edit1, &QLineEdit::returnPressed, this, [this] {
        if (!Edit1->isReadOnly()) Button1Click();
    });
    // Only a choice by the user; choosing an item in code passes Edit2 by.
    connect(ComboBox1, &QComboBox::activated, this, [this](int index) { ComboBox1Change(index); });
}

void TForm1::CreateMenu() {
    auto* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Verify Any List..."), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                    [this] { Run(commands_.VerifyAnyList); });
    file->addAction(QStringLiteral("Verify All &Lists in Folder..."), QKeySequence(Qt::CTRL | Qt::Key_F2), this,
                    [this] { Run(commands_.VerifyFolder); });
    file->addAction(QStringLiteral("&Check File..."), QKeySequence(Qt::CTRL | Qt::Key_K), this,
                    [this] { Run(commands_.CheckFile); });
    file->addAction(QStringLiteral("Com&pare Files..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K), this,
                    [this] { Run(commands_.CompareFiles); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Audit List..."), QKeySequence(Qt::Key_F2), this, [this] { Run(commands_.Audit); });
    file->addAction(QStringLiteral("Add &New Files..."), QKeySequence(Qt::SHIFT | Qt::Key_F2), this,
                    [this] { Run(commands_.AddNewFiles); });
    file->addAction(QStringLiteral("Save &Report..."), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                    [this] { SaveReport1Click(); });
    file->addSeparator();
    auto* options = file->addMenu(QStringLiteral("&Options"));
    // Checked while `.sfv` files open in Velmar, as the menu finds it each
    // time it opens: another program may have taken the type meanwhile.
    auto* registerItem = options->addAction(QStringLiteral("&Register SFV FileType"));
    registerItem->setCheckable(true);
    const auto showRegistered = [this, registerItem] { registerItem->setChecked(SfvFileTypeRegistered(Places())); };
    connect(options, &QMenu::aboutToShow, this, showRegistered);
    connect(registerItem, &QAction::triggered, this, [this, showRegistered] {
        Run(commands_.RegisterSfvFileType);
        showRegistered();
    });
    file->addSeparator();
    file->addAction(QStringLiteral("Stop"), QKeySequence(Qt::Key_Escape), this, [this] { Stop1Click(); });
    file->addAction(QStringLiteral("E&xit"), QKeySequence(Qt::Key_F12), this, [this] { Exit1Click(); });

    const auto kinds = ListKinds();
    // A kind in a group has its submenu there; the group's menu takes the
    // place of its first kind.
    std::map<std::string, QMenu*> groups;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const KindTexts& kind = TextsOf(*kinds[i]);
        QMenu* menu = nullptr;
        if (kind.menuGroup) {
            QMenu*& group = groups[kind.menuGroup];
            if (!group) group = menuBar()->addMenu(QString::fromLatin1(kind.menuGroup));
            menu = group->addMenu(QString::fromLatin1(kind.menuCaption));
        } else {
            menu = menuBar()->addMenu(QString::fromLatin1(kind.menuCaption));
        }
        const FormCommands::Command FormCommands::Kind::*items[] = {
            &FormCommands::Kind::Create, &FormCommands::Kind::Verify, &FormCommands::Kind::SelectVerify,
            &FormCommands::Kind::CreateFromFolder};
        static_assert(std::size(items) == std::extent_v<decltype(KindTexts::itemCaptions)>);
        for (std::size_t item = 0; item < std::size(items); ++item) {
            auto command = items[item];
            menu->addAction(QString::fromLatin1(kind.itemCaptions[item]),
                            QKeySequence::fromString(QString::fromLatin1(kind.itemKeys[item]), QKeySequence::PortableText),
                            this, [this, i, command] {
                                if (i < commands_.Kinds.size()) Run(commands_.Kinds[i].*command);
                            });
        }
    }
    auto* view = menuBar()->addMenu(QStringLiteral("&View"));
    ShowProblemsOnly1 = view->addAction(QStringLiteral("Show &Problems Only"), QKeySequence(Qt::CTRL | Qt::Key_P),
                                        this, [this](bool only) { rows_.ShowProblemsOnly(only); });
    ShowProblemsOnly1->setCheckable(true);

    auto* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About..."), this, [this] { Run(commands_.About); });
}

void TForm1::Run(const FormCommands::Command& command) {
    if (command) command();
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && (!activatedOnce_ || otherFormWasActive_)) {
        otherFormWasActive_ = false;
        FormActivate();
    }
    return QMainWindow::event(event);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Some platforms never make a window active (no window manager, the
    // offscreen platform): the first showing then stands for it.
    if (!activatedOnce_)
        QTimer::singleShot(0, this, [this] {
            if (!activatedOnce_) FormActivate();
        });
}

void TForm1::FormActivate() {
    const bool first = !activatedOnce_;
    activatedOnce_ = true;

    // The minimum is an outer size; the frame is known once the window is
    // mapped.
    setMinimumSize(MinimumOuterWidth - (OuterWidth(*this) - width()),
                   MinimumOuterHeight - (OuterHeight(*this) - height()));
    settings_.Load();
    ApplyStoredPlacement(*this, settings_);
    repaint();

    // A running job keeps its flags; no second job starts beside it.
    const bool jobRunning = state_.Busy != 0;
    if (!jobRunning) {
        state_.Busy = 0;
        state_.QuitRequested = 0;
    }
    ComboBox1->setCurrentIndex(2);

    if (first) state_.LastCreateKind = settings_.ReadString(CreateKey, LastKindValue).value_or("");
    if (first && !jobRunning && state_.Start.refusal.empty()) {
        if (state_.Start.action == WindowStart::Action::VerifyFirst) {
            state_.CommandLinePath = state_.Start.paths.front();
            Run(commands_.CommandLineVerify);
        } else if (state_.Start.action != WindowStart::Action::None) {
            Run(commands_.CommandLineStart);
        }
    }
}

void TForm1::FormResize() {
    const QSize client = centralWidget()->size();
    const int listWidth = RightPanel::PlaceIn(*this, client) - RightPanel::Gap;
    ListBox1->setGeometry(0, 0, listWidth, client.height() - 16);
    ProgressBar1->setGeometry(0, client.height() - 16, listWidth, 16);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Stored whether the close happens or not, and before a running job is
    // asked to quit: it may end the program a moment later.
    settings_.Load();
    StorePlacement(*this, settings_);
    if (!state_.LastCreateKind.empty()) settings_.WriteString(CreateKey, LastKindValue, state_.LastCreateKind);
    settings_.Save();
    const bool refused = state_.Busy != 0;
    if (refused) {
        state_.AskToQuit();
        event->ignore();
    } else {
        event->accept();
    }
}

void TForm1::Stop1Click() {
    // With no job running there is nothing to stop.
    if (state_.Busy) state_.StopRequested = 1;
}

void TForm1::Exit1Click() {
    if (state_.Busy) {
        state_.AskToQuit();
        return;
    }
    exitProgram_();
}

void TForm1::Button1Click() {
    const GoMode mode = state_.JobMode;
    const auto kinds = ListKinds();
    for (std::size_t i = 0; i < kinds.size() && i < commands_.Kinds.size(); ++i) {
        if (kinds[i] != mode.kind) continue;
        if (mode.action == GoAction::Create) Run(commands_.Kinds[i].GoCreate);
        if (mode.action == GoAction::SelectVerify) Run(commands_.Kinds[i].GoSelectVerify);
    }
}

DesktopPlaces TForm1::Places() const {
    return desktopPlaces_.dataHome.empty() ? DesktopPlaces::FromEnvironment() : desktopPlaces_;
}

void TForm1::RegisterSFVFileType1Click() {
    // No Busy test: this works while a job runs.
    const DesktopPlaces places = Places();
    if (SfvFileTypeRegistered(places)) {
        RemoveSfvFileType(places);
        dialogs_->Message(this, "SFV FileType Removed", MessageButtons::Ok);
    } else {
        RegisterSfvFileType(places, programPath_.empty() ? OwnProgramPath() : programPath_);
        dialogs_->Message(this, "SFV FileType Registered", MessageButtons::Ok);
    }
    repaint();
}

void TForm1::SaveReport1Click() {
    if (state_.Busy) return;
    const std::string& list = rows_.Store().CheckedList();
    if (list.empty()) {
        dialogs_->Message(this, "Nothing to Report: verify or audit a list first", MessageButtons::Ok);
        return;
    }
    const auto path = dialogs_->SaveFile(this, SaveReportRequest(), SuggestedReportName(list));
    if (!path) return;
    // The rows as they are now; the job writes them while the window goes on.
    adapter_->SetBusyCursor(true);
    StartWindowJob(*adapter_, state_,
                   [path = *path, rows = rows_.Shared()](JobFrame& frame) { SaveReportOf(frame, path, *rows); });
}

void TForm1::About1Click() {
    // A new box for every showing, so each starts afresh.
    TForm2 box(this);
    box.onActivated = [this] { OtherFormActivated(); };
    dialogs_->ShowModal(box);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
    else event->ignore();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
    else event->ignore();
}

void TForm1::dropEvent(QDropEvent* event) {
    if (state_.Busy || !event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    FormDropFiles(event->mimeData()->urls());
}

void TForm1::FormDropFiles(const QList<QUrl>& urls) {
    if (state_.Busy) return;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        // The whole path, however long: a cut one would name another file.
        state_.CommandLinePath = QFile::encodeName(url.toLocalFile()).toStdString();
        rows_.Clear();
        Run(commands_.CommandLineVerify);
        return;
    }
}

void TForm1::ComboBox1Change(int index) { Edit2->setVisible(index == 1); }

}  // namespace velmar
