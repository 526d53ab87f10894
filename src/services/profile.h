// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Reading the suite's profile files that lie beside the library.

#include <optional>
#include <string>

namespace kxsim::services {

/// The main profile file, "kxmain.ini" in the library folder.
std::u16string MainProfileFile();
/// The mobile profile file, "kxmobil.ini" in the library folder.
std::u16string MobileProfileFile();

/// The value of \a key (at most 59,999 characters). Left out, \a file is the
/// main profile file, \a section "Kestrix" and \a fallback empty; a missing
/// file, section or key gives \a fallback. An empty \a key reads nothing and
/// gives an empty text.
std::u16string ReadProfile(const std::u16string& key,
                           const std::optional<std::u16string>& fallback = std::nullopt,
                           const std::optional<std::u16string>& section = std::nullopt,
                           const std::optional<std::u16string>& file = std::nullopt);

}  // namespace kxsim::services
