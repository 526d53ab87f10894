// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Reading a compiled HTML help file (.chm): its objects (pages, pictures,
// styles) and its context map, which ties a help context number to a topic.
// Plain C++ over chmlib; no Qt.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace kxsim::platform {

class ChmFile {
public:
    enum class OpenResult {
        Opened,
        Missing,        ///< no ordinary file at the path
        NotAHelpFile,   ///< a file, but not a compiled help file
        Damaged,        ///< a compiled help file whose structure does not hold together
    };

    ChmFile();
    ~ChmFile();
    ChmFile(ChmFile&& other) noexcept;
    ChmFile& operator=(ChmFile&& other) noexcept;
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    /// Opens the help file at \a path (UTF-8); an open file is closed first.
    OpenResult open(const std::string& path);
    bool isOpen() const { return handle_ != nullptr; }
    const std::string& path() const { return path_; }

    /// The paths of all objects in the file ("/index.htm", "/#IVB", "::DataSpace/...").
    std::vector<std::string> list() const;
    /// True when the file holds the object \a objectPath ("/images/a.png").
    bool contains(const std::string& objectPath) const;
    /// The bytes of the object \a objectPath, or nothing when the file lacks it.
    std::optional<std::string> read(const std::string& objectPath) const;

    /// The context map as the file records it: context number -> topic target,
    /// unnormalised. Empty when the file has no (readable) map.
    std::map<int32_t, std::string> contextMap() const;
    /// The object path of the topic for \a contextId ("/card_reader.htm"), or
    /// nothing when the file holds no such number or its topic is missing.
    std::optional<std::string> topicPath(int32_t contextId) const;

private:
    chmFile* handle_ = nullptr;
    std::string path_;
};

/// The in-file object path that a context map target names, or an empty text
/// when none of the file's objects fits. \a exists tells whether the file holds
/// an object. Targets are "a.htm", "/a.htm", "dir\\a.htm", possibly with an
/// anchor ("a.htm#part", kept), or, as some compilers record them, the
/// absolute path of the page in the folder it was compiled from
/// ("/home/u/help/a.htm"): the longest tail of such a path that names an
/// object of the file is taken.
std::string resolveTopicTarget(std::string_view target,
                               const std::function<bool(const std::string&)>& exists);

/// What a help request finds: the topic's object path, or a message saying why
/// there is none (naming the file or the number).
struct TopicLookup {
    std::string topic;    ///< "/card_reader.htm", maybe with "#anchor"
    std::string message;  ///< empty when the topic was found
    bool found() const { return message.empty(); }
};

/// Looks up \a contextId in the help file \a file (opened already or not).
TopicLookup lookupTopic(const ChmFile& file, ChmFile::OpenResult opened, int32_t contextId);

}  // namespace kxsim::platform
