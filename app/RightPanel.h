// The main window's right panel: the status line, the list-file name, the
// compatibility box with go! beside it, the comment mode and the one-line
// comment, one under the other. Its width comes from the texts of its
// controls measured in the fonts and style they are drawn with, so that
// each shows whole whatever font the desktop gives for "MS Sans Serif" and
// whatever the scale: never below the 154 px the window was drawn for, and
// wider while the status line's summary needs it and the list keeps room.
#pragma once

#include <QSize>

namespace velmar {

class TForm1;

struct RightPanel {
    static constexpr int LeastWidth = 154;
    // The status line gets no more than leaves the list this wide.
    static constexpr int LeastListWidth = 200;
    // Between the list and the panel.
    static constexpr int Gap = 3;

    // Places the form's panel controls at the right edge of a client area
    // of `client` and returns the panel's left edge.
    static int PlaceIn(TForm1& form, QSize client);
};

}  // namespace velmar
