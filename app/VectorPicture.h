// A picture drawn from an SVG source at the pixels of the screen it shows
// on: sharp at any scale factor, where a bitmap enlarged by the window
// system shows soft, blocky edges.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace velmar {

// `source` (a file or resource) drawn into `size` logical pixels at
// `ratio` device pixels each. Null when the source is no SVG.
QPixmap VectorPicture(const QString& source, QSize size, qreal ratio);

}  // namespace velmar
