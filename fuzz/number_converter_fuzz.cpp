// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The number converter's conversion and the digit grouping on arbitrary text.

#include <cstdint>
#include <string>

#include "dialogs/number_converter/number_converter_model.h"
#include "fuzz_input.h"
#include "services/group_digits.h"

using namespace kxsim;

namespace {

std::u16string withoutBlanks(const std::u16string& text) {
    std::u16string out;
    for (char16_t c : text)
        if (c != u' ') out += c;
    return out;
}

// The value a field's digits stand for, in base \a base, as 32 bits.
uint32_t digitsValue(const std::u16string& digits, uint32_t base) {
    uint64_t value = 0;
    for (char16_t c : digits) {
        const uint32_t d = c <= u'9' ? c - u'0' : c - u'A' + 10;
        if (d >= base) __builtin_trap();
        value = value * base + d;
        if (value > 0xFFFFFFFFu) __builtin_trap();
    }
    return static_cast<uint32_t>(value);
}

void checkConversion(std::u16string_view input) {
    const dialogs::ConverterFields fields = dialogs::ConvertNumber(input);
    if (!fields.status) {
        const int32_t n = fields.status.number();
        if (n != 5 && n != 6 && n != 13) __builtin_trap();
        const std::u16string& d = fields.status.description();
        if (fields.hex != d || fields.dec != d || fields.oct != d || fields.bin != d) __builtin_trap();
        return;
    }
    // Every field starts and ends with a blank and stands for the same 32 bits.
    for (const std::u16string* f : {&fields.hex, &fields.dec, &fields.oct, &fields.bin})
        if (f->size() < 2 || f->front() != u' ' || f->back() != u' ') __builtin_trap();
    const uint32_t hex = digitsValue(withoutBlanks(fields.hex), 16);
    if (digitsValue(withoutBlanks(fields.oct), 8) != hex) __builtin_trap();
    if (digitsValue(withoutBlanks(fields.bin), 2) != hex) __builtin_trap();
    std::u16string dec = withoutBlanks(fields.dec);
    const bool negative = !dec.empty() && dec.front() == u'-';
    if (negative) dec.erase(0, 1);
    const uint32_t magnitude = digitsValue(dec, 10);
    if ((negative ? 0 - magnitude : magnitude) != hex) __builtin_trap();
    if (negative != (static_cast<int32_t>(hex) < 0)) __builtin_trap();
}

void checkGrouping(std::u16string_view text, int32_t n) {
    const auto grouped = services::GroupDigits(text, n);
    if (n < 1) {
        if (grouped) __builtin_trap();
        return;
    }
    if (!grouped) __builtin_trap();
    const size_t size = static_cast<size_t>(n);
    const size_t groups = (text.size() + size - 1) / size;
    if (grouped->size() != text.size() + groups) __builtin_trap();
    // Each group of n characters is followed by one blank.
    for (size_t g = 0, at = 0; g < groups; ++g) {
        const size_t len = std::min(size, text.size() - g * size);
        if (std::u16string_view(*grouped).substr(at, len) != text.substr(g * size, len)) __builtin_trap();
        at += len;
        if ((*grouped)[at++] != u' ') __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    int32_t n = 0;
    for (int i = 0; i < 4; ++i) n = static_cast<int32_t>(static_cast<uint32_t>(n) << 8 | in.byte());
    // Small group sizes are the interesting ones; the rest stay possible.
    if (in.byte() & 1) n %= 70;
    const std::u16string text = in.longText(2048);
    checkConversion(text);
    checkGrouping(text, n);
    return 0;
}
