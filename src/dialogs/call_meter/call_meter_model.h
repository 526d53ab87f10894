// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The call meter: units used and maximum units of a card, each with its amount
// of money at the price per unit, and what is still available, kept in step.
// The state is the eight field texts; every computation reads a field as the
// number at the start of its text and writes the plain decimal text back.

#include <cstddef>
#include <string>
#include <string_view>

#include "kxsimlib/status.h"

namespace kxsim::dialogs {

/// The fields of the window.
enum class MeterField {
    Acm,   ///< TBAcm, total units
    Acmb,  ///< TBAcmb, total amount
    Amv,   ///< TBAmv, maximum units
    Amvb,  ///< TBAmvb, maximum amount
    Res,   ///< TBRes, available units (display only)
    Resb,  ///< TBResb, available amount (display only)
    Ppu,   ///< TBPpu, price per unit in hundredths of the currency
    Ccu,   ///< TBCcu, currency code
};

/// The texts of the eight fields, in their design state.
struct CallMeterFields {
    std::u16string acm = u"0";
    std::u16string acmb = u"0";
    std::u16string amv = u"0";
    std::u16string amvb = u"0";
    std::u16string res = u"0";
    std::u16string resb = u"0";
    std::u16string ppu = u"0";
    std::u16string ccu = u"EUR";

    std::u16string& operator[](MeterField field);
    const std::u16string& operator[](MeterField field) const;
    friend bool operator==(const CallMeterFields&, const CallMeterFields&) = default;
};

/// How many characters the user may enter into \a field: 8 for the units and
/// amounts, 4 for the price, 3 for the currency; 0 (no limit) for the display-only
/// available row.
size_t MeterFieldLimit(MeterField field);

/// True for the five fields that take only the digits 0 to 9.
bool IsDigitsOnly(MeterField field);

/// The value of a field: the number at the start of its text, 0 for an empty
/// text or one that does not begin with a number.
double MeterValue(std::u16string_view text);

/// \a value as plain decimal text: at most 15 significant digits, no exponent,
/// no trailing zeros after a decimal point, "-" in front of a negative value.
std::u16string MeterText(double value);

/// Whether a digits-only field with room for \a limit characters may change from
/// \a before to \a after by one edit of the user (typing, pasting, dropping,
/// deleting): the characters that arrive must all be digits, and a text that
/// grows must stay within the limit. Taking characters away is always allowed,
/// also from a text that is longer than the limit.
bool AcceptsDigitsEdit(std::u16string_view before, std::u16string_view after, size_t limit);

/// Puts the host's four texts into their fields, in the order units used,
/// maximum units, currency, price, each cut to its field's limit. The price
/// field then changes, so the amounts follow it as with PriceChanged.
void PutHostTexts(CallMeterFields& fields, std::u16string_view acm, std::u16string_view amv,
                  std::u16string_view ccu, std::u16string_view ppu);

/// The derived fields on opening: available units = maximum − total, then the
/// total, maximum and available amounts at the price. Fails with run-time error
/// 6 (Overflow) when a result is beyond the range of a double; the fields
/// computed before it keep their new texts.
Status OpenCallMeter(CallMeterFields& fields);

/// A key was released in \a field (TBAcm, TBAcmb, TBAmv or TBAmvb; any other
/// field does nothing): (a) the other field of the row follows it (an amount
/// gives the units rounded down at the price; at price 0 the units keep their
/// text), then (b) available units = maximum − total and (c) available amount =
/// available units × price. A result beyond the range of a double leaves its
/// field as it was, and the steps after it still run.
void MeterKeyReleased(CallMeterFields& fields, MeterField field);

/// The price field changed: the three amounts follow at the new price; the unit
/// fields stay as they are. A result beyond the range of a double leaves its
/// field as it was.
void PriceChanged(CallMeterFields& fields);

/// Clear of row 1 (total) or row 2 (maximum): both fields of the row become "0",
/// then the available row follows. Any other row does nothing.
void ClearMeterRow(CallMeterFields& fields, int row);

}  // namespace kxsim::dialogs
