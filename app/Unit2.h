// TForm2, the About box. It tells the main window when it becomes active, so
// that the main window's next activation counts as a return to it.
#pragma once

#include <functional>

#include <QDialog>

namespace velmar {

class TForm2 : public QDialog {
public:
    explicit TForm2(QWidget* parent = nullptr);

    std::function<void()> onActivated;

protected:
    bool event(QEvent* event) override;
};

}  // namespace velmar
