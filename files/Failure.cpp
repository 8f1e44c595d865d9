#include "Failure.h"

namespace zorby {

std::string StandardDescription(int number) {
    switch (number) {
    case InvalidArgument:
        return "Invalid procedure call or argument";
    case Overflow:
        return "Overflow";
    case OutOfMemory:
        return "Out of memory";
    case SubscriptOutOfRange:
        return "Subscript out of range";
    case FileNotFound:
        return "File not found";
    case FileInUse:
        return "File already open";
    case DeviceIoError:
        return "Device I/O error";
    case FileAlreadyExists:
        return "File already exists";
    case DiskFull:
        return "Disk full";
    case PermissionDenied:
        return "Permission denied";
    case PathFileAccessError:
        return "Path/File access error";
    case PathNotFound:
        return "Path not found";
    default:
        return "Application-defined or object-defined error";
    }
}

Failure::Failure(int number, std::string file)
    : std::runtime_error(std::to_string(number) + ": " + StandardDescription(number)), number_(number),
      description_(StandardDescription(number)), file_(std::move(file)) {}

} // namespace zorby
