// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/leading_number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kxsim::services {
namespace {

bool isSkipped(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// The text with the blanks, tabs and line feeds removed, read character by character.
class Cursor {
public:
    explicit Cursor(std::u16string_view text) : text_(text) { skip(); }
    bool atEnd() const { return pos_ >= text_.size(); }
    char16_t peek() const { return atEnd() ? u'\0' : text_[pos_]; }
    void next() {
        ++pos_;
        skip();
    }

private:
    void skip() {
        while (pos_ < text_.size() && isSkipped(text_[pos_])) ++pos_;
    }
    std::u16string_view text_;
    size_t pos_ = 0;
};

// "&H" / "&O" numbers: few digits read as 16-bit, more as 32-bit two's complement.
double radixNumber(Cursor& c, int radix, size_t shortDigits, size_t longDigits) {
    double value = 0;
    uint64_t exact = 0;
    size_t digits = 0;
    for (int d; (d = hexValue(c.peek())) >= 0 && d < radix; c.next()) {
        value = value * radix + d;
        if (digits < 16) exact = exact * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
        ++digits;
    }
    if (digits == 0) return 0;
    if (digits <= shortDigits && exact <= 0xFFFF)
        return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(exact)));
    if (digits <= longDigits && exact <= 0xFFFFFFFFu)
        return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(exact)));
    return value;  // too wide for any integer type: converting it overflows
}

}  // namespace

double LeadingNumber(std::u16string_view text) {
    Cursor c(text);
    if (c.peek() == u'&') {
        c.next();
        const char16_t kind = c.peek();
        if (kind == u'H' || kind == u'h') {
            c.next();
            return radixNumber(c, 16, 4, 8);
        }
        if (kind == u'O' || kind == u'o') {
            c.next();
            return radixNumber(c, 8, 6, 11);
        }
        return 0;
    }

    std::string ascii;  // the accepted number, for a locale-free conversion
    bool negative = false;
    if (c.peek() == u'+' || c.peek() == u'-') {
        negative = c.peek() == u'-';
        c.next();
    }
    bool anyDigit = false;
    for (; isDigit(c.peek()); c.next()) {
        ascii += static_cast<char>(c.peek());
        anyDigit = true;
    }
    if (c.peek() == u'.') {
        ascii += '.';
        c.next();
        for (; isDigit(c.peek()); c.next()) {
            ascii += static_cast<char>(c.peek());
            anyDigit = true;
        }
    }
    if (!anyDigit) return 0;
    const char16_t e = c.peek();
    if (e == u'E' || e == u'e' || e == u'D' || e == u'd') {
        c.next();
        std::string exponent = "e";
        if (c.peek() == u'+' || c.peek() == u'-') {
            exponent += static_cast<char>(c.peek());
            c.next();
        }
        bool expDigit = false;
        for (; isDigit(c.peek()); c.next()) {
            exponent += static_cast<char>(c.peek());
            expDigit = true;
        }
        if (expDigit) ascii += exponent;
    }
    if (ascii.front() == '.') ascii.insert(ascii.begin(), '0');
    double value = 0;
    auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Either far too large or far too small: tell them apart by the exponent's sign.
        const auto epos = ascii.find('e');
        const bool tiny = epos != std::string::npos && ascii.size() > epos + 1 && ascii[epos + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

std::optional<int32_t> ToLong(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double r = std::nearbyint(value);  // the default rounding mode: halves to even
    if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
    return static_cast<int32_t>(r);
}

std::optional<int16_t> ToInteger(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double r = std::nearbyint(value);
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<int16_t>(r);
}

std::optional<int32_t> LongOfText(std::u16string_view text) { return ToLong(LeadingNumber(text)); }

}  // namespace kxsim::services
