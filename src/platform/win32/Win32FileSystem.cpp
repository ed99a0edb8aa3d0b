#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/win32/FilesElsewhere.h"
#include "platform/win32/LastError.h"
#include "platform/win32/OwnedHandle.h"
#include "platform/win32/Utf16.h"

namespace kestrava::platform {
namespace {

// The attributes the program knows of; the others (not content-indexed, sparse,
// offline, ...) would only keep a folder of the system's (22: hidden, system) from
// being recognised by its exact value.
constexpr DWORD ReportedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT |
                                     FILE_ATTRIBUTE_COMPRESSED;

// 100-nanosecond ticks between 1601-01-01 and 1970-01-01, both UTC.
constexpr std::int64_t TicksBefore1970 = 116444736000000000;
constexpr std::int64_t TicksPerSecond = 10000000;

std::int64_t SecondsSince1970(const FILETIME& time) {
    const auto ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    const std::int64_t since1970 = ticks - TicksBefore1970;
    const std::int64_t seconds = since1970 / TicksPerSecond;
    return since1970 % TicksPerSecond < 0 ? seconds - 1 : seconds;
}

std::uint64_t SizeOf(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// A file as the listing or look-up describes it, with its size and time.
EntryInfo ListedFile(EntryInfo info, const FILETIME& lastWrite, DWORD sizeHigh, DWORD sizeLow) {
    info.kind = EntryKind::File;
    info.size = SizeOf(sizeHigh, sizeLow);
    info.modifiedSeconds = SecondsSince1970(lastWrite);
    return info;
}

// What an entry is, from the attributes, size and time that a listing or a look-up
// gave for it. A file is opened to see that it can be; a link to a file carries its
// target's size and time, read from the open handle. A file whose data is elsewhere is
// never opened, since the open could fetch it all or fail; nor is one left out because
// its cloud provider refused the open: both are there, as the listing says.
EntryInfo Describe(const Win32FileCalls& calls, const std::wstring& path, DWORD attributes,
                   const FILETIME& lastWrite, DWORD sizeHigh, DWORD sizeLow) {
    EntryInfo info;
    info.attributes = attributes & ReportedAttributes;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        info.kind = EntryKind::Folder;
        return info;
    }
    if (DataIsElsewhere(attributes)) {
        return ListedFile(info, lastWrite, sizeHigh, sizeLow);
    }
    const OwnedHandle file(calls.openForNoAccess(path));
    if (!file.isOpen()) {
        if (IsCloudFileError(::GetLastError())) {
            return ListedFile(info, lastWrite, sizeHigh, sizeLow);
        }
        info.kind = EntryKind::Other;
        return info;
    }
    BY_HANDLE_FILE_INFORMATION target{};
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        ::GetFileInformationByHandle(file.get(), &target)) {
        return ListedFile(info, target.ftLastWriteTime, target.nFileSizeHigh, target.nFileSizeLow);
    }
    return ListedFile(info, lastWrite, sizeHigh, sizeLow);
}

std::wstring WithSeparator(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
        folder += L'\\';
    }
    return folder;
}

bool IsDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// One pass over a folder with FindFirstFileExW: names, attributes, sizes and times come
// in the same records, fetched many at a time.
class Win32FolderListing : public FolderListing {
public:
    // An empty listing: a drive's root folder that holds nothing has not even "." in it.
    Win32FolderListing(const Win32FileCalls& calls, std::wstring folder)
        : calls_(calls), folder_(std::move(folder)) {}

    Win32FolderListing(const Win32FileCalls& calls, std::wstring folder, HANDLE search,
                       const WIN32_FIND_DATAW& first)
        : calls_(calls),
          folder_(std::move(folder)),
          search_(search),
          record_(first),
          pending_(true) {}

    ~Win32FolderListing() override {
        if (search_ != INVALID_HANDLE_VALUE) {
            ::FindClose(search_);
        }
    }
    Win32FolderListing(const Win32FolderListing&) = delete;
    Win32FolderListing& operator=(const Win32FolderListing&) = delete;

    bool next(FolderEntry& entry) override {
        for (;;) {
            if (search_ == INVALID_HANDLE_VALUE) {
                return false;
            }
            if (!pending_ && !calls_.findNext(search_, record_)) {
                if (::GetLastError() == ERROR_NO_MORE_FILES) {
                    return false;
                }
                throw LastOsError();
            }
            pending_ = false;
            if (IsDotOrDotDot(record_.cFileName)) {
                continue;
            }
            name_ = FromUtf16(record_.cFileName);
            entry.name = name_;
            entry.info =
                Describe(calls_, folder_ + record_.cFileName, record_.dwFileAttributes,
                         record_.ftLastWriteTime, record_.nFileSizeHigh, record_.nFileSizeLow);
            return true;
        }
    }

private:
    const Win32FileCalls& calls_;
    std::wstring folder_;  // ends in a separator
    HANDLE search_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW record_{};
    bool pending_ = false;  // record_ holds an entry that next() has not handed out
    std::string name_;
};

// Windows' locks keep others from reading and writing the bytes they cover, so the
// appenders' lock covers one byte far beyond any file's end, which no reader reaches.
OVERLAPPED AppendersLockedByte() {
    OVERLAPPED lockedByte{};
    lockedByte.Offset = 0xFFFFFFFE;
    lockedByte.OffsetHigh = 0x7FFFFFFF;
    return lockedByte;
}

// Whether a LockFileEx that failed at once did so because another handle holds the lock.
bool LockHeldElsewhere() {
    const DWORD error = ::GetLastError();
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING;
}

class Win32ReadableFile : public ReadableFile {
public:
    Win32ReadableFile(OwnedHandle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}

    std::uint64_t size() const override { return size_; }

    bool lockForReading() override {
        OVERLAPPED lockedByte = AppendersLockedByte();
        if (!::LockFileEx(file_.get(), LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &lockedByte)) {
            if (LockHeldElsewhere()) {
                return false;
            }
            throw LastOsError();
        }
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file_.get(), &size)) {
            throw LastOsError();
        }
        size_ = static_cast<std::uint64_t>(size.QuadPart);
        return true;
    }

    // Each read names its own offset (OVERLAPPED on a synchronous handle), so that reads
    // never depend on where the last one left the file pointer.
    std::size_t readAt(std::uint64_t offset, std::span<char> buffer) const override {
        std::size_t filled = 0;
        while (filled < buffer.size()) {
            const std::uint64_t at = offset + filled;
            OVERLAPPED position{};
            position.Offset = static_cast<DWORD>(at);
            position.OffsetHigh = static_cast<DWORD>(at >> 32);
            const auto wanted =
                static_cast<DWORD>(std::min<std::size_t>(buffer.size() - filled, 1u << 30));
            DWORD count = 0;
            if (!::ReadFile(file_.get(), buffer.data() + filled, wanted, &count, &position)) {
                if (::GetLastError() == ERROR_HANDLE_EOF) {
                    break;
                }
                throw LastOsError();
            }
            if (count == 0) {
                break;
            }
            filled += count;
        }
        return filled;
    }

private:
    OwnedHandle file_;
    std::uint64_t size_;
};

bool IsAbsolute(std::string_view path) {
    const auto separator = [&](std::size_t at) {
        return at < path.size() && (path[at] == '\\' || path[at] == '/');
    };
    const bool drive = path.size() >= 2 && path[1] == ':' && separator(2);
    return drive || (separator(0) && separator(1));
}

// Gives back what a failed append wrote, so that no half chunk stays in the log. The
// handle appends only; cutting needs write access, asked for on the same file.
void CutBack(HANDLE file, std::uint64_t length) {
    const OwnedHandle writer(::ReOpenFile(file, GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          FILE_FLAG_OPEN_REPARSE_POINT));
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(length);
    if (writer.isOpen() && ::SetFilePointerEx(writer.get(), end, nullptr, FILE_BEGIN)) {
        ::SetEndOfFile(writer.get());
    }
}

class Win32AppendingFile : public AppendingFile {
public:
    explicit Win32AppendingFile(OwnedHandle file) : file_(std::move(file)) {}

    // FILE_APPEND_DATA: each write lands at the end, wherever another program left it.
    void append(std::string_view bytes) override {
        LARGE_INTEGER before{};
        if (!::GetFileSizeEx(file_.get(), &before)) {
            throw LastOsError();
        }
        while (!bytes.empty()) {
            const auto piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            const bool wrote = ::WriteFile(file_.get(), bytes.data(), piece, &written, nullptr);
            if (!wrote || written == 0) {
                const RuntimeError failure =
                    wrote ? RuntimeError(error_number::DiskFull) : LastOsError();
                CutBack(file_.get(), static_cast<std::uint64_t>(before.QuadPart));
                throw failure;
            }
            bytes.remove_prefix(written);
        }
    }

    std::string tail(std::size_t bytes) const override {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file_.get(), &size)) {
            throw LastOsError();
        }
        const auto end = static_cast<std::uint64_t>(size.QuadPart);
        std::string last(static_cast<std::size_t>(std::min<std::uint64_t>(bytes, end)), '\0');
        const std::uint64_t at = end - last.size();
        OVERLAPPED position{};
        position.Offset = static_cast<DWORD>(at);
        position.OffsetHigh = static_cast<DWORD>(at >> 32);
        DWORD read = 0;
        if (!last.empty() && !::ReadFile(file_.get(), last.data(), static_cast<DWORD>(last.size()),
                                         &read, &position)) {
            throw LastOsError();
        }
        last.resize(read);
        return last;
    }

private:
    OwnedHandle file_;
};

}  // namespace

EntryInfo Win32FileSystem::pathInfo(const std::string& path) const {
    if (path.empty()) {
        throw RuntimeError(error_number::PathNotFound);
    }
    const std::wstring wide = ToUtf16(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
        throw LastOsError();
    }
    return Describe(calls_, wide, data.dwFileAttributes, data.ftLastWriteTime, data.nFileSizeHigh,
                    data.nFileSizeLow);
}

void Win32FileSystem::readFile(const std::string& path,
                               const std::function<void(std::string_view chunk)>& takeChunk) const {
    const OwnedHandle file(::CreateFileW(
        ToUtf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.isOpen()) {
        throw LastOsError();
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info)) {
        throw LastOsError();
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        throw RuntimeError(error_number::PathNotFound);  // a link in the file's place
    }
    constexpr DWORD ChunkSize = 1 << 20;
    const auto buffer = std::make_unique<char[]>(ChunkSize);
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(file.get(), buffer.get(), ChunkSize, &count, nullptr)) {
            throw LastOsError();
        }
        if (count == 0) {
            return;
        }
        takeChunk({buffer.get(), count});
    }
}

std::unique_ptr<ReadableFile> Win32FileSystem::openForReading(const std::string& path) const {
    if (path.empty()) {
        throw RuntimeError(error_number::PathNotFound);
    }
    OwnedHandle file(::CreateFileW(ToUtf16(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) {
        throw LastOsError();
    }
    // A pipe or a device (CON, NUL) opens like a file but is none.
    LARGE_INTEGER size{};
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        throw RuntimeError(error_number::PathFileAccessError);
    }
    if (!::GetFileSizeEx(file.get(), &size)) {
        throw LastOsError();
    }
    return std::make_unique<Win32ReadableFile>(std::move(file),
                                               static_cast<std::uint64_t>(size.QuadPart));
}

std::string Win32FileSystem::absolutePath(const std::string& path) const {
    if (IsAbsolute(path)) {
        return path;
    }
    const std::wstring wide = ToUtf16(path);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            throw LastOsError();
        }
        if (length < full.size()) {
            full.resize(length);
            return FromUtf16(full);
        }
        full.resize(length);
    }
}

std::unique_ptr<FolderListing> Win32FileSystem::listFolder(const std::string& path) const {
    if (path.empty()) {
        throw RuntimeError(error_number::PathNotFound);
    }
    std::wstring folder = WithSeparator(ToUtf16(path));
    WIN32_FIND_DATAW first{};
    const HANDLE search = calls_.findFirst(folder + L'*', first);
    if (search == INVALID_HANDLE_VALUE) {
        // "folder\*" names the folder's entries: nothing found means nothing there.
        if (::GetLastError() == ERROR_FILE_NOT_FOUND) {
            return std::make_unique<Win32FolderListing>(calls_, std::move(folder));
        }
        throw LastOsError();
    }
    return std::make_unique<Win32FolderListing>(calls_, std::move(folder), search, first);
}

std::unique_ptr<AppendingFile> Win32FileSystem::openForAppending(const std::string& path) {
    if (path.empty()) {
        throw RuntimeError(error_number::PathNotFound);
    }
    // A program that deletes the file while another waits for its lock leaves the
    // waiter holding a file on its way out: the lock is taken again on a new one.
    for (;;) {
        // Deleting is shared, so that "Clear History Log" is never refused by another
        // program's entry under way; that entry then goes with the file.
        OwnedHandle file(::CreateFileW(
            ToUtf16(path).c_str(), FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file.isOpen()) {
            throw LastOsError();
        }
        BY_HANDLE_FILE_INFORMATION information{};
        if (!::GetFileInformationByHandle(file.get(), &information) ||
            (information.dwFileAttributes &
             (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
            throw RuntimeError(error_number::PermissionDenied);
        }
        OVERLAPPED lockedByte = AppendersLockedByte();
        if (!::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                          &lockedByte)) {
            if (LockHeldElsewhere()) {
                return nullptr;
            }
            throw LastOsError();
        }
        FILE_STANDARD_INFO standard{};
        if (::GetFileInformationByHandleEx(file.get(), FileStandardInfo, &standard,
                                           sizeof standard) &&
            !standard.DeletePending) {
            return std::make_unique<Win32AppendingFile>(std::move(file));
        }
    }
}

void Win32FileSystem::removeFile(const std::string& path) {
    if (path.empty()) {
        throw RuntimeError(error_number::PathNotFound);
    }
    const std::wstring wide = ToUtf16(path);
    if (::DeleteFileW(wide.c_str())) {
        return;
    }
    const RuntimeError refusal = LastOsError();
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (refusal.number() != error_number::PermissionDenied ||
        attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) !=
            FILE_ATTRIBUTE_READONLY) {
        throw refusal;
    }
    if (!::SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
        throw refusal;
    }
    if (!::DeleteFileW(wide.c_str())) {
        const RuntimeError failure = LastOsError();
        ::SetFileAttributesW(wide.c_str(), attributes);
        throw failure;
    }
}

namespace {

class Win32NewFile : public NewFile {
public:
    explicit Win32NewFile(OwnedHandle file) : file_(std::move(file)) {}

    void write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
            DWORD written = 0;
            if (!::WriteFile(file_.get(), bytes.data(), piece, &written, nullptr)) {
                throw LastOsError();
            }
            bytes.remove_prefix(written);
        }
    }

    void flushToDisk() override {
        if (!::FlushFileBuffers(file_.get())) {
            throw LastOsError();
        }
    }

private:
    OwnedHandle file_;
};

// A virus scanner or an indexer that opened the file a moment ago refuses its replace
// with these, and lets go soon.
bool HeldUpForAMoment(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

}  // namespace

std::unique_ptr<NewFile> Win32FileSystem::createFile(const std::string& path) {
    OwnedHandle file(::CreateFileW(ToUtf16(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.isOpen()) {
        throw LastOsError();
    }
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        throw RuntimeError(error_number::PermissionDenied);
    }
    return std::make_unique<Win32NewFile>(std::move(file));
}

void Win32FileSystem::replaceFile(const std::string& from, const std::string& to) {
    constexpr auto Patience = std::chrono::seconds(2);
    constexpr auto Retry = std::chrono::milliseconds(50);
    const std::wstring source = ToUtf16(from);
    const std::wstring target = ToUtf16(to);
    // A file that is open (the log, which its writers' lock holds open while it is cut)
    // can't be renamed over; ReplaceFileW moves it aside first, which its sharing allows.
    // Aside under a name of ours rather than one made up for it: a replace stopped there
    // leaves a file the next replace of the same file takes the place of and deletes.
    const std::wstring aside = target + L".replaced";
    const auto givingUp = std::chrono::steady_clock::now() + Patience;
    const auto replace = [&] {
        if (::MoveFileExW(source.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        if (!HeldUpForAMoment(::GetLastError()) ||
            !::ReplaceFileW(target.c_str(), source.c_str(), aside.c_str(),
                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            return false;
        }
        // Still open, it goes once its last handle is closed.
        ::DeleteFileW(aside.c_str());
        return true;
    };
    while (!replace()) {
        if (!HeldUpForAMoment(::GetLastError()) || std::chrono::steady_clock::now() >= givingUp) {
            throw LastOsError();
        }
        std::this_thread::sleep_for(Retry);
    }
}

}  // namespace kestrava::platform
