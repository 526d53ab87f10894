// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The codings of the GSM SIM's files (3GPP TS 51.011, section 10) that the
// card commands read and write: call meter, price per unit, network codes,
// card number.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "transport.h"

namespace kxsim::card {

/// EF ACM record and EF ACMmax: three bytes, most significant first.
inline constexpr uint32_t kMaxMeterUnits = 0xFFFFFF;
uint32_t meterUnits(const Bytes& bytes);  ///< throws CardError (Answer) unless 3 bytes
Bytes meterBytes(uint32_t units);

/// EF PUCT: currency (3 characters of the SMS default alphabet, bit 8 zero)
/// and the price per unit EPPU x 10^EX: EPPU in byte 4 and the low half of
/// byte 5 (12 bits), the sign of EX in b5 and its absolute value in b6-b8.
struct Price {
    Bytes currency;  ///< the three bytes as on the card
    uint16_t eppu = 0;
    int exponent = 0;  ///< -7 to 7
};
inline constexpr uint16_t kMaxEppu = 4095;
Price decodePrice(const Bytes& bytes);  ///< throws CardError (Answer) unless 5 bytes
Bytes encodePrice(const Price& price);

/// The currency as text: letters, digits and blanks as themselves; the
/// padding (FF) ends it; any other character shows as "?".
std::string currencyText(const Bytes& currency);
/// The three bytes of a currency typed by the user, or nothing when it holds
/// a character other than letters, digits and blanks, or more than three.
std::optional<Bytes> currencyBytes(std::u16string_view text);

/// The price in hundredths of the currency unit, and whether that is exact
/// (an EX below -2 may leave a fraction; then the nearest, halves up).
struct Hundredths {
    uint64_t value = 0;
    bool exact = true;
};
Hundredths priceInHundredths(const Price& price);
/// The card's coding of \a hundredths: the smallest EX from -2 up whose
/// EPPU is whole and at most 4095; nothing when there is none (4097 needs
/// 13 bits and is not a multiple of ten).
std::optional<Price> priceOfHundredths(const Bytes& currency, uint64_t hundredths);

/// A network in EF PLMNsel and EF FPLMN: three bytes of BCD, MCC digit 2 and
/// 1, MNC digit 3 and MCC digit 3, MNC digit 2 and 1; MNC digit 3 is F for a
/// two-digit MNC. The key is MCC and MNC as digits ("26201", "310260"); an
/// empty entry (FF FF FF) gives "". Throws CardError (Answer) for other nibbles.
std::string plmnKey(const uint8_t* three);
/// The three bytes of \a key, or nothing with \a why saying what is wrong
/// with it: five or six digits (MCC and a two- or three-digit MNC). Test
/// networks (001-01) and international codes (901) are network codes too.
std::optional<std::array<uint8_t, 3>> plmnBytes(std::u16string_view key, std::string& why);

/// EF ICCID: up to 20 BCD digits, low nibble first; F pads.
std::string iccidDigits(const Bytes& bytes);

}  // namespace kxsim::card
