// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/next_token.h"

namespace kxsim::services {

std::u16string NextToken(std::u16string& text, char16_t separator) {
    const size_t at = text.find(separator);
    if (at == std::u16string::npos) {
        std::u16string token = std::move(text);
        text.clear();
        return token;
    }
    std::u16string token = text.substr(0, at);
    text.erase(0, at + 1);
    return token;
}

}  // namespace kxsim::services
