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

namespace kxsim::platform {

class IniDocument;

/// The largest profile file read: 64 MiB, far beyond any language or settings
/// file of the suite. A larger file reads as missing, so a huge or endlessly
/// growing file costs neither the time nor the memory of reading it.
inline constexpr uint64_t kMaxProfileFileSize = uint64_t{64} << 20;

/// The parsed content of \a path, or null when no ordinary readable file is
/// there (a directory, FIFO, device, dangling link, link loop or a file larger
/// than kMaxProfileFileSize reads as missing and never blocks). The parse is reused while the file's device,
/// inode, size and modification time stay the same.
std::shared_ptr<const IniDocument> loadIniFile(const std::u16string& path);

/// True when \a path names an ordinary file (following links).
bool isOrdinaryFile(const std::u16string& path);

/// The value of \a key in \a section of \a file, at most \a bufferSize - 1
/// characters. A missing file, section or key gives \a fallback with its
/// trailing blanks dropped, cut the same way. An empty \a key finds nothing.
std::u16string profileString(const std::u16string& file, std::u16string_view section,
                             std::u16string_view key, std::u16string_view fallback,
                             size_t bufferSize);

/// As profileString, in a file loaded once with loadIniFile (null when it is
/// missing): many lookups then read one state of the file without checking it
/// again each time.
std::u16string profileString(const IniDocument* document, std::u16string_view section,
                             std::u16string_view key, std::u16string_view fallback,
                             size_t bufferSize);

/// The key names of \a section in file order, as they fit a buffer of
/// \a bufferSize characters holding each name and a NUL plus a final NUL: names
/// that do not fit are lost and the last one may come out shortened.
std::vector<std::u16string> profileKeyNames(const std::u16string& file,
                                            std::u16string_view section, size_t bufferSize);
/// As profileKeyNames, in a file loaded once with loadIniFile (null when it is missing).
std::vector<std::u16string> profileKeyNames(const IniDocument* document,
                                            std::u16string_view section, size_t bufferSize);

}  // namespace kxsim::platform
