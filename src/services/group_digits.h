// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Splitting a digit string into blank-separated groups.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kxsim::services {

/// \a text cut from its start into groups of \a n characters (the last one may
/// be shorter), each followed by one blank: GroupDigits(" 1000", 3) is
/// " 10 00 " and GroupDigits("", 3) is "". Nothing for a group size below 1
/// (run-time error 5, Invalid procedure call or argument).
std::optional<std::u16string> GroupDigits(std::u16string_view text, int32_t n);

}  // namespace kxsim::services
