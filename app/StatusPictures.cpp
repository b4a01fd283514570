#include "app/StatusPictures.h"

#include "app/VectorPicture.h"

namespace velmar {

namespace {

const char* SourceOf(StatusIcon icon) {
    switch (icon) {
        case IconPending: return ":/velmar/status-pending.svg";
        case IconOk: return ":/velmar/status-ok.svg";
        case IconBad: return ":/velmar/status-bad.svg";
        case IconNA: return ":/velmar/status-na.svg";
        case IconNew: return ":/velmar/status-new.svg";
        case IconMoved: return ":/velmar/status-moved.svg";
    }
    return "";
}

}  // namespace

void StatusPictures::Load(StatusIcon icon) {
    const std::size_t index = Index(icon);
    if (index == Count) return;
    loaded_[index] = true;
    pictures_[index] = {};
}

void StatusPictures::LoadAll() {
    for (StatusIcon icon : {IconPending, IconOk, IconBad, IconNA, IconNew, IconMoved}) Load(icon);
}

const QPixmap& StatusPictures::Picture(StatusIcon icon, qreal ratio) const {
    const std::size_t index = Index(icon);
    QPixmap& picture = pictures_[index];
    if (loaded_[index] && (picture.isNull() || picture.devicePixelRatio() != ratio))
        picture = VectorPicture(QString::fromLatin1(SourceOf(icon)), QSize(Size, Size), ratio);
    return picture;
}

}  // namespace velmar
