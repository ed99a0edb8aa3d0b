#include "platform/qt/QtSettingsBackend.h"

#include <QByteArray>
#include <QSettings>

#include "platform/qt/QtText.h"

namespace kestrava::platform {
namespace {

QString GroupKey(const std::string& section, const std::string& key) {
    return ToQString(section) + u'/' + ToQString(key);
}

}  // namespace

std::string QtSettingsBackend::read(const std::string& application, const std::string& section,
                                    const std::string& key, const std::string& defaultValue) const {
    const QSettings settings(QSettings::UserScope, ToQString(application));
    const QVariant value = settings.value(GroupKey(section, key));
    if (!value.isValid()) {
        return defaultValue;
    }
    if (value.typeId() == QMetaType::QByteArray) {
        return value.toByteArray().toStdString();
    }
    return FromQString(value.toString());
}

// A value that is not valid text (a folder whose name holds such bytes) is kept as the
// bytes it is, which the settings file writes as @ByteArray(...); every other value
// stays plain text in the file, readable by people and by older versions.
void QtSettingsBackend::write(const std::string& application, const std::string& section,
                              const std::string& key, const std::string& value) {
    QSettings settings(QSettings::UserScope, ToQString(application));
    if (IsValidText(value)) {
        settings.setValue(GroupKey(section, key), ToQString(value));
    } else {
        settings.setValue(GroupKey(section, key),
                          QByteArray(value.data(), static_cast<qsizetype>(value.size())));
    }
    settings.sync();
}

}  // namespace kestrava::platform
