#pragma once

#include <QIcon>
#include <QPixmap>

#include "platform/Picture.h"

namespace kestrava::platform {

// A picture backed by Qt: an icon, or a bitmap (which the tray control refuses).
class QtPicture : public Picture {
public:
    explicit QtPicture(QIcon icon) : type_(PictureType::Icon), icon_(std::move(icon)) {}
    explicit QtPicture(const QPixmap& bitmap) : type_(PictureType::Bitmap), icon_(bitmap) {}

    PictureType type() const override { return type_; }

    // What the notification area shows for it.
    const QIcon& icon() const { return icon_; }

private:
    PictureType type_;
    QIcon icon_;
};

}  // namespace kestrava::platform
