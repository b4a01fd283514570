#include "app/RightPanel.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "app/Unit1.h"

namespace velmar {

namespace {

// A button's size hint holds a style's least button width (80 px in some),
// far more than go! needs: this is its text and the frame around it.
int TextButtonWidth(const QPushButton& button) {
    const QStyle& style = *button.style();
    const int frame = style.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button) +
                      style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    return button.fontMetrics().horizontalAdvance(button.text()) + 2 * frame;
}

// A line edit's size hint is for a typical text, not its placeholder.
int PlaceholderWidth(const QLineEdit& edit) {
    // The 2 px a line edit keeps between its frame and its text, each side.
    constexpr int textMargin = 2;
    const int frame = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit);
    const QMargins margins = edit.textMargins();
    return edit.fontMetrics().horizontalAdvance(edit.placeholderText()) + 2 * (frame + textMargin) + margins.left() +
           margins.right();
}

}  // namespace

int RightPanel::PlaceIn(TForm1& form, QSize client) {
    const int buttonWidth = std::max(25, TextButtonWidth(*form.Button1));
    const int fixedTexts = std::max({LeastWidth, form.CheckBox1->sizeHint().width() + 2 + buttonWidth + 2,
                                     form.ComboBox1->sizeHint().width(), PlaceholderWidth(*form.Edit2)});
    const int statusRoom = client.width() - LeastListWidth - Gap;
    const int width = std::max(fixedTexts, std::min(form.Label1->sizeHint().width(), statusRoom));
    const int left = client.width() - width;

    // The rows are as high as the window was drawn for with a font 13 px
    // high, and higher by what a taller font needs.
    const int taller = std::max(0, form.Label1->fontMetrics().height() - 13);
    const int labelHeight = 13 + taller;
    const int rowHeight = 21 + taller;
    const int checkTop = labelHeight + rowHeight + 2;
    const int comboTop = checkTop + rowHeight + 2;
    form.Label1->setGeometry(left, 0, width, labelHeight);
    form.Edit1->setGeometry(left, labelHeight, width, rowHeight);
    form.CheckBox1->setGeometry(left, checkTop, width - buttonWidth - 4, rowHeight);
    form.Button1->setGeometry(client.width() - 2 - buttonWidth, checkTop, buttonWidth, rowHeight);
    form.ComboBox1->setGeometry(left, comboTop, width, rowHeight);
    form.Edit2->setGeometry(left, comboTop + rowHeight + 2, width, rowHeight);
    return left;
}

}  // namespace velmar
