// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The one way the library reads a file named from outside. A path is taken
// only when it names an ordinary file (links followed) of at most the
// caller's limit: the path is looked at first, so a FIFO or device is never
// opened; the open cannot block (O_NONBLOCK) and is checked again (fstat), so
// nothing swapped in meanwhile is read; a file that grows past the limit
// while it is read is dropped.

#include <sys/stat.h>

#include <cstdint>
#include <limits>
#include <string>

#include "platform/file_descriptor.h"

namespace kxsim::platform {

/// No size limit: for callers that only ask whether a file is there.
inline constexpr uint64_t kAnyFileSize = std::numeric_limits<uint64_t>::max();

/// What a path gives: Missing when nothing is there (also a dangling link or a
/// path through a non-folder), NotOrdinary for a folder, FIFO, device or
/// socket, TooLarge over the limit, Unreadable when the system refuses (a
/// link loop, no permission; see error).
enum class FileOutcome { Read, Missing, NotOrdinary, TooLarge, Unreadable };

/// A file opened for reading, when outcome is Read.
struct OpenedFile {
    FileOutcome outcome = FileOutcome::Missing;
    int error = 0;          ///< errno when Unreadable
    struct stat status {};  ///< the open file's, when Read
    FileDescriptor fd;
};

/// The content of an ordinary file, when outcome is Read.
struct OrdinaryFile {
    FileOutcome outcome = FileOutcome::Missing;
    int error = 0;          ///< errno when Unreadable
    struct stat status {};  ///< the file's when it was opened, when Read
    std::string bytes;
};

/// What lies at \a path, by its status alone (nothing is opened): Read when
/// it is an ordinary file of at most \a maxSize bytes. \a status is filled
/// when the path could be looked at.
FileOutcome checkOrdinaryFile(const std::string& path, uint64_t maxSize, struct stat* status = nullptr,
                              int* error = nullptr);

/// Opens \a path when checkOrdinaryFile takes it, without blocking, and
/// checks the open file again.
OpenedFile openOrdinaryFile(const std::string& path, uint64_t maxSize);

/// Reads \a path whole when it is an ordinary file of at most \a maxSize
/// bytes; one that grows past the limit while it is read is TooLarge.
OrdinaryFile readOrdinaryFile(const std::string& path, uint64_t maxSize);

/// Whether \a path (as the system takes it, or UTF-16) names an ordinary file
/// of at most \a maxSize bytes.
bool isOrdinaryFile(const std::string& path, uint64_t maxSize = kAnyFileSize);
bool isOrdinaryFile(const std::u16string& path, uint64_t maxSize = kAnyFileSize);

/// Why a file with \a outcome was not read, to follow its name in a message
/// ("is not an ordinary file", "is larger than 1048576 bytes", "cannot be
/// read (Permission denied)"); empty for Read.
std::string whyNotRead(FileOutcome outcome, int error, uint64_t maxSize);

}  // namespace kxsim::platform
