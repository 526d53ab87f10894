// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/leading_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using kxsim::services::LeadingNumber;
using kxsim::services::LongOfText;
using kxsim::services::ToInteger;
using kxsim::services::ToLong;

TEST(leading_number, reads_the_number_at_the_start) {
    const struct { const char16_t* text; double expected; } rows[] = {
        {u"", 0},         {u"abc", 0},        {u"42", 42},          {u"  42  ", 42},
        {u"1 2 3", 123},  {u"\t1\n2", 12},    {u"12abc", 12},       {u"-5", -5},
        {u"+7", 7},       {u"- 5", -5},       {u"--5", 0},          {u"12.5", 12.5},
        {u".5", 0.5},     {u"1.5.3", 1.5},    {u"1e3", 1000},       {u"1D2", 100},
        {u"2E-1", 0.2},   {u"1e", 1},         {u"1e+", 1},          {u"00101", 101},
        {u"1 e 2", 100},  {u"1,5", 1},        {u"\r5", 0},          {u"-", 0},
        {u".", 0},        {u"1E999", std::numeric_limits<double>::infinity()},
        {u"1E-999", 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LeadingNumber(row.text), row.expected) << std::u16string(row.text).size();
}

TEST(leading_number, reads_hexadecimal_and_octal_as_the_narrowest_integer) {
    const struct { const char16_t* text; double expected; } rows[] = {
        {u"&HFF", 255},          {u"&hff", 255},        {u"&H7FFF", 32767},
        {u"&H8000", -32768},     {u"&HFFFF", -1},       {u"&H10000", 65536},
        {u"&HFFFFFFFF", -1},     {u"&H80000000", -2147483648.0},
        {u"&H0FFFF", 65535},     {u"&H1FFFFFFFF", 8589934591.0},
        {u"&H", 0},              {u"&Hxyz", 0},         {u"&HF F", 255},
        {u"&O17", 15},           {u"&O177777", -1},     {u"&O200000", 65536},
        {u"&O37777777777", -1},  {u"&O9", 0},           {u"&", 0},
        {u"&X1", 0},
    };
    for (const auto& row : rows) EXPECT_EQ(LeadingNumber(row.text), row.expected);
}

// Halves go to the even neighbour; what does not fit gives nothing.
TEST(leading_number, converts_halves_to_the_even_neighbour_and_overflow_to_nothing) {
    const struct { double value; std::optional<int32_t> expected; } rows[] = {
        {12.5, 12}, {13.5, 14}, {-12.5, -12}, {-13.5, -14}, {0.5, 0}, {1.5, 2}, {2.4999, 2},
        {2147483647.0, INT32_MAX}, {2147483647.4, INT32_MAX}, {-2147483648.0, INT32_MIN}, {-2147483648.5, INT32_MIN},
        {2147483647.5, {}}, {2147483648.0, {}}, {-2147483649.0, {}}, {-2147483648.6, {}},
        {std::numeric_limits<double>::infinity(), {}}, {std::nan(""), {}},
    };
    for (const auto& row : rows) EXPECT_EQ(ToLong(row.value), row.expected) << row.value;
    const struct { double value; std::optional<int16_t> expected; } integers[] = {
        {32767.4, 32767}, {-32768.5, -32768}, {32767.5, {}}, {-32769, {}}};
    for (const auto& row : integers) EXPECT_EQ(ToInteger(row.value), row.expected) << row.value;
}

// Keys, stored settings and typed numbers are read this way; their tests leave this rule to here.
TEST(leading_number, long_of_text_rounds_the_leading_number_and_refuses_what_does_not_fit) {
    const struct { const char16_t* text; std::optional<int32_t> expected; } rows[] = {
        {u"00101", 101}, {u"12.5", 12}, {u"13.5", 14}, {u"abc", 0}, {u" 4 2 ", 42}, {u"-7", -7},
        {u"2147483647", INT32_MAX}, {u"-2147483648", INT32_MIN}, {u"2147483648", {}}, {u"1e400", {}},
    };
    for (const auto& row : rows) EXPECT_EQ(LongOfText(row.text), row.expected) << std::u16string(row.text).size();
}
