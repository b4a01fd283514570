#include "app/Unit2.h"

#include <algorithm>

#include <QApplication>
#include <QDesktopServices>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "app/VectorPicture.h"
#include "platform/DesktopFileType.h"

namespace velmar {

namespace {

const char* const Label3Lines[13] = {
    "A long time ago, in a galaxy far, far away...",
    "the Velmar developers",
    "No checksums were harmed",
    "CRC-32: thirty-two bits of trust.",
    "Every byte is counted,",
    "Bad files get a .BAD hat.",
    "The fan still spins",
    "go! means go.",
    "Built on two cores",
    "Tested by a robot",
    "Zib found the secret button.",
    "Thanks for checking your files!",
    "dev@velmar.invalid",
};

const char* const Label4Lines[13] = {
    "Velmar brought to you by",
    "Zib!",
    "in the making of this box.",
    "MD5: a hundred and twenty-eight.",
    "none of them twice.",
    "Few of them wear it well.",
    "from the last disc image.",
    "Nothing else, we promise.",
    "and plenty of patience.",
    "that never clicks OK.",
    "And now, so have you.",
    "Questions? Send Mail To:",
    " ",
};

// The picture: clicked, it opens the program's page; it takes the name
// dropped on it.
class PictureLabel : public QLabel {
public:
    PictureLabel(TForm2& form, QWidget* parent) : QLabel(parent), form_(form) { setAcceptDrops(true); }

protected:
    void mousePressEvent(QMouseEvent* event) override { pressed_ = event->button() == Qt::LeftButton; }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            form_.Image1Click();
        pressed_ = false;
    }
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (form_.Image1DragOver(event->source())) event->acceptProposedAction();
        else event->ignore();
    }
    void dragMoveEvent(QDragMoveEvent* event) override {
        if (form_.Image1DragOver(event->source())) event->acceptProposedAction();
        else event->ignore();
    }
    void dropEvent(QDropEvent* event) override {
        const QPoint at = event->position().toPoint();
        form_.Image1DragDrop(event->source(), at.x(), at.y());
        event->acceptProposedAction();
    }

private:
    TForm2& form_;
    bool pressed_ = false;
};

// A label that can be dragged once it is allowed to.
class DraggableLabel : public QLabel {
public:
    using QLabel::QLabel;
    bool draggable = false;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) pressedAt_ = event->position().toPoint();
        QLabel::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!draggable || !(event->buttons() & Qt::LeftButton) || pressedAt_.x() < 0) return;
        if ((event->position().toPoint() - pressedAt_).manhattanLength() < QApplication::startDragDistance()) return;
        pressedAt_ = QPoint(-1, -1);
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setText(text());
        drag->setMimeData(data);
        drag->setPixmap(grab());
        drag->exec(Qt::MoveAction);
    }

private:
    QPoint pressedAt_{-1, -1};
};

class DoubleClickLabel : public QLabel {
public:
    DoubleClickLabel(const QString& text, std::function<void()> onDoubleClick, QWidget* parent)
        : QLabel(text, parent), onDoubleClick_(std::move(onDoubleClick)) {}

protected:
    void mouseDoubleClickEvent(QMouseEvent*) override { onDoubleClick_(); }

private:
    std::function<void()> onDoubleClick_;
};

// The box was drawn for "MS Sans Serif"; the desktop's font for it may be
// wider or taller, and a label then grows to show its whole text.
void GrowToText(QLabel& label) {
    const QSize text = label.sizeHint();
    label.resize(std::max(label.width(), text.width()), std::max(label.height(), text.height()));
}

// The width of the widest line either scrolling label shows.
int WidestCredit(const QFontMetrics& metrics) {
    int widest = 0;
    for (const char* const* lines : {Label3Lines, Label4Lines})
        for (int step = 0; step < 13; ++step)
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(lines[step])));
    return widest;
}

QLabel* ScrollingLabel(const char* text, int top, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    const QFontMetrics metrics = label->fontMetrics();
    label->setGeometry(2, top, std::max(224, WidestCredit(metrics)), std::max(13, metrics.height()));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    label->setVisible(false);
    return label;
}

}  // namespace

const char* Label3Line(int step) { return step >= 1 && step <= 13 ? Label3Lines[step - 1] : ""; }
const char* Label4Line(int step) { return step >= 1 && step <= 13 ? Label4Lines[step - 1] : ""; }

QUrl AboutPageUrl() {
    const QString program = QFile::decodeName(QByteArray::fromStdString(OwnProgramPath()));
    QStringList candidates{QFileInfo(program).absolutePath() + QStringLiteral("/../share/doc/velmar/README.md")};
#ifdef VELMAR_SOURCE_README
    candidates << QStringLiteral(VELMAR_SOURCE_README);
#endif
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile()) return QUrl::fromLocalFile(QFileInfo(candidate).canonicalFilePath());
    return {};
}

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    // A fixed frame with a title only: no system menu, close, minimise or
    // maximise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);

    GroupBox1 = new QGroupBox(QStringLiteral(">> Velmar <<"), this);
    GroupBox1->setGeometry(2, 0, 228, 145);

    Image1 = new PictureLabel(*this, GroupBox1);
    Image1->setGeometry(8, 16, 121, 121);
    Image1->setToolTip(QStringLiteral("zib"));
    Image1->setPixmap(VectorPicture(QStringLiteral(":/velmar/about.svg"), Image1->size(), devicePixelRatio()));

    Label1 = new DraggableLabel(QStringLiteral("Velmar"), GroupBox1);
    Label1->setGeometry(156, 58, 41, 13);
    GrowToText(*Label1);
    Label2 = new DoubleClickLabel(QStringLiteral("v1.84"), [this] { Label2DblClick(); }, GroupBox1);
    Label2->setGeometry(184, 73, 27, 13);
    GrowToText(*Label2);
    Label3 = ScrollingLabel(Label3Line(1), 130, GroupBox1);
    Label4 = ScrollingLabel(Label4Line(1), 120, GroupBox1);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(144, 152, 83, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Button2 = new QPushButton(QStringLiteral("Got Zib?"), this);
    Button2->setGeometry(2, 152, 135, 25);
    Button2->setVisible(false);
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    // Wider by what the widest credit line needs beyond the 224 px drawn
    // for it; OK stays at the right edge.
    const int wider = std::max(0, Label3->width() - 224);
    setFixedSize(230 + wider, 179);
    GroupBox1->resize(228 + wider, GroupBox1->height());
    Button1->move(Button1->x() + wider, Button1->y());

    Timer1 = new QTimer(this);
    Timer1->setInterval(30);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    // FormCreate.
    Image1->setVisible(true);
    counter3_ = 1;
    counter4_ = 1;
}

bool TForm2::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && onActivated) onActivated();
    return QDialog::event(event);
}

void TForm2::Button1Click() {
    Timer1->stop();
    accept();
}

void TForm2::Image1Click() {
    const QUrl page = AboutPageUrl();
    if (page.isEmpty()) return;
    if (openUrl) openUrl(page);
    else QDesktopServices::openUrl(page);
}

void TForm2::Label2DblClick() {
    GroupBox1->setTitle(QStringLiteral("<< Velmar >>"));
    static_cast<DraggableLabel*>(Label1)->draggable = true;
}

bool TForm2::Label1Draggable() const { return static_cast<DraggableLabel*>(Label1)->draggable; }

bool TForm2::Image1DragOver(QObject* source) const { return qobject_cast<QLabel*>(source) != nullptr; }

void TForm2::Image1DragDrop(QObject* source, int x, int y) {
    if (!Image1DragOver(source)) return;
    if (x >= 36 && x < 60 && y >= 56 && y < 70) {
        static_cast<DraggableLabel*>(Label1)->draggable = false;
        Button2->setVisible(true);
    }
}

void TForm2::Button2Click() {
    Button2->setEnabled(false);
    Image1->setVisible(false);
    Label2->setVisible(false);
    Label1->setVisible(false);
    Label3->move(Label3->x(), 148);
    Label4->move(Label4->x(), 218);
    Label3->setVisible(true);
    Label4->setVisible(true);
    Timer1->start();
}

void TForm2::Shade(QLabel* label) {
    // A line fades in at the bottom of the frame and out at its top.
    const bool faded = label->y() < 6 || label->y() > 131;
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText,
                     palette().color(faded ? QPalette::Disabled : QPalette::Active, QPalette::WindowText));
    label->setPalette(colours);
}

void TForm2::Timer1Timer() {
    Label3->move(Label3->x(), Label3->y() - 1);
    Label4->move(Label4->x(), Label4->y() - 1);
    Shade(Label3);
    Shade(Label4);
    // Each counter names the step its label shows; after the last step it
    // goes to 0 so that the next wrap shows step 1 again.
    auto wrap = [](QLabel* label, int& counter, const char* (*line)(int)) {
        if (label->y() != -2) return;
        label->move(label->x(), 139);
        ++counter;
        label->setText(QString::fromLatin1(line(counter)));
        if (counter == 13) counter = 0;
    };
    wrap(Label3, counter3_, Label3Line);
    wrap(Label4, counter4_, Label4Line);
}

}  // namespace velmar
