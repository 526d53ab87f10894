// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/chm_file.h"

#include "platform/chm_precheck.h"

#include <chm_lib.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "platform/ordinary_file.h"

namespace kxsim::platform {
namespace {

// Larger objects are not pages, pictures or styles of a help file.
constexpr LONGUINT64 kMaxObjectSize = 64u * 1024u * 1024u;

uint32_t littleEndian32(const std::string& bytes, size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int collectPath(chmFile*, chmUnitInfo* info, void* context) {
    static_cast<std::vector<std::string>*>(context)->emplace_back(info->path);
    return CHM_ENUMERATOR_CONTINUE;
}

// A compiled help file starts with "ITSF".
bool hasHelpFileSignature(const std::string& path) {
    const OpenedFile file = openOrdinaryFile(path, kAnyFileSize);
    char signature[4] = {};
    return file.outcome == FileOutcome::Read && ::pread(file.fd.get(), signature, 4, 0) == 4 &&
           std::string_view(signature, 4) == "ITSF";
}

}  // namespace

ChmFile::ChmFile() = default;

ChmFile::~ChmFile() {
    if (handle_) chm_close(handle_);
}

ChmFile::ChmFile(ChmFile&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)) {}

ChmFile& ChmFile::operator=(ChmFile&& other) noexcept {
    if (this != &other) {
        if (handle_) chm_close(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

ChmFile::OpenResult ChmFile::open(const std::string& path) {
    if (handle_) chm_close(std::exchange(handle_, nullptr));
    path_ = path;
    if (!isOrdinaryFile(path)) return OpenResult::Missing;  // a folder, FIFO or device too
    // chmlib trusts the file's structure and may crash on a damaged one.
    if (!chmStructureIsSound(path)) return hasHelpFileSignature(path) ? OpenResult::Damaged : OpenResult::NotAHelpFile;
    handle_ = chm_open(path.c_str());
    return handle_ ? OpenResult::Opened : OpenResult::NotAHelpFile;
}

std::vector<std::string> ChmFile::list() const {
    std::vector<std::string> paths;
    if (handle_) chm_enumerate(handle_, CHM_ENUMERATE_ALL, collectPath, &paths);
    return paths;
}

bool ChmFile::contains(const std::string& objectPath) const {
    chmUnitInfo info{};
    return handle_ && !objectPath.empty() &&
           chm_resolve_object(handle_, objectPath.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmFile::read(const std::string& objectPath) const {
    chmUnitInfo info{};
    if (!handle_ || objectPath.empty() ||
        chm_resolve_object(handle_, objectPath.c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (info.length > kMaxObjectSize) return std::nullopt;
    std::string bytes(static_cast<size_t>(info.length), '\0');
    if (info.length == 0) return bytes;
    const LONGINT64 got = chm_retrieve_object(
        handle_, &info, reinterpret_cast<unsigned char*>(bytes.data()), 0, static_cast<LONGINT64>(info.length));
    if (got != static_cast<LONGINT64>(info.length)) return std::nullopt;
    return bytes;
}

std::map<int32_t, std::string> ChmFile::contextMap() const {
    // #IVB: a 32-bit byte count, then pairs of 32-bit numbers: the context
    // number and the offset of the topic's name in #STRINGS, where names are
    // NUL-terminated.
    std::map<int32_t, std::string> map;
    const std::optional<std::string> ivb = read("/#IVB");
    const std::optional<std::string> strings = read("/#STRINGS");
    if (!ivb || !strings || ivb->size() < 4) return map;
    const size_t declared = littleEndian32(*ivb, 0);
    const size_t available = std::min(declared, ivb->size() - 4);
    for (size_t at = 4; at + 8 <= 4 + available; at += 8) {
        const auto contextId = static_cast<int32_t>(littleEndian32(*ivb, at));
        const size_t offset = littleEndian32(*ivb, at + 4);
        if (offset >= strings->size()) continue;
        const size_t end = strings->find('\0', offset);
        map.emplace(contextId, strings->substr(offset, end == std::string::npos ? std::string::npos : end - offset));
    }
    return map;
}

std::optional<std::string> ChmFile::topicPath(int32_t contextId) const {
    const auto map = contextMap();
    const auto entry = map.find(contextId);
    if (entry == map.end()) return std::nullopt;
    std::string topic = resolveTopicTarget(entry->second, [this](const std::string& p) { return contains(p); });
    if (topic.empty()) return std::nullopt;
    return topic;
}

std::string resolveTopicTarget(std::string_view target,
                               const std::function<bool(const std::string&)>& exists) {
    std::string path(target);
    std::string anchor;
    if (const size_t hash = path.find('#'); hash != std::string::npos) {
        anchor = path.substr(hash);
        path.erase(hash);
    }
    for (char& c : path)
        if (c == '\\') c = '/';
    // A URL form of an in-file name: "ms-its:file.chm::/a.htm".
    if (const size_t separator = path.find("::"); separator != std::string::npos) path.erase(0, separator + 2);
    if (path.empty() || path.back() == '/') return {};
    if (path.front() != '/') path.insert(path.begin(), '/');

    // The name as given first, then ever shorter tails at each "/": the tail of
    // an absolute compile-time path that names an object of the file.
    for (size_t from = 0; from != std::string::npos; from = path.find('/', from + 1)) {
        const std::string candidate = path.substr(from);
        if (exists(candidate)) return candidate + anchor;
    }
    return {};
}

TopicLookup lookupTopic(const ChmFile& file, ChmFile::OpenResult opened, int32_t contextId) {
    const std::string number = std::to_string(contextId);
    switch (opened) {
    case ChmFile::OpenResult::Missing:
        return {{}, "The help file " + file.path() + " was not found."};
    case ChmFile::OpenResult::NotAHelpFile:
        return {{}, "The file " + file.path() + " is not a compiled help file."};
    case ChmFile::OpenResult::Damaged:
        return {{}, "The help file " + file.path() + " is damaged and cannot be read."};
    case ChmFile::OpenResult::Opened:
        break;
    }
    const auto map = file.contextMap();
    const auto entry = map.find(contextId);
    if (entry == map.end())
        return {{}, "The help file " + file.path() + " has no topic with the context number " + number + "."};
    std::string topic = resolveTopicTarget(entry->second, [&file](const std::string& p) { return file.contains(p); });
    if (topic.empty())
        return {{}, "The help file " + file.path() + " lacks the page " + entry->second +
                        " of the context number " + number + "."};
    return {std::move(topic), {}};
}

}  // namespace kxsim::platform
