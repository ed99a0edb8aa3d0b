#include "platform/posix/PosixFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/OsErrors.h"

namespace kestrava::platform {
namespace {

bool NameIsHidden(const std::string& path) {
    const auto slash = path.find_last_of('/', path.size() > 1 ? path.size() - 2 : 0);
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    return nameStart < path.size() && path[nameStart] == '.';
}

}  // namespace

EntryInfo PosixFileSystem::pathInfo(const std::string& path) const {
    struct stat target {};
    if (path.empty() || ::stat(path.c_str(), &target) != 0) {
        throw RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
    EntryInfo info;
    info.kind = S_ISDIR(target.st_mode)   ? EntryKind::Folder
                : S_ISREG(target.st_mode) ? EntryKind::File
                                          : EntryKind::Other;
    info.size = static_cast<std::uint64_t>(target.st_size);
    info.modifiedSeconds = target.st_mtim.tv_sec;
    if (info.kind == EntryKind::Folder) {
        info.attributes |= attribute::Directory;
    }
    if (NameIsHidden(path)) {
        info.attributes |= attribute::Hidden;
    }
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        info.attributes |= attribute::ReparsePoint;
    }
    return info;
}

void PosixFileSystem::removeFile(const std::string& path) {
    if (path.empty() || ::unlink(path.c_str()) != 0) {
        throw RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
}

}  // namespace kestrava::platform
