// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/language_text.h"

#include "core/module_data.h"
#include "platform/profile_reader.h"

namespace kxsim::platform {

std::u16string languageText(const std::u16string& key, std::u16string_view section) {
    return profileString(core::languageFile(), section, key, key, kLanguageTextBuffer);
}

}  // namespace kxsim::platform
