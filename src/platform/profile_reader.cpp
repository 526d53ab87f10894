#include "platform/profile_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
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
    std::string native;  // the path as the system takes it, encoded once
    FileIdentity identity;
    std::shared_ptr<const IniDocument> document;
};

// Apartment threading: each thread keeps its own cache, so nothing is locked.
// Keyed by the path as asked for, so an unchanged file costs one stat and no
// re-encoding of its path.
constexpr size_t kMaxCachedFiles = 32;
thread_local std::unordered_map<std::u16string, CachedFile> t_cache;

bool tooLarge(off_t size) { return size < 0 || static_cast<uint64_t>(size) > kMaxProfileFileSize; }

// Reads to the end, or fails once more than the largest profile file has come:
// a file that grows while it is read is refused like one that was too large.
bool readWhole(int fd, std::string& out) {
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (out.size() + static_cast<size_t>(n) > kMaxProfileFileSize) return false;
        out.append(buf, static_cast<size_t>(n));
    }
}

std::shared_ptr<const IniDocument> parseFile(const std::string& path, FileIdentity& identity) {
    // O_NONBLOCK: a FIFO swapped in after the stat must not block the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    std::string bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && !tooLarge(st.st_size);
    if (ok) {
        bytes.reserve(static_cast<size_t>(st.st_size));
        ok = readWhole(fd, bytes);
    }
    ::close(fd);
    if (!ok) return nullptr;
    identity = identityOf(st);
    return std::make_shared<const IniDocument>(IniDocument::parse(decodeTextFile(bytes)));
}

// The parse of \a path, valid until the thread's next profile call, or null.
const IniDocument* cachedDocument(const std::u16string& path) {
    if (path.empty()) return nullptr;
    auto it = t_cache.find(path);
    std::string fresh;
    const std::string& native = it != t_cache.end() ? it->second.native : (fresh = toUtf8(path));
    struct stat st;
    if (::stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || tooLarge(st.st_size)) {
        if (it != t_cache.end()) t_cache.erase(it);
        return nullptr;
    }
    if (it != t_cache.end() && it->second.identity == identityOf(st)) return it->second.document.get();

    FileIdentity identity;
    auto document = parseFile(native, identity);
    if (!document) {
        if (it != t_cache.end()) t_cache.erase(it);
        return nullptr;
    }
    if (it != t_cache.end()) {
        it->second.identity = identity;
        it->second.document = std::move(document);
        return it->second.document.get();
    }
    if (t_cache.size() >= kMaxCachedFiles) t_cache.clear();
    CachedFile& entry = t_cache[path];
    entry = CachedFile{std::move(fresh), identity, std::move(document)};
    return entry.document.get();
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
    if (!cachedDocument(path)) return nullptr;
    return t_cache.find(path)->second.document;
}

std::u16string profileString(const std::u16string& file, std::u16string_view section,
                             std::u16string_view key, std::u16string_view fallback,
                             size_t bufferSize) {
    return profileString(key.empty() ? nullptr : cachedDocument(file), section, key, fallback, bufferSize);
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
    return profileKeyNames(cachedDocument(file), sectionName, bufferSize);
}

std::vector<std::u16string> profileKeyNames(const IniDocument* doc, std::u16string_view sectionName,
                                            size_t bufferSize) {
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
