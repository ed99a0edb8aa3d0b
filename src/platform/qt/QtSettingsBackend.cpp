#include "platform/qt/QtSettingsBackend.h"

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
    return value.isValid() ? FromQString(value.toString()) : defaultValue;
}

void QtSettingsBackend::write(const std::string& application, const std::string& section,
                              const std::string& key, const std::string& value) {
    QSettings settings(QSettings::UserScope, ToQString(application));
    settings.setValue(GroupKey(section, key), ToQString(value));
    settings.sync();
}

}  // namespace kestrava::platform
