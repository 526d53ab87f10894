// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/group_digits.h"

namespace kxsim::services {

std::optional<std::u16string> GroupDigits(std::u16string_view text, int32_t n) {
    if (n < 1) return std::nullopt;
    const size_t size = static_cast<size_t>(n);
    std::u16string grouped;
    grouped.reserve(text.size() + text.size() / size + 1);
    for (size_t at = 0; at < text.size(); at += size) {
        grouped += text.substr(at, size);
        grouped += u' ';
    }
    return grouped;
}

}  // namespace kxsim::services
