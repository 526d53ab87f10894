// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Reading the number at the start of a text, the way every numeric field,
// stored setting and key of the library is read.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kxsim::services {

/// The number at the start of \a text. Blanks, tabs and line feeds are skipped
/// wherever they stand ("1 2" reads 12). An optional sign, digits, a decimal
/// part after "." and an exponent (E or D, optional sign, digits) are taken up
/// to the first character that cannot continue the number. "&H" and "&O" start
/// a hexadecimal or octal number; up to 4 hexadecimal (6 octal) digits read as
/// a 16-bit and up to 8 (11) as a 32-bit two's-complement value, so "&HFFFF"
/// is -1 and "&H10000" is 65536. A text that does not begin with a number reads 0.
double LeadingNumber(std::u16string_view text);

/// \a value rounded to the nearest whole number, halves to the even neighbour;
/// nothing when the result does not fit the type (run-time error 6, Overflow).
std::optional<int32_t> ToLong(double value);
std::optional<int16_t> ToInteger(double value);

/// LeadingNumber followed by ToLong.
std::optional<int32_t> LongOfText(std::u16string_view text);

}  // namespace kxsim::services
