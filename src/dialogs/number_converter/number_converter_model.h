// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The number converter: one whole number, typed in decimal or as hexadecimal
// with a leading "h", shown in hexadecimal, decimal, octal and binary, each in
// blank-separated digit groups.

#include <cstdint>
#include <string>
#include <string_view>

#include "kxsimlib/status.h"

namespace kxsim::dialogs {

/// The four output fields of the converter.
struct ConverterFields {
    /// Ok when converted; else run-time error 5, 6 or 13, and each of the four
    /// texts is its description.
    Status status;
    std::u16string hex;  ///< TBHex, groups of 2
    std::u16string dec;  ///< TBDez, groups of 3
    std::u16string oct;  ///< TBOkt, groups of 4
    std::u16string bin;  ///< TBBin, groups of 4
};

/// Converts the text of the input field.
///
/// Blanks (spaces only) around the text are dropped; nothing left is error 5.
/// A text starting with "h" or "H" is hexadecimal (ReadHexadecimal of the rest).
/// Any other text must be an optional "-" followed by decimal digits, within
/// -2147483648..2147483647: anything else ("+5", "1.5", "1E3", "1 000",
/// "12abc") is error 13 (Type mismatch), a number out of range error 6 (Overflow).
///
/// Negative values show in full: the hexadecimal, octal and binary fields hold
/// the 32-bit two's complement (-1 is FFFFFFFF, 37777777777 and 32 ones), the
/// decimal field the signed text, whose "-" is padded and grouped as a digit.
ConverterFields ConvertNumber(std::u16string_view input);

/// Reads the text after the "h" as a hexadecimal number. Blanks, tabs and line
/// feeds are skipped wherever they stand; digits are taken up to the first
/// other character, and no digit at all is 0. Up to 4 digits (leading zeros
/// counted) are a 16-bit two's-complement value ("FFFF" is -1, "0FFFF" is
/// 65535), more are a 32-bit one ("FFFFFFFF" is -1); more than 8 digits after
/// the leading zeros are error 6 (Overflow).
Status ReadHexadecimal(std::u16string_view text, int32_t& value);

/// Reads an optional "-" followed by decimal digits; error 13 for any other
/// text, error 6 outside the 32-bit range.
Status ReadDecimal(std::u16string_view text, int32_t& value);

/// The uppercase hexadecimal digits of \a d, without leading zeros; a negative
/// \a d gives its 32-bit two's complement.
std::u16string Hex(int32_t d);
/// The octal digits of \a d, as Hex.
std::u16string Okt(int32_t d);
/// The binary digits of \a d, as Hex.
std::u16string Bin(int32_t d);

/// A digit string as a field shows it: padded in front with n - (length mod n)
/// blanks (a whole group of blanks when the length is a multiple of n), then
/// grouped by GroupDigits, so it starts and ends with a blank. \a n is 1 or more.
std::u16string FieldText(std::u16string_view digits, int32_t n);

}  // namespace kxsim::dialogs
