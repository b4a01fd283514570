// TForm2, the About box: the picture, the name and the version, OK, and a
// small game. Double-clicking the version lets the name be dragged; dropping
// it on the spot of the picture reveals "Got Zib?", which starts a scroller
// of two alternating lines of credits. A new box is made for every showing,
// so each starts afresh. It tells the main window when it becomes active, so
// that the main window's next activation counts as a return to it.
#pragma once

#include <functional>

#include <QDialog>
#include <QUrl>

class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace velmar {

class TForm2 : public QDialog {
public:
    explicit TForm2(QWidget* parent = nullptr);

    std::function<void()> onActivated;
    // How Image1Click opens the program's page; the desktop's handler when
    // empty.
    std::function<void(const QUrl&)> openUrl;

    // The handlers, public so the tests can drive them.
    void Button1Click();
    void Image1Click();
    void Label2DblClick();
    bool Image1DragOver(QObject* source) const;
    void Image1DragDrop(QObject* source, int x, int y);
    void Button2Click();
    void Timer1Timer();

    bool Label1Draggable() const;
    int Counter3() const { return counter3_; }
    int Counter4() const { return counter4_; }

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    void Shade(QLabel* label);

    int counter3_ = 1;
    int counter4_ = 1;
};

// Step 1 to 13 of each scrolling label's cycle.
const char* Label3Line(int step);
const char* Label4Line(int step);

// The page Image1Click opens: the README installed beside the program, else
// the one of the source tree it was built from; empty when neither exists.
QUrl AboutPageUrl();

}  // namespace velmar
