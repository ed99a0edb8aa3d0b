#include "platform/qt/OnDiskPath.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QStringList>
#include <optional>

#include "platform/qt/QtText.h"

namespace kestrava::platform {
namespace {

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// The entry of the folder whose name Qt reads as the given text.
std::optional<std::string> EntryReadAs(const std::string& folder, const QString& name) {
    DIR* listing = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (listing == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> found;
    while (const dirent* entry = ::readdir(listing)) {
        if (QString::fromLocal8Bit(entry->d_name) == name) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(listing);
    return found;
}

}  // namespace

std::string OnDiskPath(const QString& path) {
    const std::string asGiven = FromQString(path);
    if (Exists(asGiven) || !path.startsWith(u'/')) {
        return asGiven;
    }
    std::string onDisk;
    for (const QString& part : path.split(u'/', Qt::SkipEmptyParts)) {
        const std::string folder = onDisk;
        onDisk += '/';
        std::string name = FromQString(part);
        if (!Exists(onDisk + name)) {
            name = EntryReadAs(folder, part).value_or(name);
        }
        onDisk += name;
    }
    return onDisk.empty() ? "/" : onDisk;
}

}  // namespace kestrava::platform
