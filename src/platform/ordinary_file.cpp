#include "platform/ordinary_file.h"

#include "platform/file_descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kxsim::platform {
namespace {

using Outcome = OrdinaryFile::Outcome;

// Opens without blocking and says what lies there; Read means an ordinary
// file within the limit, ready to be read from \a fd.
Outcome inspect(const FileDescriptor& fd, size_t maxSize, int& error) {
    if (fd.get() < 0) {
        error = errno;
        return error == ENOENT || error == ENOTDIR ? Outcome::Missing : Outcome::Unreadable;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) {
        error = errno;
        return Outcome::Unreadable;
    }
    if (!S_ISREG(st.st_mode)) return Outcome::NotOrdinary;
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxSize) return Outcome::TooLarge;
    return Outcome::Read;
}

int openNonBlocking(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

}  // namespace

OrdinaryFile readOrdinaryFile(const std::string& path, size_t maxSize) {
    OrdinaryFile file;
    const FileDescriptor fd(openNonBlocking(path));
    file.outcome = inspect(fd, maxSize, file.error);
    if (file.outcome != Outcome::Read) return file;
    // A file that grows past the limit while it is read is refused too.
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n == 0) return file;
        if (n < 0) {
            if (errno == EINTR) continue;
            file.error = errno;
            file.outcome = Outcome::Unreadable;
            file.bytes.clear();
            return file;
        }
        if (file.bytes.size() + static_cast<size_t>(n) > maxSize) {
            file.outcome = Outcome::TooLarge;
            file.bytes.clear();
            return file;
        }
        file.bytes.append(buf, static_cast<size_t>(n));
    }
}

bool isOrdinaryFile(const std::string& path, size_t maxSize) {
    const FileDescriptor fd(openNonBlocking(path));
    int error = 0;
    return inspect(fd, maxSize, error) == Outcome::Read;
}

}  // namespace kxsim::platform
