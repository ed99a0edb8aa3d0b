#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
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

EntryKind KindOf(mode_t mode) {
    return S_ISDIR(mode) ? EntryKind::Folder : S_ISREG(mode) ? EntryKind::File : EntryKind::Other;
}

// A file's size and time; a folder's or a device's are of no use to anyone here.
void TakeStatus(const struct stat& status, EntryInfo& info) {
    info.kind = KindOf(status.st_mode);
    if (info.kind == EntryKind::File) {
        info.size = static_cast<std::uint64_t>(status.st_size);
        info.modifiedSeconds = status.st_mtim.tv_sec;
    } else if (info.kind == EntryKind::Folder) {
        info.attributes |= attribute::Directory;
    }
}

// One pass over a folder: readdir, and one fstatat relative to the folder for the
// entries whose kind or size it doesn't tell. Folders need no look-up at all, and
// FIFOs, sockets and devices are never opened or looked at, so nothing can block.
class PosixFolderListing : public FolderListing {
public:
    explicit PosixFolderListing(DIR* folder) : folder_(folder), fd_(::dirfd(folder)) {}
    ~PosixFolderListing() override { ::closedir(folder_); }
    PosixFolderListing(const PosixFolderListing&) = delete;
    PosixFolderListing& operator=(const PosixFolderListing&) = delete;

    bool next(FolderEntry& entry) override {
        for (;;) {
            errno = 0;
            const dirent* found = ::readdir(folder_);
            if (found == nullptr) {
                if (errno != 0) {
                    throw RuntimeErrorFromOs(errno);
                }
                return false;
            }
            const char* name = found->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
                continue;
            }
            entry.name = name;
            entry.info = EntryInfo{};
            if (name[0] == '.') {
                entry.info.attributes |= attribute::Hidden;
            }
            if (describe(found->d_type, name, entry.info)) {
                return true;
            }
        }
    }

private:
    // False when the entry vanished before it could be looked at.
    bool describe(unsigned char type, const char* name, EntryInfo& info) const {
        struct stat status {};
        switch (type) {
            case DT_DIR:
                info.kind = EntryKind::Folder;
                info.attributes |= attribute::Directory;
                return true;
            case DT_REG:
                if (::fstatat(fd_, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
                    return errno != ENOENT && keepAsOther(info);
                }
                if (S_ISLNK(status.st_mode)) {
                    return describeLink(name, info);  // replaced since the folder was read
                }
                TakeStatus(status, info);
                return true;
            case DT_LNK:
                return describeLink(name, info);
            case DT_UNKNOWN:  // file systems that don't keep the kind in the folder
                if (::fstatat(fd_, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
                    return errno != ENOENT && keepAsOther(info);
                }
                if (S_ISLNK(status.st_mode)) {
                    return describeLink(name, info);
                }
                TakeStatus(status, info);
                return true;
            default:
                info.kind = EntryKind::Other;
                return true;
        }
    }

    // A link is taken as what it points to; a dangling or looping link is Other.
    bool describeLink(const char* name, EntryInfo& info) const {
        info.attributes |= attribute::ReparsePoint;
        struct stat target {};
        if (::fstatat(fd_, name, &target, 0) != 0) {
            return keepAsOther(info);
        }
        TakeStatus(target, info);
        return true;
    }

    static bool keepAsOther(EntryInfo& info) {
        info.kind = EntryKind::Other;
        return true;
    }

    DIR* folder_;
    int fd_;
};

// Undoes a partly written append, so that a failed chunk leaves no half line behind.
void CutBack(int fd, off_t length) {
    if (length >= 0) {
        [[maybe_unused]] const int ignored = ::ftruncate(fd, length);
    }
}

}  // namespace

EntryInfo PosixFileSystem::pathInfo(const std::string& path) const {
    struct stat target {};
    if (path.empty() || ::stat(path.c_str(), &target) != 0) {
        throw RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
    EntryInfo info;
    info.kind = KindOf(target.st_mode);
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

std::unique_ptr<FolderListing> PosixFileSystem::listFolder(const std::string& path) const {
    // O_DIRECTORY refuses anything but a folder before opening it, so a FIFO named
    // here can't block the open.
    const int fd =
        path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
    DIR* folder = ::fdopendir(fd);
    if (folder == nullptr) {
        const int error = errno;
        ::close(fd);
        throw RuntimeErrorFromOs(error);
    }
    return std::make_unique<PosixFolderListing>(folder);
}

void PosixFileSystem::appendToFile(const std::string& path, std::string_view bytes) {
    // O_NONBLOCK: a FIFO put where the log belongs fails instead of waiting for a reader.
    const int fd = path.empty()
                       ? -1
                       : ::open(path.c_str(),
                                O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC | O_NOCTTY,
                                S_IRUSR | S_IWUSR);
    if (fd < 0) {
        throw RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
    struct stat before {};
    const off_t startLength =
        ::fstat(fd, &before) == 0 && S_ISREG(before.st_mode) ? before.st_size : off_t{-1};
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            CutBack(fd, startLength);
            ::close(fd);
            throw RuntimeErrorFromOs(error);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::close(fd) != 0 && errno != EINTR) {
        throw RuntimeErrorFromOs(errno);
    }
}

void PosixFileSystem::removeFile(const std::string& path) {
    if (path.empty() || ::unlink(path.c_str()) != 0) {
        throw RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
}

}  // namespace kestrava::platform
