// The six shared status pictures the rows refer to. A row names its status;
// the picture it shows is whatever the window has loaded for that status, so
// a row whose picture has not been loaded yet draws no icon.
#pragma once

#include <array>

#include <QPixmap>

#include "jobs/MainWindow.h"

namespace velmar {

class StatusPictures {
public:
    // Loads all six from the resources.
    void LoadAll();
    // Loads one of them; the others keep what they hold.
    void Load(StatusIcon icon);

    // Null when not loaded.
    const QPixmap& Picture(StatusIcon icon) const { return pictures_[Index(icon)]; }

private:
    static constexpr std::size_t Count = 6;
    // An index out of range (a status no row should carry) shows nothing.
    static std::size_t Index(StatusIcon icon) {
        const auto index = static_cast<std::size_t>(icon);
        return index < Count ? index : Count;
    }
    std::array<QPixmap, Count + 1> pictures_;
};

}  // namespace velmar
