#include "platform/OsErrors.h"

#include <windows.h>

namespace kestrava::platform {

// GetLastError()'s codes, and the registry's status codes, which are the same.
RuntimeError RuntimeErrorFromOs(int osError) {
    using namespace error_number;
    switch (static_cast<DWORD>(osError)) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
        case ERROR_CANT_ACCESS_FILE:
        case ERROR_PRIVILEGE_NOT_HELD:
            return RuntimeError(PermissionDenied);
        case ERROR_FILE_NOT_FOUND:
            return RuntimeError(FileNotFound);
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_CANT_RESOLVE_FILENAME:
            return RuntimeError(PathNotFound);
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_INVALID_PARAMETER:
            return RuntimeError(BadFileName);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return RuntimeError(FileAlreadyExists);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return RuntimeError(DiskFull);
        case ERROR_TOO_MANY_OPEN_FILES:
            return RuntimeError(TooManyFiles);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return RuntimeError(OutOfMemory);
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_IO_DEVICE:
            return RuntimeError(DeviceIoError);
        case ERROR_NOT_READY:
            return RuntimeError(DiskNotReady);
        case ERROR_INVALID_DRIVE:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_UNRECOGNIZED_VOLUME:
            return RuntimeError(DeviceUnavailable);
        default:
            return RuntimeError(PathFileAccessError);
    }
}

}  // namespace kestrava::platform
