// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/group_digits.h"

#include <gtest/gtest.h>

#include "support/texts.h"

using kxsim::test::narrow;

TEST(group_digits, puts_a_blank_after_every_group_and_refuses_a_size_below_one) {
    const struct { std::u16string text; int32_t n; std::optional<std::u16string> grouped; } rows[] = {
        {u"", 3, u""}, {u"123", 3, u"123 "}, {u"1234", 3, u"123 4 "}, {u" 1000", 3, u" 10 00 "},
        {u"abc", 1, u"a b c "}, {u"abc", INT32_MAX, u"abc "},
        {u"123", 0, std::nullopt}, {u"123", -2, std::nullopt}, {u"", INT32_MIN, std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(kxsim::services::GroupDigits(row.text, row.n), row.grouped) << narrow(row.text) << " by " << row.n;
}
