#include "platform/RuntimeError.h"

#include <utility>

namespace kestrava::platform {

RuntimeError::RuntimeError(int number) : RuntimeError(number, StandardDescription(number)) {}

RuntimeError::RuntimeError(int number, std::string description)
    : number_(number), description_(std::move(description)) {}

std::string StandardDescription(int number) {
    using namespace error_number;
    switch (number) {
        case InvalidProcedureCall:
            return "Invalid procedure call or argument";
        case Overflow:
            return "Overflow";
        case OutOfMemory:
            return "Out of memory";
        case SubscriptOutOfRange:
            return "Subscript out of range";
        case TypeMismatch:
            return "Type mismatch";
        case ObjectNotSet:
            return "Object variable or With block variable not set";
        case BadFileName:
            return "Bad file name or number";
        case FileNotFound:
            return "File not found";
        case DeviceIoError:
            return "Device I/O error";
        case FileAlreadyExists:
            return "File already exists";
        case DiskFull:
            return "Disk full";
        case TooManyFiles:
            return "Too many files";
        case DeviceUnavailable:
            return "Device unavailable";
        case PermissionDenied:
            return "Permission denied";
        case DiskNotReady:
            return "Disk not ready";
        case PathFileAccessError:
            return "Path/File access error";
        case PathNotFound:
            return "Path not found";
        case InvalidPropertyValue:
            return "Invalid property value";
        case CantOpenClipboard:
            return "Can't open Clipboard";
        case InvalidPicture:
            return "Invalid picture";
        case IndexOutOfBounds:
            return "Index out of bounds";
        default:
            return "Application-defined or object-defined error";
    }
}

}  // namespace kestrava::platform
