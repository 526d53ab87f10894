// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/next_token.h"

#include <gtest/gtest.h>

using kxsim::services::NextToken;

TEST(next_token, cuts_the_token_before_the_first_separator) {
    const struct { std::u16string text; char16_t separator; std::u16string token; std::u16string rest; } rows[] = {
        {u"1;2;", u';', u"1", u"2;"},
        {u"1;", u';', u"1", u""},
        {u";1", u';', u"", u"1"},
        {u";;", u';', u"", u";"},
        {u"abc", u';', u"abc", u""},
        {u"", u';', u"", u""},
        {u"aXbxc", u'x', u"aXb", u"c"},  // exact, case-sensitive
        {std::u16string(u"ab\0cd\0\0", 7), u'\0', u"ab", std::u16string(u"cd\0\0", 4)},
    };
    for (auto row : rows) {
        std::u16string text = row.text;
        EXPECT_EQ(NextToken(text, row.separator), row.token);
        EXPECT_EQ(text, row.rest);
    }
}
