#include "ui/qt/CursorFile.h"

#include <QFile>
#include <QPixmap>
#include <QtEndian>

#include "platform/RuntimeError.h"
#include "platform/qt/QtText.h"

namespace kestrava::ui::qt {
namespace {

// A .cur file starts with a 6-byte header (reserved 0, type 2) and a directory whose
// first entry holds the hotspot at bytes 10 and 12, little-endian.
constexpr qsizetype HeaderAndFirstEntry = 22;

QPoint HotspotOf(const QByteArray& file) {
    const auto* bytes = reinterpret_cast<const uchar*>(file.constData());
    return {qFromLittleEndian<quint16>(bytes + 10), qFromLittleEndian<quint16>(bytes + 12)};
}

bool IsCursorFile(const QByteArray& file) {
    const auto* bytes = reinterpret_cast<const uchar*>(file.constData());
    return file.size() >= HeaderAndFirstEntry && qFromLittleEndian<quint16>(bytes) == 0 &&
           qFromLittleEndian<quint16>(bytes + 2) == 2;
}

}  // namespace

QCursor LoadCursorFile(const std::string& path) {
    QFile file(platform::ToQString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        throw platform::RuntimeError(platform::error_number::FileNotFound);
    }
    const QByteArray content = file.readAll();
    QPixmap image;
    if (!IsCursorFile(content) || !image.loadFromData(content, "CUR")) {
        throw platform::RuntimeError(platform::error_number::InvalidPicture);
    }
    // Qt reads the image but not the hotspot, so it is taken from the file here.
    const QPoint hotspot = HotspotOf(content);
    return QCursor(image, hotspot.x(), hotspot.y());
}

}  // namespace kestrava::ui::qt
