// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/bits.h"

namespace kxsim::services {

std::optional<int32_t> BitMask(int32_t n) {
    // 2 to the power n - 1, rounded: below one half for n < 0 and exactly one
    // half for n = 0, which rounds to the even neighbour, so both give 0.
    if (n < 1) return 0;
    if (n > 31) return std::nullopt;  // 2^31 and up do not fit a Long
    return static_cast<int32_t>(uint32_t{1} << (n - 1));
}

std::optional<int32_t> SetBit(int32_t value, int32_t n) {
    const auto mask = BitMask(n);
    if (!mask) return std::nullopt;
    return value | *mask;
}

std::optional<int32_t> ClearBit(int32_t value, int32_t n) {
    const auto mask = BitMask(n);
    if (!mask) return std::nullopt;
    return value & ~*mask;
}

}  // namespace kxsim::services
