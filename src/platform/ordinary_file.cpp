// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/ordinary_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/text_codec.h"

namespace kxsim::platform {
namespace {

bool absent(int error) { return error == ENOENT || error == ENOTDIR; }

FileOutcome outcomeOf(const struct stat& st, uint64_t maxSize) {
    if (!S_ISREG(st.st_mode)) return FileOutcome::NotOrdinary;
    if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > maxSize) return FileOutcome::TooLarge;
    return FileOutcome::Read;
}

}  // namespace

FileOutcome checkOrdinaryFile(const std::string& path, uint64_t maxSize, struct stat* status, int* error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int e = errno;
        if (error) *error = e;
        return absent(e) ? FileOutcome::Missing : FileOutcome::Unreadable;
    }
    if (status) *status = st;
    return outcomeOf(st, maxSize);
}

OpenedFile openOrdinaryFile(const std::string& path, uint64_t maxSize) {
    OpenedFile file;
    file.outcome = checkOrdinaryFile(path, maxSize, nullptr, &file.error);
    if (file.outcome != FileOutcome::Read) return file;
    // O_NONBLOCK: a FIFO swapped in after the look must not block the open.
    file.fd.reset(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.fd.get() < 0 || ::fstat(file.fd.get(), &file.status) != 0) {
        file.error = errno;
        file.outcome = absent(file.error) ? FileOutcome::Missing : FileOutcome::Unreadable;
    } else {
        file.outcome = outcomeOf(file.status, maxSize);
    }
    if (file.outcome != FileOutcome::Read) file.fd.reset();
    return file;
}

OrdinaryFile readOrdinaryFile(const std::string& path, uint64_t maxSize) {
    OpenedFile opened = openOrdinaryFile(path, maxSize);
    OrdinaryFile file{opened.outcome, opened.error, opened.status, {}};
    if (file.outcome != FileOutcome::Read) return file;
    file.bytes.reserve(static_cast<size_t>(opened.status.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(opened.fd.get(), buf, sizeof buf);
        if (n == 0) return file;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            file.error = errno;
            file.outcome = FileOutcome::Unreadable;
        } else if (file.bytes.size() + static_cast<uint64_t>(n) > maxSize) {
            file.outcome = FileOutcome::TooLarge;
        } else {
            file.bytes.append(buf, static_cast<size_t>(n));
            continue;
        }
        std::string().swap(file.bytes);
        return file;
    }
}

bool isOrdinaryFile(const std::string& path, uint64_t maxSize) {
    return checkOrdinaryFile(path, maxSize) == FileOutcome::Read;
}

bool isOrdinaryFile(const std::u16string& path, uint64_t maxSize) {
    return !path.empty() && isOrdinaryFile(toUtf8(path), maxSize);
}

std::string whyNotRead(FileOutcome outcome, int error, uint64_t maxSize) {
    switch (outcome) {
    case FileOutcome::Read:
        return {};
    case FileOutcome::Missing:
        return "is not there";
    case FileOutcome::NotOrdinary:
        return "is not an ordinary file";
    case FileOutcome::TooLarge:
        return "is larger than " + std::to_string(maxSize) + " bytes";
    case FileOutcome::Unreadable:
        break;
    }
    return std::string("cannot be read (") + std::strerror(error) + ")";
}

}  // namespace kxsim::platform
