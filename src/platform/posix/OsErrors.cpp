#include "platform/OsErrors.h"

#include <cerrno>

namespace kestrava::platform {

RuntimeError RuntimeErrorFromOs(int osError) {
    using namespace error_number;
    switch (osError) {
        case EACCES:
        case EPERM:
        case EROFS:
        case EBUSY:
            return RuntimeError(PermissionDenied);
        case ENOENT:
        case ENOTDIR:
        case ELOOP:
            return RuntimeError(PathNotFound);
        case ENAMETOOLONG:
        case EINVAL:
            return RuntimeError(BadFileName);
        case EEXIST:
            return RuntimeError(FileAlreadyExists);
        case ENOSPC:
        case EDQUOT:
            return RuntimeError(DiskFull);
        case EMFILE:
        case ENFILE:
            return RuntimeError(TooManyFiles);
        case EIO:
            return RuntimeError(DeviceIoError);
        case ENXIO:
        case ENODEV:
        case ENOMEDIUM:
            return RuntimeError(DeviceUnavailable);
        default:
            return RuntimeError(PathFileAccessError);
    }
}

}  // namespace kestrava::platform
