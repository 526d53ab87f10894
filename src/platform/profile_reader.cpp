// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/profile_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "platform/ini_document.h"
#include "platform/ordinary_file.h"
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

std::shared_ptr<const IniDocument> parseFile(const std::string& path, FileIdentity& identity, bool& openable) {
    OrdinaryFile file = readOrdinaryFile(path, kMaxProfileFileSize);
    openable = file.outcome == FileOutcome::Read || file.outcome == FileOutcome::Missing;
    if (file.outcome != FileOutcome::Read) return nullptr;
    identity = identityOf(file.status);
    std::u16string text = decodeTextFile(file.bytes);
    std::string().swap(file.bytes);  // the bytes go before the index is built
    return std::make_shared<const IniDocument>(IniDocument::parse(std::move(text)));
}

// What a path gives the reader: an ordinary file's parse, nothing there (read
// as an empty file), or something that cannot be opened as a file.
struct Lookup {
    const IniDocument* document = nullptr;
    bool openable = true;
};

// The parse of \a path, valid until the thread's next profile call.
Lookup cachedDocument(const std::u16string& path) {
    if (path.empty()) return {};
    auto it = t_cache.find(path);
    std::string fresh;
    const std::string& native = it != t_cache.end() ? it->second.native : (fresh = toUtf8(path));
    struct stat st;
    const FileOutcome outcome = checkOrdinaryFile(native, kMaxProfileFileSize, &st);
    if (outcome == FileOutcome::Read && it != t_cache.end() && it->second.identity == identityOf(st))
        return {it->second.document.get()};

    FileIdentity identity;
    bool openable = outcome == FileOutcome::Missing;
    auto document = outcome == FileOutcome::Read ? parseFile(native, identity, openable) : nullptr;
    if (!document) {
        if (it != t_cache.end()) t_cache.erase(it);
        return Lookup{nullptr, openable};
    }
    if (it != t_cache.end()) {
        it->second.identity = identity;
        it->second.document = std::move(document);
        return {it->second.document.get()};
    }
    if (t_cache.size() >= kMaxCachedFiles) t_cache.clear();
    CachedFile& entry = t_cache[path];
    entry = CachedFile{std::move(fresh), identity, std::move(document)};
    return {entry.document.get()};
}

// A value or default as it lands in a buffer of \a bufferSize characters: cut
// to fit first, and then one pair of enclosing quotes removed, so a value cut
// short loses its opening quote and the character before the cut.
std::u16string copyEntry(std::u16string_view text, size_t bufferSize, bool unquote) {
    if (bufferSize == 0) return {};
    const bool quoted = unquote && text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') &&
                        text.back() == text.front();
    if (quoted) text.remove_prefix(1);
    std::u16string out(text.substr(0, bufferSize - 1));
    if (quoted && bufferSize >= text.size() && !out.empty()) out.pop_back();
    return out;
}

// A default loses its trailing blanks, but one of blanks only keeps its first.
std::u16string_view trimDefault(std::u16string_view fallback) {
    size_t end = fallback.size();
    while (end > 1 && fallback[end - 1] == u' ') --end;
    return fallback.substr(0, end);
}

std::u16string valueOrDefault(Lookup file, std::u16string_view section, std::u16string_view key,
                              std::u16string_view fallback, size_t bufferSize) {
    if (file.document) {
        if (auto value = file.document->value(section, key)) return copyEntry(*value, bufferSize, true);
    }
    return copyEntry(trimDefault(fallback), bufferSize, file.openable);
}

// Names packed as the profile functions pack them, each followed by a NUL, cut
// to the buffer: a list that does not fit ends after bufferSize - 2 characters.
// Collecting stops once the buffer is full, so a huge list costs no more.
class PackedNames {
public:
    // The section listing also cuts a list that would fill the buffer exactly.
    PackedNames(size_t bufferSize, bool cutWhenFull) : limit_(bufferSize), cutWhenFull_(cutWhenFull) {}
    bool add(std::u16string_view name) {
        packed_.append(name.substr(0, limit_ + 1));
        packed_ += u'\0';
        return packed_.size() < limit_;
    }
    std::u16string take() {
        if (packed_.size() + (cutWhenFull_ ? 2 : 1) > limit_) packed_.resize(limit_ >= 2 ? limit_ - 2 : 0);
        return std::move(packed_);
    }

private:
    size_t limit_;
    bool cutWhenFull_;
    std::u16string packed_;
};

std::vector<std::u16string> tokens(std::u16string_view packed) {
    std::vector<std::u16string> names;
    while (!packed.empty()) {
        const size_t end = std::min(packed.find(u'\0'), packed.size());
        if (end == 0) break;  // an empty name ends the list
        names.emplace_back(packed.substr(0, end));
        packed.remove_prefix(std::min(end + 1, packed.size()));
    }
    return names;
}

std::u16string keyList(const IniDocument* document, std::u16string_view section,
                       std::u16string_view fallback, size_t bufferSize) {
    std::u16string packed;
    if (document && bufferSize > 2) {
        PackedNames names(bufferSize, false);
        if (document->visitKeyNames(section, [&](std::u16string_view name) { return names.add(name); }))
            packed = names.take();
    }
    // A missing section, a list that starts with an empty name and a buffer too
    // small for any name give the default, its quotes removed but its blanks kept.
    if (packed.empty() || packed.front() == u'\0') return copyEntry(fallback, bufferSize, true);
    return packed;
}

}  // namespace

std::shared_ptr<const IniDocument> loadIniFile(const std::u16string& path) {
    if (!cachedDocument(path).document) return nullptr;
    return t_cache.find(path)->second.document;
}

std::u16string profileString(const std::u16string& file, std::u16string_view section,
                             std::u16string_view key, std::u16string_view fallback,
                             size_t bufferSize) {
    return valueOrDefault(cachedDocument(file), section, key, fallback, bufferSize);
}

std::u16string profileString(const IniDocument* document, std::u16string_view section,
                             std::u16string_view key, std::u16string_view fallback,
                             size_t bufferSize) {
    return valueOrDefault(Lookup{document, true}, section, key, fallback, bufferSize);
}

std::u16string profileKeyList(const std::u16string& file, std::u16string_view section,
                              std::u16string_view fallback, size_t bufferSize) {
    return keyList(cachedDocument(file).document, section, fallback, bufferSize);
}

std::vector<std::u16string> profileKeyNames(const std::u16string& file, std::u16string_view section,
                                            size_t bufferSize, std::u16string_view fallback) {
    return tokens(profileKeyList(file, section, fallback, bufferSize));
}

std::vector<std::u16string> profileKeyNames(const IniDocument* document, std::u16string_view section,
                                            size_t bufferSize, std::u16string_view fallback) {
    return tokens(keyList(document, section, fallback, bufferSize));
}

std::u16string profileSectionList(const std::u16string& file, size_t bufferSize) {
    const IniDocument* document = cachedDocument(file).document;
    if (!document || bufferSize < 2) return {};
    PackedNames names(bufferSize, true);
    document->visitSectionNames([&](std::u16string_view name) { return names.add(name); });
    return names.take();
}

std::vector<std::u16string> profileSectionNames(const std::u16string& file, size_t bufferSize) {
    return tokens(profileSectionList(file, bufferSize));
}

}  // namespace kxsim::platform
