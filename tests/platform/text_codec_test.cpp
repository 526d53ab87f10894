// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/text_codec.h"

#include <gtest/gtest.h>

using namespace kxsim::platform;

TEST(text_codec, utf8_round_trip_and_replacement) {
    const std::u16string texts[] = {u"", u"plain", u"Wählen €", u"\U0001F600 emoji", std::u16string(u"a\0b", 3)};
    for (const auto& t : texts) EXPECT_EQ(fromUtf8(toUtf8(t)), t);
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    const struct {
        std::string_view bytes;
        bool valid;
    } rows[] = {{"abc", true},           {"\xC3\xA4", true},      {"\xC3", false},
                {"\xC0\x80", false},     {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false},
                {"\xF0\x9F\x98\x80", true}, {"\xFF", false}};
    for (const auto& row : rows) EXPECT_EQ(isValidUtf8(row.bytes), row.valid) << row.bytes;
    EXPECT_EQ(fromUtf8("a\xFF" "b"), u"a\uFFFDb");
}

TEST(text_codec, windows_1252) {
    EXPECT_EQ(fromWindows1252("\x80\x8A\x9F\xE4\xFF\x81"), u"€ŠŸäÿ\u0081");
}
