// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The profile (INI) reader: entry lookup and key enumeration with the buffer
// and default rules of the classic profile functions, over a per-thread cache
// of parsed files that is checked against the file on every call.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ordinary_file.h"  // the rule every file is read by, and isOrdinaryFile

namespace kxsim::platform {

class IniDocument;

/// The largest profile file read: 64 MiB, far beyond any language or settings
/// file of the suite. A larger file is not openable, so a huge or endlessly
/// growing file costs neither the time nor the memory of reading it.
inline constexpr uint64_t kMaxProfileFileSize = uint64_t{64} << 20;

/// The parsed content of \a path, or null when readOrdinaryFile does not read
/// it within kMaxProfileFileSize (nothing there, a folder, FIFO, device, link
/// loop or a larger file; nothing blocks). The parse is reused while the
/// file's device, inode, size and modification time stay the same.
std::shared_ptr<const IniDocument> loadIniFile(const std::u16string& path);

/// The value of \a key in \a section of \a file as the Windows profile reader
/// gives it in a buffer of \a bufferSize characters: at most bufferSize - 1
/// characters, cut before one pair of enclosing quotes is removed. A missing
/// section or key gives \a fallback with its trailing blanks dropped (one
/// blank stays of blanks only) and its quotes removed; so does a missing file,
/// which reads as empty. A path that cannot be opened as a file gives the
/// trimmed fallback with its quotes kept.
std::u16string profileString(const std::u16string& file, std::u16string_view section,
                             std::u16string_view key, std::u16string_view fallback,
                             size_t bufferSize);

/// As profileString, in a file loaded once with loadIniFile (null reads as a
/// missing file): many lookups then read one state of the file without
/// checking it again each time.
std::u16string profileString(const IniDocument* document, std::u16string_view section,
                             std::u16string_view key, std::u16string_view fallback,
                             size_t bufferSize);

/// The key listing of \a section as the profile reader packs it into a buffer
/// of \a bufferSize characters: each name followed by a NUL; a list that does
/// not fit is cut after bufferSize - 2 characters. A missing section or file,
/// a list that starts with an empty name or a buffer of 2 or less gives
/// \a fallback with its quotes removed (its blanks kept).
std::u16string profileKeyList(const std::u16string& file, std::u16string_view section,
                              std::u16string_view fallback, size_t bufferSize);

/// The names of profileKeyList as a reader of the packed buffer takes them:
/// NUL-separated tokens up to the first empty one.
std::vector<std::u16string> profileKeyNames(const std::u16string& file, std::u16string_view section,
                                            size_t bufferSize, std::u16string_view fallback = {});
/// As profileKeyNames, in a file loaded once with loadIniFile (null when it is missing).
std::vector<std::u16string> profileKeyNames(const IniDocument* document, std::u16string_view section,
                                            size_t bufferSize, std::u16string_view fallback = {});

/// The section names of \a file in file order (empty names left out), packed
/// and cut as profileKeyList packs key names; empty when there are none.
std::u16string profileSectionList(const std::u16string& file, size_t bufferSize);
/// The names of profileSectionList, up to the first empty token.
std::vector<std::u16string> profileSectionNames(const std::u16string& file, size_t bufferSize);

}  // namespace kxsim::platform
