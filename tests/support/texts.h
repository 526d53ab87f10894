// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Library texts in test messages and in comparisons with narrow literals.

#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace kxsim::test {

inline std::string narrow(std::u16string_view text) { return platform::toUtf8(text); }

}  // namespace kxsim::test
