// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/number_converter/number_converter_model.h"

#include <algorithm>

#include "services/group_digits.h"

namespace kxsim::dialogs {
namespace {

constexpr char16_t kDigits[] = u"0123456789ABCDEF";

// Digits of \a value in base 2^bits, most significant first, "0" for 0.
std::u16string PowerOfTwoDigits(uint32_t value, unsigned bits) {
    char16_t buffer[32];
    char16_t* end = buffer + std::size(buffer);
    char16_t* at = end;
    const uint32_t mask = (1u << bits) - 1;
    do {
        *--at = kDigits[value & mask];
        value >>= bits;
    } while (value != 0);
    return std::u16string(at, end);
}

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

bool IsDecimalDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string_view TrimBlanks(std::u16string_view text) {
    const size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

ConverterFields Failure(int32_t number) {
    ConverterFields fields;
    fields.status = Status::error(number);
    fields.hex = fields.dec = fields.oct = fields.bin = fields.status.description();
    return fields;
}

}  // namespace

Status ReadHexadecimal(std::u16string_view text, int32_t& value) {
    uint32_t bits = 0;
    size_t digits = 0;       // every digit read, leading zeros included
    size_t significant = 0;  // digits from the first non-zero one on
    // Leading zeros and blanks first, in a tight loop: a pasted text may hold
    // tens of thousands of them.
    size_t at = 0;
    for (; at < text.size(); ++at) {
        const char16_t c = text[at];
        if (c == u'0') {
            ++digits;
        } else if (c != u' ' && c != u'\t' && c != u'\n') {
            break;
        }
    }
    for (char16_t c : text.substr(at)) {
        if (c == u' ' || c == u'\t' || c == u'\n') continue;
        const int digit = HexDigitValue(c);
        if (digit < 0) break;
        ++digits;
        if (significant == 0 && digit == 0) continue;
        // A ninth significant digit cannot fit; the rest of the text does not matter.
        if (++significant > 8) return Status::error(errors::Overflow);
        bits = bits << 4 | static_cast<uint32_t>(digit);
    }
    if (digits <= 4)
        value = static_cast<int16_t>(static_cast<uint16_t>(bits));
    else
        value = static_cast<int32_t>(bits);
    return {};
}

Status ReadDecimal(std::u16string_view text, int32_t& value) {
    const bool negative = !text.empty() && text.front() == u'-';
    const std::u16string_view digits = negative ? text.substr(1) : text;
    if (digits.empty()) return Status::error(errors::TypeMismatch);
    // One pass: the magnitude grows one digit at a time and, once past 2^31,
    // can only overflow, but every character must still be a digit, for a
    // type mismatch outranks the overflow.
    constexpr uint64_t kLimit = uint64_t{1} << 31;
    uint64_t magnitude = 0;
    for (char16_t c : digits) {
        if (!IsDecimalDigit(c)) return Status::error(errors::TypeMismatch);
        if (magnitude <= kLimit) magnitude = magnitude * 10 + static_cast<uint64_t>(c - u'0');
    }
    if (magnitude > kLimit || (!negative && magnitude == kLimit)) return Status::error(errors::Overflow);
    value = negative ? static_cast<int32_t>(0 - static_cast<uint32_t>(magnitude))
                     : static_cast<int32_t>(magnitude);
    return {};
}

std::u16string Hex(int32_t d) { return PowerOfTwoDigits(static_cast<uint32_t>(d), 4); }
std::u16string Okt(int32_t d) {
    // Octal digits are 3 bits wide, which 32 is no multiple of: the loop still
    // ends after 11 digits because the shifted value reaches 0.
    return PowerOfTwoDigits(static_cast<uint32_t>(d), 3);
}
std::u16string Bin(int32_t d) { return PowerOfTwoDigits(static_cast<uint32_t>(d), 1); }

std::u16string FieldText(std::u16string_view digits, int32_t n) {
    if (n < 1) return std::u16string(digits);
    const size_t size = static_cast<size_t>(n);
    std::u16string padded(size - digits.size() % size, u' ');
    padded += digits;
    return *services::GroupDigits(padded, n);
}

ConverterFields ConvertNumber(std::u16string_view input) {
    const std::u16string_view text = TrimBlanks(input);
    if (text.empty()) return Failure(errors::InvalidCall);
    int32_t value = 0;
    const Status read = text.front() == u'h' || text.front() == u'H'
                            ? ReadHexadecimal(text.substr(1), value)
                            : ReadDecimal(text, value);
    if (!read) return Failure(read.number());

    std::u16string decimal;
    if (value < 0) decimal = u"-";
    const uint32_t magnitude = value < 0 ? 0 - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    {
        char16_t buffer[10];
        char16_t* end = buffer + std::size(buffer);
        char16_t* at = end;
        uint32_t rest = magnitude;
        do {
            *--at = static_cast<char16_t>(u'0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        decimal.append(at, end);
    }

    ConverterFields fields;
    fields.hex = FieldText(Hex(value), 2);
    fields.dec = FieldText(decimal, 3);
    fields.oct = FieldText(Okt(value), 4);
    fields.bin = FieldText(Bin(value), 4);
    return fields;
}

}  // namespace kxsim::dialogs
