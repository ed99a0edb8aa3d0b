#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
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

// A folder's raw entries, name and kind. On Linux they come straight from getdents64
// into a buffer of our own: opening the folder through fdopendir for readdir costs
// three more system calls per folder (two fcntl and an fstat), a fifth of all the
// calls of a walk.
#if defined(__linux__)
class EntryReader {
public:
    explicit EntryReader(int fd)
        : fd_(fd), buffer_(std::make_unique_for_overwrite<char[]>(BufferSize)) {}
    ~EntryReader() { ::close(fd_); }
    EntryReader(const EntryReader&) = delete;
    EntryReader& operator=(const EntryReader&) = delete;

    int fd() const { return fd_; }

    // The next entry's name, nullptr at the end.
    const char* next(unsigned char& type) {
        if (at_ >= filled_) {
            const ssize_t got = ::getdents64(fd_, buffer_.get(), BufferSize);
            if (got < 0) {
                throw RuntimeErrorFromOs(errno);
            }
            if (got == 0) {
                return nullptr;
            }
            filled_ = static_cast<std::size_t>(got);
            at_ = 0;
        }
        const auto* record = reinterpret_cast<const struct dirent64*>(buffer_.get() + at_);
        at_ += record->d_reclen;
        type = record->d_type;
        return record->d_name;
    }

private:
    static constexpr std::size_t BufferSize = 32 * 1024;

    int fd_;
    std::unique_ptr<char[]> buffer_;
    std::size_t filled_ = 0;
    std::size_t at_ = 0;
};
#else
class EntryReader {
public:
    explicit EntryReader(int fd) : folder_(::fdopendir(fd)) {
        if (folder_ == nullptr) {
            const int error = errno;
            ::close(fd);
            throw RuntimeErrorFromOs(error);
        }
    }
    ~EntryReader() { ::closedir(folder_); }
    EntryReader(const EntryReader&) = delete;
    EntryReader& operator=(const EntryReader&) = delete;

    int fd() const { return ::dirfd(folder_); }

    const char* next(unsigned char& type) {
        errno = 0;
        const dirent* found = ::readdir(folder_);
        if (found == nullptr) {
            if (errno != 0) {
                throw RuntimeErrorFromOs(errno);
            }
            return nullptr;
        }
        type = found->d_type;
        return found->d_name;
    }

private:
    DIR* folder_;
};
#endif

// One pass over a folder: its entries, and one fstatat relative to the folder for the
// entries whose kind or size they don't tell. Folders need no look-up at all, and
// FIFOs, sockets and devices are never opened or looked at, so nothing can block.
class PosixFolderListing : public FolderListing {
public:
    explicit PosixFolderListing(int fd) : reader_(fd), fd_(reader_.fd()) {}

    bool next(FolderEntry& entry) override {
        for (;;) {
            unsigned char type = DT_UNKNOWN;
            const char* name = reader_.next(type);
            if (name == nullptr) {
                return false;
            }
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
                continue;
            }
            entry.name = name;
            entry.info = EntryInfo{};
            if (name[0] == '.') {
                entry.info.attributes |= attribute::Hidden;
            }
            if (describe(type, name, entry.info)) {
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
            case DT_LNK:
                return describeLink(name, info);
            case DT_REG:
            case DT_UNKNOWN:  // file systems that don't keep the kind in the folder
                if (::fstatat(fd_, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
                    return errno != ENOENT && keepAsOther(info);
                }
                if (S_ISLNK(status.st_mode)) {
                    return describeLink(name, info);  // or replaced since the folder was read
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

    EntryReader reader_;
    int fd_;
};

class PosixReadableFile : public ReadableFile {
public:
    PosixReadableFile(int fd, std::uint64_t size) : file_(fd), size_(size) {}

    std::uint64_t size() const override { return size_; }

    bool lockForReading() override {
        if (::flock(file_.get(), LOCK_SH | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) {
                return false;
            }
            throw RuntimeErrorFromOs(errno);
        }
        struct stat status {};
        if (::fstat(file_.get(), &status) != 0) {
            throw RuntimeErrorFromOs(errno);
        }
        size_ = static_cast<std::uint64_t>(status.st_size);
        return true;
    }

    std::size_t readAt(std::uint64_t offset, std::span<char> buffer) const override {
        std::size_t filled = 0;
        while (filled < buffer.size()) {
            const ssize_t count =
                ::pread(file_.get(), buffer.data() + filled, buffer.size() - filled,
                        static_cast<off_t>(offset + filled));
            if (count > 0) {
                filled += static_cast<std::size_t>(count);
            } else if (count == 0) {
                break;
            } else if (errno != EINTR) {
                throw RuntimeErrorFromOs(errno);
            }
        }
        return filled;
    }

private:
    FileDescriptor file_;
    std::uint64_t size_;
};

// Undoes a partly written append, so that a failed chunk leaves no half line behind.
void CutBack(int fd, off_t length) {
    [[maybe_unused]] const int ignored = ::ftruncate(fd, length);
}

// Opens the file for appending, creating it for its owner alone; refuses anything but a
// plain file of the user's own.
FileDescriptor OpenOwnPlainFile(const std::string& path) {
    // O_NONBLOCK: a FIFO put where the log belongs fails instead of waiting for a reader.
    // O_NOFOLLOW: a link planted in its place would lead the lines anywhere.
    FileDescriptor file(path.empty() ? -1
                                     : ::open(path.c_str(),
                                              O_RDWR | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC |
                                                  O_NOCTTY | O_NOFOLLOW,
                                              S_IRUSR | S_IWUSR));
    if (!file.isOpen()) {
        throw errno == ELOOP ? RuntimeError(error_number::PermissionDenied)
                             : RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_uid != ::geteuid()) {
        throw RuntimeError(error_number::PermissionDenied);
    }
    return file;
}

bool StillNamedBy(int fd, const std::string& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

class PosixAppendingFile : public AppendingFile {
public:
    explicit PosixAppendingFile(FileDescriptor file) : file_(std::move(file)) {}

    int descriptor() const { return file_.get(); }

    void append(std::string_view bytes) override {
        struct stat before {};
        if (::fstat(file_.get(), &before) != 0) {
            throw RuntimeErrorFromOs(errno);
        }
        while (!bytes.empty()) {
            const ssize_t written = ::write(file_.get(), bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                const int error = errno;
                CutBack(file_.get(), before.st_size);
                throw RuntimeErrorFromOs(error);
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    std::string tail(std::size_t bytes) const override {
        struct stat status {};
        if (::fstat(file_.get(), &status) != 0) {
            throw RuntimeErrorFromOs(errno);
        }
        const auto size = static_cast<std::size_t>(status.st_size);
        std::string last(std::min(bytes, size), '\0');
        const ssize_t read =
            ::pread(file_.get(), last.data(), last.size(), static_cast<off_t>(size - last.size()));
        if (read < 0) {
            throw RuntimeErrorFromOs(errno);
        }
        last.resize(static_cast<std::size_t>(read));
        return last;
    }

private:
    FileDescriptor file_;
};

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

void PosixFileSystem::readFile(const std::string& path,
                               const std::function<void(std::string_view chunk)>& takeChunk) const {
    // O_NONBLOCK: a FIFO in the file's place must not hang the window.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
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

std::unique_ptr<ReadableFile> PosixFileSystem::openForReading(const std::string& path) const {
    // O_NONBLOCK: a FIFO in the file's place opens at once and is then refused.
    FileDescriptor file(path.empty() ? -1
                                     : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.isOpen()) {
        throw RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        throw RuntimeErrorFromOs(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        throw RuntimeError(error_number::PathFileAccessError);
    }
    return std::make_unique<PosixReadableFile>(file.release(),
                                               static_cast<std::uint64_t>(status.st_size));
}

std::string PosixFileSystem::absolutePath(const std::string& path) const {
    if (path.starts_with('/')) {
        return path;
    }
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (error) {
        throw RuntimeErrorFromOs(error.value());
    }
    return (current / path).lexically_normal().string();
}

std::unique_ptr<FolderListing> PosixFileSystem::listFolder(const std::string& path) const {
    // O_DIRECTORY refuses anything but a folder before opening it, so a FIFO named
    // here can't block the open.
    const int fd =
        path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
    return std::make_unique<PosixFolderListing>(fd);
}

std::unique_ptr<AppendingFile> PosixFileSystem::openForAppending(const std::string& path) {
    // A program that deletes or replaces the file while another waits for its lock
    // leaves the waiter holding a file that no longer has the name: the lock is taken
    // again on what the name holds now.
    for (;;) {
        auto file = std::make_unique<PosixAppendingFile>(OpenOwnPlainFile(path));
        if (::flock(file->descriptor(), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) {
                return nullptr;
            }
            throw RuntimeErrorFromOs(errno);
        }
        if (StillNamedBy(file->descriptor(), path)) {
            return file;
        }
    }
}

namespace {

class PosixNewFile : public NewFile {
public:
    explicit PosixNewFile(FileDescriptor file) : file_(std::move(file)) {}

    void write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(file_.get(), bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw RuntimeErrorFromOs(errno);
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    void flushToDisk() override {
        if (::fsync(file_.get()) != 0) {
            throw RuntimeErrorFromOs(errno);
        }
    }

private:
    FileDescriptor file_;
};

}  // namespace

std::unique_ptr<NewFile> PosixFileSystem::createFile(const std::string& path) {
    FileDescriptor file(path.empty() ? -1
                                     : ::open(path.c_str(),
                                              O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK |
                                                  O_CLOEXEC | O_NOCTTY | O_NOFOLLOW,
                                              S_IRUSR | S_IWUSR));
    if (!file.isOpen()) {
        throw errno == ELOOP ? RuntimeError(error_number::PermissionDenied)
                             : RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        throw RuntimeError(error_number::PermissionDenied);
    }
    return std::make_unique<PosixNewFile>(std::move(file));
}

void PosixFileSystem::replaceFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        throw RuntimeErrorFromOs(errno);
    }
    // The new name lasts through a power loss once the folder that holds it is written.
    const auto slash = to.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : to.substr(0, slash + 1);
    const FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.isOpen()) {
        ::fsync(directory.get());
    }
}

void PosixFileSystem::removeFile(const std::string& path) {
    if (path.empty() || ::unlink(path.c_str()) != 0) {
        throw RuntimeErrorFromOs(path.empty() ? ENOENT : errno);
    }
}

}  // namespace kestrava::platform
