#pragma once

#include <stdexcept>
#include <string>

namespace zorby {

// The failure numbers the tool knows by name. Everything that can go wrong in the engine or the file
// services is reported as one of these, together with a description for the user.
enum ErrorNumber : int {
    InvalidArgument = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    FileNotFound = 53,
    FileInUse = 55, // another program holds the file open: it cannot be replaced, renamed or deleted now
    DeviceIoError = 57,
    FileAlreadyExists = 58,
    DiskFull = 61,
    PermissionDenied = 70,
    PathFileAccessError = 75,
    PathNotFound = 76,
};

// The standard description shown for a failure number ("Permission denied" for 70, ...).
std::string StandardDescription(int number);

// The one exception type of the engine and the file services.
class Failure : public std::runtime_error {
public:
    // `file`: the path of the file the failure is about, where only the file services know which one
    // it is (of two files a rename touches, the one another program holds open).
    explicit Failure(int number, std::string file = {});

    int Number() const { return number_; }
    const std::string& Description() const { return description_; }
    const std::string& File() const { return file_; }

private:
    int number_;
    std::string description_;
    std::string file_;
};

} // namespace zorby
