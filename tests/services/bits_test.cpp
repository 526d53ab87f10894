// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/bits.h"

#include <gtest/gtest.h>

#include <limits>

using kxsim::services::ClearBit;
using kxsim::services::SetBit;

TEST(bits, set_and_clear_bit_numbers_counted_from_one) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const struct { int32_t value, n; std::optional<int32_t> set, cleared; } rows[] = {
        {0, 1, 1, 0}, {-1, 1, -1, -2}, {0, 31, 1073741824, 0}, {-1, 31, -1, -1073741825},
        {kMin, 1, kMin + 1, kMin}, {kMax, 31, kMax, 1073741823},
        // below 1 the mask rounds to 0: the value comes back unchanged
        {5, 0, 5, 5}, {-1, -1, -1, -1}, {5, kMin, 5, 5},
        // 2 to the power 31 and up does not fit a Long: Overflow
        {0, 32, std::nullopt, std::nullopt}, {0, kMax, std::nullopt, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "value " << row.value << ", bit " << row.n);
        EXPECT_EQ(SetBit(row.value, row.n), row.set);
        EXPECT_EQ(ClearBit(row.value, row.n), row.cleared);
    }
}
