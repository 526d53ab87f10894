// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// One text looked up in the thread's language file: captions, messages and
// the names a screen reader says all come through here.

#include <cstddef>
#include <string>
#include <string_view>

namespace kxsim::platform {

/// The section that holds the forms' texts, keyed by their English design text.
inline constexpr std::u16string_view kLabelSection = u"Label";
/// The reader's buffer for one text: at most 511 characters come back.
inline constexpr size_t kLanguageTextBuffer = 512;

/// The value of \a key in \a section of the language file, or \a key itself
/// with its trailing blanks dropped.
std::u16string languageText(const std::u16string& key, std::u16string_view section = kLabelSection);

}  // namespace kxsim::platform
