// The six shared status pictures the rows refer to. A row names its status;
// the picture it shows is whatever the window has loaded for that status, so
// a row whose picture has not been loaded yet draws no icon. Each is drawn
// from its SVG at the device pixel ratio the list paints at, 16 x 16
// logical pixels.
#pragma once

#include <array>

#include <QPixmap>

#include "app/MainWindow.h"

namespace velmar {

class StatusPictures {
public:
    static constexpr int Size = 16;

    // Loads all six from the resources.
    void LoadAll();
    // Loads one of them; the others keep what they hold.
    void Load(StatusIcon icon);

    // Null when not loaded. Drawn again when asked for another ratio than
    // the last (the window went to a screen of another scale).
    const QPixmap& Picture(StatusIcon icon, qreal ratio = 1) const;

private:
    static constexpr std::size_t Count = 6;
    // An index out of range (a status no row should carry) shows nothing.
    static std::size_t Index(StatusIcon icon) {
        const auto index = static_cast<std::size_t>(icon);
        return index < Count ? index : Count;
    }
    std::array<bool, Count + 1> loaded_{};
    mutable std::array<QPixmap, Count + 1> pictures_;
};

}  // namespace velmar
