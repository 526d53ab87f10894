// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Setting and clearing one bit of a Long, bit numbers counted from 1.

#include <cstdint>
#include <optional>

namespace kxsim::services {

/// The mask of bit number \a n (1 = lowest bit): 2 to the power n - 1, rounded
/// to a Long (halves to even). n from 1 to 31 give 1 to 1073741824; n below 1
/// gives 0. From n = 32 on the power does not fit a Long: nothing (run-time
/// error 6, Overflow).
std::optional<int32_t> BitMask(int32_t n);

/// \a value with bit number \a n set (value OR mask); \a value unchanged for n
/// below 1; nothing for n above 31 (Overflow).
std::optional<int32_t> SetBit(int32_t value, int32_t n);

/// \a value with bit number \a n cleared (value AND NOT mask); \a value
/// unchanged for n below 1; nothing for n above 31 (Overflow).
std::optional<int32_t> ClearBit(int32_t value, int32_t n);

}  // namespace kxsim::services
