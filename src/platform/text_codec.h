// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Conversions between the library's UTF-16 strings and the byte encodings of
// files, paths and the command line.

#include <string>
#include <string_view>

namespace kxsim::platform {

/// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
/// UTF-8 to UTF-16; each invalid byte becomes U+FFFD.
std::u16string fromUtf8(std::string_view bytes);
/// True when \a bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);
/// Windows-1252, the ANSI code page of the suite's files, to UTF-16.
std::u16string fromWindows1252(std::string_view bytes);
/// UTF-16 bytes (little or big endian) to UTF-16; an odd last byte is dropped.
std::u16string fromUtf16(std::string_view bytes, bool bigEndian);
/// Text file bytes to UTF-16: a byte order mark of UTF-16LE (FF FE), UTF-16BE
/// (FE FF) or UTF-8 says the encoding; other valid UTF-8 is read as UTF-8,
/// anything else as Windows-1252.
std::u16string decodeTextFile(std::string_view bytes);

}  // namespace kxsim::platform
