// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/number_converter/number_converter_model.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cctype>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "support/texts.h"

using namespace kxsim;
using namespace kxsim::dialogs;
using kxsim::test::narrow;

namespace {

// An independent field text: std::to_chars digits, padded with 1..n blanks to whole groups of n,
// a blank after every group.
template <class T>
std::u16string field(T value, int base, size_t n) {
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, base).ptr;
    std::u16string digits(n - (end - buffer) % n, u' ');
    for (const char* p = buffer; p != end; ++p) digits += static_cast<char16_t>(std::toupper(*p));
    std::u16string out;
    for (size_t at = 0; at < digits.size(); at += n) out += digits.substr(at, n) + u' ';
    return out;
}

void expectFields(const std::u16string& input, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    const ConverterFields got = ConvertNumber(input);
    ASSERT_TRUE(got.status.ok()) << narrow(input);
    EXPECT_EQ(got.hex, field(bits, 16, 2)) << narrow(input);
    EXPECT_EQ(got.dec, field(value, 10, 3)) << narrow(input);
    EXPECT_EQ(got.oct, field(bits, 8, 4)) << narrow(input);
    EXPECT_EQ(got.bin, field(bits, 2, 4)) << narrow(input);
}

TEST(number_converter, reads_decimal_and_h_prefixed_hexadecimal_inputs) {
    const struct { std::u16string input; int32_t value; } rows[] = {
        // Plain decimals are the random test's. Blanks around the text go; leading zeros and a "-" before 0 change nothing.
        {u"  123  ", 123}, {u"007", 7}, {u"-0", 0},
        // After h or H: blanks, tabs and line feeds between digits are skipped, anything else ends the number.
        {u"h", 0}, {u"hello", 14}, {u"HFF", 255}, {u"hff", 255}, {u" h1 0 ", 16}, {u"h\t1\n0", 16},
        {u"h1\r0", 1}, {u"h-5", 0},
        // Up to four digits are a 16-bit value, leading zeros counted; more are a 32-bit value.
        {u"h7FFF", 32767}, {u"h8000", -32768}, {u"hFFFF", -1}, {u"h0FFFF", 65535}, {u"h10000", 65536},
        {u"h000000000000FFFFFFFF", -1},  // only 8 significant digits
        {u"h 0\t0 \n0 0 FFFF", 65535}, {u"h \t\n FFFF", -1},  // leading zeros between blanks count too
    };
    for (const auto& row : rows) expectFields(row.input, row.value);
}

TEST(number_converter, shows_the_error_description_in_all_four_fields) {
    const struct { int32_t number; const char16_t* description; std::vector<std::u16string> inputs; } groups[] = {
        {5, u"Invalid procedure call or argument", {u"", u"     "}},
        // Only spaces are trimmed; "+", fractions, exponents, full-width digits and "&H" are refused.
        {13, u"Type mismatch", {u"12abc", u"FF", u"-", u"- 5", u"1 000", u"\t5", u"&HFF", u"\uFF15", u"+5",
                                u"1.5", u"1E3", u"99999999999999999999x"}},
        {6, u"Overflow", {u"2147483648", u"-2147483649", u"h100000000", u"h1 0000 0000"}},
    };
    for (const auto& group : groups)
        for (const auto& input : group.inputs) {
            const ConverterFields got = ConvertNumber(input);
            SCOPED_TRACE(narrow(input));
            EXPECT_EQ(got.status.number(), group.number);
            for (const auto& text : {got.hex, got.dec, got.oct, got.bin}) EXPECT_EQ(text, group.description);
        }
}

TEST(number_converter, converts_an_input_of_any_length) {
    expectFields(u"h" + std::u16string(1'000'000, u'0') + u"2A", 42);
    EXPECT_EQ(ConvertNumber(std::u16string(1'000'000, u'9')).status.number(), 6);
}

TEST(number_converter, agrees_with_an_independent_conversion_for_random_values) {
    std::mt19937 random(20240517);
    std::vector<uint32_t> values = {0, 1, 7, 8, 0x7FFF, 0x8000, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (int i = 0; i < 20000; ++i) values.push_back(static_cast<uint32_t>(random()));
    for (uint32_t bits : values) {
        const auto value = static_cast<int32_t>(bits);
        const std::string decimal = std::to_string(value);
        char hex[16];
        const int length = std::snprintf(hex, sizeof hex, "h%08x", bits);  // 8 digits: the 32-bit reading
        expectFields(std::u16string(decimal.begin(), decimal.end()), value);
        expectFields(std::u16string(hex, hex + length), value);
    }
}

}  // namespace
