// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/profile.h"

#include "platform/library_identity.h"
#include "platform/profile_reader.h"

namespace kxsim::services {

std::u16string MainProfileFile() { return platform::libraryFile(u"kxmain.ini"); }
std::u16string MobileProfileFile() { return platform::libraryFile(u"kxmobil.ini"); }

std::u16string ReadProfile(const std::u16string& key, const std::optional<std::u16string>& fallback,
                           const std::optional<std::u16string>& section,
                           const std::optional<std::u16string>& file) {
    if (key.empty()) return {};
    constexpr size_t kBuffer = 60000;
    return platform::profileString(file.value_or(MainProfileFile()),
                                   section.value_or(std::u16string(platform::kProductName)), key,
                                   fallback.value_or(std::u16string()), kBuffer);
}

}  // namespace kxsim::services
