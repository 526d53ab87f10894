#include "dialogs/number_converter/number_converter_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "services/group_digits.h"

using namespace kxsim;
using namespace kxsim::dialogs;

namespace {

// The tables write each blank of a field as a middle dot.
std::u16string blanks(std::u16string_view dotted) {
    std::u16string text(dotted);
    std::replace(text.begin(), text.end(), u'\u00B7', u' ');
    return text;
}

std::string narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

struct Fields {
    const char16_t* hex;
    const char16_t* dec;
    const char16_t* oct;
    const char16_t* bin;
};

constexpr Fields kZero{u"·0·", u"··0·", u"···0·", u"···0·"};
constexpr Fields kSeven{u"·7·", u"··7·", u"···7·", u"·111·"};
constexpr Fields k123{u"···7B·", u"····123·", u"·173·", u"·111·1011·"};
constexpr Fields k16{u"···10·", u"·16·", u"··20·", u"···1·0000·"};
constexpr Fields k255{u"···FF·", u"····255·", u"·377·", u"·····1111·1111·"};
constexpr Fields k65535{u"···FF·FF·", u"·65·535·", u"··17·7777·", u"·····1111·1111·1111·1111·"};
constexpr Fields kMax{u"···7F·FF·FF·FF·", u"··2·147·483·647·", u"·177·7777·7777·",
                      u"·111·1111·1111·1111·1111·1111·1111·1111·"};
constexpr Fields kMinusOne{u"···FF·FF·FF·FF·", u"·-1·", u"·377·7777·7777·",
                           u"·····1111·1111·1111·1111·1111·1111·1111·1111·"};
constexpr Fields kMin{u"···80·00·00·00·", u"·-2·147·483·648·", u"·200·0000·0000·",
                      u"·····1000·0000·0000·0000·0000·0000·0000·0000·"};
constexpr Fields kMinus32768{u"···FF·FF·80·00·", u"····-32·768·", u"·377·7770·0000·",
                             u"·····1111·1111·1111·1111·1000·0000·0000·0000·"};

TEST(number_converter, converts_inputs_to_the_four_field_texts) {
    const struct {
        std::u16string input;
        Fields fields;
    } rows[] = {
        // The values of the documented examples.
        {u"0", kZero},
        {u"5", {u"·5·", u"··5·", u"···5·", u"·101·"}},
        {u"123", k123},
        {u"1000", {u"·3·E8·", u"··1·000·", u"·····1750·", u"··11·1110·1000·"}},
        {u"65535", k65535},
        {u"2147483647", kMax},
        // Blanks around the text go; leading zeros are no digits of the value.
        {u"  123  ", k123},
        {u"007", kSeven},
        {u"-0", kZero},
        {u"00000000000000000000000000000000000007", kSeven},
        // Hexadecimal with a leading h or H.
        {u"h", kZero},
        {u"hxyz", kZero},
        {u"hello", {u"·E·", u"·14·", u"··16·", u"·····1110·"}},
        {u"hFF", k255},
        {u"HFF", k255},
        {u"hff", k255},
        {u" h1 0 ", k16},
        {u"h\t1\n0", k16},
        {u"h1\r0", {u"·1·", u"··1·", u"···1·", u"···1·"}},  // a carriage return ends the number
        {u"h-5", kZero},
        {u"h7FFF", {u"···7F·FF·", u"·32·767·", u"···7·7777·", u"·111·1111·1111·1111·"}},
        {u"h8000", kMinus32768},
        {u"hFFFF", kMinusOne},
        {u"h0FFFF", k65535},  // leading zeros count for the 16-bit reading
        {u"h 0\t0 \n0 0 FFFF", k65535},  // also between blanks
        {u"h \t\n FFFF", kMinusOne},
        {u"h0FFF", {u"·F·FF·", u"··4·095·", u"·····7777·", u"·····1111·1111·1111·"}},
        {u"h10000", {u"·1·00·00·", u"·65·536·", u"··20·0000·", u"···1·0000·0000·0000·0000·"}},
        {u"hFFFFF", {u"·F·FF·FF·", u"··1·048·575·", u"·377·7777·", u"·····1111·1111·1111·1111·1111·"}},
        {u"hFFFFFFFF", kMinusOne},
        {u"H80000000", kMin},
        {u"h7FFFFFFF", kMax},
        {u"h000000000000FFFFFFFF", kMinusOne},  // more than 8 digits, but only 8 significant
        // Negative decimals in full: two's complement, the "-" grouped as a digit.
        {u"-1", kMinusOne},
        {u"-1234", {u"···FF·FF·FB·2E·", u"·-1·234·", u"·377·7777·5456·",
                    u"·····1111·1111·1111·1111·1111·1011·0010·1110·"}},
        {u"-32768", kMinus32768},
        {u"-2147483648", kMin},
    };
    for (const auto& row : rows) {
        const ConverterFields got = ConvertNumber(row.input);
        SCOPED_TRACE(narrow(row.input));
        EXPECT_TRUE(got.status.ok());
        EXPECT_EQ(got.hex, blanks(row.fields.hex));
        EXPECT_EQ(got.dec, blanks(row.fields.dec));
        EXPECT_EQ(got.oct, blanks(row.fields.oct));
        EXPECT_EQ(got.bin, blanks(row.fields.bin));
    }
}

TEST(number_converter, shows_the_error_description_in_all_four_fields) {
    const struct {
        std::u16string input;
        int32_t number;
        const char16_t* description;
    } rows[] = {
        {u"", 5, u"Invalid procedure call or argument"},
        {u"     ", 5, u"Invalid procedure call or argument"},
        {u"12abc", 13, u"Type mismatch"},
        {u"FF", 13, u"Type mismatch"},
        {u"-", 13, u"Type mismatch"},
        {u"--5", 13, u"Type mismatch"},
        {u"- 5", 13, u"Type mismatch"},
        {u"1 000", 13, u"Type mismatch"},
        {u"1,000", 13, u"Type mismatch"},
        {u"\t5", 13, u"Type mismatch"},  // only spaces are trimmed
        {u"&HFF", 13, u"Type mismatch"},
        {u"\uFF15", 13, u"Type mismatch"},  // a full-width digit
        // "+", fractions and exponents are refused alike.
        {u"+5", 13, u"Type mismatch"},
        {u"1.5", 13, u"Type mismatch"},
        {u"1.0", 13, u"Type mismatch"},
        {u"1E3", 13, u"Type mismatch"},
        {u"99999999999999999999x", 13, u"Type mismatch"},
        {u"2147483648", 6, u"Overflow"},
        {u"-2147483649", 6, u"Overflow"},
        {u"4294967295", 6, u"Overflow"},
        {u"99999999999999999999999999999999", 6, u"Overflow"},
        {u"h100000000", 6, u"Overflow"},
        {u"h123456789", 6, u"Overflow"},
        {u"hFFFFFFFFFzz", 6, u"Overflow"},
        {u"h1 0000 0000", 6, u"Overflow"},
    };
    for (const auto& row : rows) {
        const ConverterFields got = ConvertNumber(row.input);
        SCOPED_TRACE(narrow(row.input));
        EXPECT_EQ(got.status.number(), row.number);
        EXPECT_EQ(got.hex, row.description);
        EXPECT_EQ(got.dec, row.description);
        EXPECT_EQ(got.oct, row.description);
        EXPECT_EQ(got.bin, row.description);
    }
}

TEST(number_converter, converts_an_input_of_any_length) {
    std::u16string zeros = u"h" + std::u16string(1'000'000, u'0') + u"2A";
    EXPECT_EQ(ConvertNumber(zeros).dec, blanks(u"·42·"));
    std::u16string digits(1'000'000, u'9');
    EXPECT_EQ(ConvertNumber(digits).status.number(), 6);
}

// Field text of digits grouped by n: the first group may hold blanks of padding
// (at least one), every group has n characters and one blank after it.
void expectGrouped(const std::u16string& field, size_t n, const std::string& what) {
    ASSERT_EQ(field.size() % (n + 1), 0u) << what;
    ASSERT_EQ(field.front(), u' ') << what;
    for (size_t at = 0; at < field.size(); at += n + 1) {
        EXPECT_EQ(field[at + n], u' ') << what;
        if (at == 0) continue;
        for (size_t i = at; i < at + n; ++i) EXPECT_NE(field[i], u' ') << what;
    }
    EXPECT_NE(field.find_first_not_of(u' '), std::u16string::npos) << what;
    // The padding is less than a whole group and the separator, or exactly that.
    EXPECT_LE(field.find_first_not_of(u' '), n + 1) << what;
}

std::u16string withoutBlanks(const std::u16string& field) {
    std::u16string out;
    for (char16_t c : field)
        if (c != u' ') out += c;
    return out;
}

template <class T>
std::u16string expected(T value, int base) {
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, base).ptr;
    std::u16string text;
    for (const char* p = buffer; p != end; ++p)
        text += static_cast<char16_t>(*p >= 'a' && *p <= 'f' ? *p - 'a' + 'A' : *p);
    return text;
}

TEST(number_converter, agrees_with_an_independent_conversion_for_random_values) {
    std::mt19937 random(20240517);
    std::vector<uint32_t> values = {0, 1, 7, 8, 0x7FFF, 0x8000, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (int i = 0; i < 20000; ++i) values.push_back(static_cast<uint32_t>(random()));
    for (uint32_t bits : values) {
        const auto value = static_cast<int32_t>(bits);
        char hexInput[16];
        std::snprintf(hexInput, sizeof hexInput, "h%08x", bits);  // 8 digits: the 32-bit reading
        for (const std::u16string& input :
             {expected(value, 10), std::u16string(hexInput, hexInput + std::strlen(hexInput))}) {
            const std::string what = narrow(input);
            const ConverterFields got = ConvertNumber(input);
            ASSERT_TRUE(got.status.ok()) << what;
            EXPECT_EQ(withoutBlanks(got.hex), expected(bits, 16)) << what;
            EXPECT_EQ(withoutBlanks(got.dec), expected(value, 10)) << what;
            EXPECT_EQ(withoutBlanks(got.oct), expected(bits, 8)) << what;
            EXPECT_EQ(withoutBlanks(got.bin), expected(bits, 2)) << what;
            expectGrouped(got.hex, 2, what);
            expectGrouped(got.dec, 3, what);
            expectGrouped(got.oct, 4, what);
            expectGrouped(got.bin, 4, what);
        }
    }
}

TEST(group_digits, puts_a_blank_after_every_group) {
    const struct {
        std::u16string text;
        int32_t n;
        std::u16string grouped;
    } rows[] = {
        {u"", 3, u""},
        {u"1", 3, u"1 "},
        {u"123", 3, u"123 "},
        {u"1234", 3, u"123 4 "},
        {u" 1000", 3, u" 10 00 "},
        {u"abcdef", 2, u"ab cd ef "},
        {u"abc", 1, u"a b c "},
        {u"  ", 1, u"    "},
        {u"abc", INT32_MAX, u"abc "},
    };
    for (const auto& row : rows) {
        const auto grouped = tools::GroupDigits(row.text, row.n);
        ASSERT_TRUE(grouped.has_value()) << narrow(row.text) << " by " << row.n;
        EXPECT_EQ(*grouped, row.grouped) << narrow(row.text) << " by " << row.n;
    }
}

TEST(group_digits, refuses_a_group_size_below_one) {
    EXPECT_EQ(tools::GroupDigits(u"123", 0), std::nullopt);
    EXPECT_EQ(tools::GroupDigits(u"123", -2), std::nullopt);
    EXPECT_EQ(tools::GroupDigits(u"", INT32_MIN), std::nullopt);
}

}  // namespace
