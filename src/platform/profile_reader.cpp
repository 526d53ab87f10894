#include "platform/profile_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <unordered_map>

#include "platform/ini_document.h"
#include "platform/text_codec.h"

namespace kxsim::platform {
namespace {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool operator==(const FileIdentity& o) const {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

FileIdentity identityOf(const struct stat& st) {
    return FileIdentity{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

struct CachedFile {
    FileIdentity identity;
    std::shared_ptr<const IniDocument> document;
};

// Apartment threading: each thread keeps its own cache, so nothing is locked.
constexpr size_t kMaxCachedFiles = 32;
thread_local std::unordered_map<std::string, CachedFile> t_cache;

bool readWhole(int fd, std::string& out) {
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        out.append(buf, static_cast<size_t>(n));
    }
}

std::shared_ptr<const IniDocument> parseFile(const std::string& path, FileIdentity& identity) {
    // O_NONBLOCK: a FIFO swapped in after the stat must not block the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    std::string bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        bytes.reserve(static_cast<size_t>(st.st_size));
        ok = readWhole(fd, bytes);
    }
    ::close(fd);
    if (!ok) return nullptr;
    identity = identityOf(st);
    return std::make_shared<const IniDocument>(IniDocument::parse(decodeTextFile(bytes)));
}

std::u16string cut(std::u16string_view text, size_t bufferSize) {
    if (bufferSize == 0) return {};
    return std::u16string(text.substr(0, bufferSize - 1));
}

}  // namespace

bool isOrdinaryFile(const std::u16string& path) {
    struct stat st;
    return !path.empty() && ::stat(toUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::shared_ptr<const IniDocument> loadIniFile(const std::u16string& path) {
    if (path.empty()) return nullptr;
    const std::string native = toUtf8(path);
    struct stat st;
    if (::stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        t_cache.erase(native);
        return nullptr;
    }
    auto it = t_cache.find(native);
    if (it != t_cache.end() && it->second.identity == identityOf(st)) return it->second.document;

    FileIdentity identity;
    auto document = parseFile(native, identity);
    if (!document) {
        t_cache.erase(native);
        return nullptr;
    }
    if (t_cache.size() >= kMaxCachedFiles && it == t_cache.end()) t_cache.clear();
    t_cache[native] = CachedFile{identity, document};
    return document;
}

std::u16string profileString(const std::u16string& file, std::u16string_view section,
                             std::u16string_view key, std::u16string_view fallback,
                             size_t bufferSize) {
    const auto doc = key.empty() ? nullptr : loadIniFile(file);
    return profileString(doc.get(), section, key, fallback, bufferSize);
}

std::u16string profileString(const IniDocument* doc, std::u16string_view section,
                             std::u16string_view key, std::u16string_view fallback,
                             size_t bufferSize) {
    if (!key.empty() && doc) {
        if (auto value = doc->value(section, key)) return cut(*value, bufferSize);
    }
    while (!fallback.empty() && fallback.back() == u' ') fallback.remove_suffix(1);
    return cut(fallback, bufferSize);
}

std::vector<std::u16string> profileKeyNames(const std::u16string& file,
                                            std::u16string_view sectionName, size_t bufferSize) {
    return profileKeyNames(loadIniFile(file).get(), sectionName, bufferSize);
}

std::vector<std::u16string> profileKeyNames(const IniDocument* doc,
                                            std::u16string_view sectionName, size_t bufferSize) {
    std::vector<std::u16string> names;
    const IniDocument::Section* section = doc ? doc->section(sectionName) : nullptr;
    if (!section || bufferSize < 2) return names;
    // Each name takes its length plus a NUL; the list's closing NUL needs one more.
    size_t room = bufferSize - 1;
    for (const auto& entry : section->entries) {
        if (entry.key.empty()) continue;  // an empty name would end the list
        if (entry.key.size() + 1 <= room) {
            names.push_back(entry.key);
            room -= entry.key.size() + 1;
            continue;
        }
        // Cut short: the buffer ends with two NULs, the last name shortened to fit.
        if (room >= 2) names.push_back(entry.key.substr(0, room - 1));
        break;
    }
    return names;
}

}  // namespace kxsim::platform
