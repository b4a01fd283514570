// JPEG bytes decoded with libjpeg into a picture the widgets can show.
#pragma once

#include <QByteArray>
#include <QImage>

namespace velmar {

// A null image when the bytes are no JPEG libjpeg can read.
QImage DecodeJpeg(const QByteArray& bytes);

}  // namespace velmar
