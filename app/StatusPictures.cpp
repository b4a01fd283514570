#include "app/StatusPictures.h"

#include <QBitmap>

namespace velmar {

namespace {

const char* ResourceOf(StatusIcon icon) {
    switch (icon) {
        case IconPending: return ":/velmar/icon-pending.xpm";
        case IconOk: return ":/velmar/icon-ok.xpm";
        case IconBad: return ":/velmar/icon-bad.xpm";
        case IconNA: return ":/velmar/icon-na.xpm";
        case IconNew: return ":/velmar/icon-new.xpm";
        case IconMoved: return ":/velmar/icon-moved.xpm";
    }
    return "";
}

}  // namespace

void StatusPictures::Load(StatusIcon icon) {
    QPixmap picture(QString::fromLatin1(ResourceOf(icon)));
    // Pure red is the transparent colour of a status picture: those pixels
    // show the row's background. Ours hold none, so they show whole, white
    // square included, on a selected row too.
    if (!picture.isNull()) picture.setMask(picture.createMaskFromColor(QColor(255, 0, 0), Qt::MaskInColor));
    pictures_[Index(icon)] = picture;
}

void StatusPictures::LoadAll() {
    for (StatusIcon icon : {IconPending, IconOk, IconBad, IconNA, IconNew, IconMoved}) Load(icon);
}

}  // namespace velmar
