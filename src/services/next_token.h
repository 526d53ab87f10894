// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Cutting the next token off a separated list.

#include <string>

namespace kxsim::services {

/// The characters of \a text before the first \a separator (exact,
/// case-sensitive), or all of \a text when there is none. \a text keeps what
/// follows the separator: empty when the separator was its last character or
/// absent. An empty text gives an empty token and stays empty.
std::u16string NextToken(std::u16string& text, char16_t separator);

}  // namespace kxsim::services
