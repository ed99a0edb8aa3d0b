#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/OsErrors.h"
#include "platform/posix/FileDescriptor.h"

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

void PosixFileSystem::readFile(const std::string& path,
                               const std::function<void(std::string_view chunk)>& takeChunk) const {
    // O_NONBLOCK: a FIFO in the file's place must not hang the window.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.isOpen()) {
        throw RuntimeErrorFromOs(errno);
    }
    constexpr std::size_t ChunkSize = 1 << 20;
    const auto buffer = std::make_unique<char[]>(ChunkSize);
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer.get(), ChunkSize);
        if (count > 0) {
            takeChunk({buffer.get(), static_cast<std::size_t>(count)});
        } else if (count == 0) {
            return;
        } else if (errno != EINTR) {
            throw RuntimeErrorFromOs(errno);
        }
    }
}

void PosixFileSystem::removeFile(const std::string& path) {
    if (path.empty() || ::unlink(path.c_str()) != 0) {
        throw RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
}

}  // namespace kestrava::platform
