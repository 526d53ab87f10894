// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The settings file's text, as QSettings' native format writes it on Linux:
// INI, UTF-8, the library's keys in the [General] group. Keys are escaped with
// %XX and %UXXXX; values with C-like backslash escapes, in double quotes when
// they hold ';', ',' or '=' or begin or end with a blank, and with a leading
// '@' doubled ('@' alone opens a typed value).
//
// Reading keeps to what such a file holds: keys before the first section or
// in [General] (any letter case); the last entry of a key wins; @String(...)
// is text (QSettings writes a text holding a NUL so); a value with an
// unquoted ',' is a list and other typed values are no text: both read as
// absent.

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kxsim::platform {

/// The text stored under \a key in the file \a bytes; nothing when it has none.
std::optional<std::u16string> settingsText(std::string_view bytes, std::u16string_view key);

/// The texts of \a keys in the file \a bytes, as settingsText gives each, in
/// one pass over the file.
std::map<std::u16string, std::u16string> settingsTexts(std::string_view bytes,
                                                      std::initializer_list<std::u16string_view> keys);

/// Whether \a key and \a text survive the file unchanged: the key is not
/// empty and holds no '/' (a group separator), neither holds a lone surrogate.
bool isStorableSetting(std::u16string_view key, std::u16string_view text);

/// The file \a bytes with \a key set to \a text: the key's last entry is
/// replaced, or a new one ends the [General] group (made first when missing).
/// Every other line stays as it was. Needs a storable key and text.
std::string withSetting(std::string_view bytes, std::u16string_view key, std::u16string_view text);

}  // namespace kxsim::platform
