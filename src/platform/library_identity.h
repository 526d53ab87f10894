// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Who the library is and where it lies: company and product name, and the
// folder holding the loaded library file, beside which its help file and the
// suite's profile files lie.

#include <string>
#include <string_view>

namespace kxsim::platform {

inline constexpr std::u16string_view kCompanyName = u"Tolvane";
inline constexpr std::u16string_view kProductName = u"Kestrix";

/// The folder of the loaded library file (of the program when linked statically).
std::u16string libraryFolder();
/// Overrides the library folder for this process; an empty text restores it.
void setLibraryFolder(std::u16string folder);
/// The library folder followed by "/" and \a fileName.
std::u16string libraryFile(std::u16string_view fileName);

}  // namespace kxsim::platform
