#include "app/Placement.h"

#include <algorithm>

#include <QWidget>

namespace velmar {

int OuterWidth(const QWidget& window) { return window.frameGeometry().width(); }
int OuterHeight(const QWidget& window) { return window.frameGeometry().height(); }

void ApplyStoredPlacement(QWidget& window, const SettingsStore& store) {
    // The frame around the window's own area, known once it is mapped.
    const int frameWidth = OuterWidth(window) - window.width();
    const int frameHeight = OuterHeight(window) - window.height();
    if (store.KeyExists(PositionsKey)) {
        if (auto top = store.ReadInteger(PositionsKey, "FormTop")) window.move(window.pos().x(), *top);
        if (auto left = store.ReadInteger(PositionsKey, "FormLeft")) window.move(*left, window.pos().y());
    }
    if (store.KeyExists(SizeKey)) {
        if (auto width = store.ReadInteger(SizeKey, "FormWidth"))
            window.resize(std::max(*width, MinimumOuterWidth) - frameWidth, window.height());
        if (auto height = store.ReadInteger(SizeKey, "FormHeight"))
            window.resize(window.width(), std::max(*height, MinimumOuterHeight) - frameHeight);
    }
}

void StorePlacement(const QWidget& window, SettingsStore& store) {
    const QRect outer = window.frameGeometry();
    store.WriteInteger(PositionsKey, "FormTop", outer.top());
    store.WriteInteger(PositionsKey, "FormLeft", outer.left());
    store.WriteInteger(SizeKey, "FormWidth", outer.width());
    store.WriteInteger(SizeKey, "FormHeight", outer.height());
}

}  // namespace velmar
