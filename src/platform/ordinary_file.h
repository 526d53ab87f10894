#pragma once
// Reading a file named from outside without ever blocking on it: a FIFO,
// device, socket or folder in its place is refused before a byte is read, and
// so is a file larger than the caller's limit.

#include <cstddef>
#include <string>

namespace kxsim::platform {

struct OrdinaryFile {
    enum class Outcome { Read, Missing, NotOrdinary, TooLarge, Unreadable };
    Outcome outcome = Outcome::Missing;
    int error = 0;      ///< errno of a failed open or read
    std::string bytes;  ///< the content when Read
};

/// Reads \a path (as the system takes it) when it is an ordinary file of at
/// most \a maxSize bytes. The open cannot block (O_NONBLOCK, then fstat).
OrdinaryFile readOrdinaryFile(const std::string& path, size_t maxSize);

/// Whether \a path names an ordinary file of at most \a maxSize bytes, checked
/// on an open that cannot block.
bool isOrdinaryFile(const std::string& path, size_t maxSize);

}  // namespace kxsim::platform
