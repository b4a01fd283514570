#include "app/VectorPicture.h"

#include <cmath>

#include <QPainter>
#include <QSvgRenderer>

namespace velmar {

QPixmap VectorPicture(const QString& source, QSize size, qreal ratio) {
    QSvgRenderer renderer(source);
    if (!renderer.isValid()) return {};
    QPixmap picture(static_cast<int>(std::lround(size.width() * ratio)),
                    static_cast<int>(std::lround(size.height() * ratio)));
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(picture.size())));
    }
    picture.setDevicePixelRatio(ratio);
    return picture;
}

}  // namespace velmar
