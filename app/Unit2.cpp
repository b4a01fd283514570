#include "app/Unit2.h"

#include <QEvent>

namespace velmar {

TForm2::TForm2(QWidget* parent) : QDialog(parent) { setWindowTitle(QStringLiteral("About")); }

bool TForm2::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && onActivated) onActivated();
    return QDialog::event(event);
}

}  // namespace velmar
