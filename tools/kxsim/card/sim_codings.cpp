// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "sim_codings.h"

#include <cstdio>

namespace kxsim::card {

namespace {

bool plainCharacter(char16_t c) {
    // Letters, digits and the blank have the same code in the SMS default
    // alphabet as in ASCII; other characters differ ('@' is 00, '$' is 02).
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u' ';
}
}  // namespace

uint32_t meterUnits(const Bytes& bytes) {
    if (bytes.size() != 3)
        throw malformedAnswer("a call meter value is 3 bytes, the card gave " + std::to_string(bytes.size()));
    return (uint32_t(bytes[0]) << 16) | (uint32_t(bytes[1]) << 8) | bytes[2];
}

Bytes meterBytes(uint32_t units) {
    return {uint8_t(units >> 16), uint8_t(units >> 8), uint8_t(units)};
}

Price decodePrice(const Bytes& bytes) {
    if (bytes.size() != 5)
        throw malformedAnswer("EF PUCT is 5 bytes, the card gave " + std::to_string(bytes.size()));
    Price price;
    price.currency.assign(bytes.begin(), bytes.begin() + 3);
    price.eppu = uint16_t((bytes[3] << 4) | (bytes[4] & 0x0F));
    const int magnitude = bytes[4] >> 5;
    price.exponent = (bytes[4] & 0x10) ? -magnitude : magnitude;
    return price;
}

Bytes encodePrice(const Price& price) {
    Bytes bytes = price.currency;
    bytes.resize(3, 0xFF);
    const int magnitude = price.exponent < 0 ? -price.exponent : price.exponent;
    bytes.push_back(uint8_t(price.eppu >> 4));
    bytes.push_back(uint8_t((magnitude << 5) | (price.exponent < 0 ? 0x10 : 0) | (price.eppu & 0x0F)));
    return bytes;
}

std::string currencyText(const Bytes& currency) {
    std::string text;
    for (uint8_t b : currency) {
        if (b == 0xFF) break;
        text += plainCharacter(b) ? char(b) : '?';
    }
    return text;
}

std::optional<Bytes> currencyBytes(std::u16string_view text) {
    if (text.size() > 3) return std::nullopt;
    Bytes bytes;
    for (char16_t c : text) {
        if (!plainCharacter(c)) return std::nullopt;
        bytes.push_back(uint8_t(c));
    }
    bytes.resize(3, 0xFF);
    return bytes;
}

Hundredths priceInHundredths(const Price& price) {
    int shift = price.exponent + 2;  // hundredths = EPPU x 10^(EX + 2)
    uint64_t value = price.eppu;
    if (shift >= 0) {
        while (shift-- > 0) value *= 10;
        return {value, true};
    }
    uint64_t divisor = 1;
    while (shift++ < 0) divisor *= 10;
    return {(value + divisor / 2) / divisor, value % divisor == 0};
}

std::optional<Price> priceOfHundredths(const Bytes& currency, uint64_t hundredths) {
    uint64_t eppu = hundredths;
    for (int exponent = -2; exponent <= 7; ++exponent) {
        if (eppu <= kMaxEppu) return Price{currency, uint16_t(eppu), hundredths == 0 ? 0 : exponent};
        if (eppu % 10 != 0) return std::nullopt;
        eppu /= 10;
    }
    return std::nullopt;
}

std::string plmnKey(const uint8_t* p) {
    if (p[0] == 0xFF && p[1] == 0xFF && p[2] == 0xFF) return {};
    const int nibbles[] = {p[0] & 0x0F, p[0] >> 4, p[1] & 0x0F, p[2] & 0x0F, p[2] >> 4, p[1] >> 4};
    std::string key;
    for (int i = 0; i < 6; ++i) {
        if (i == 5 && nibbles[i] == 0x0F) break;  // two-digit MNC
        if (nibbles[i] > 9) {
            char bytes[8];
            std::snprintf(bytes, sizeof bytes, "%02X%02X%02X", p[0], p[1], p[2]);
            throw malformedAnswer(std::string("a network entry holds no MCC/MNC (") + bytes + ")");
        }
        key += char('0' + nibbles[i]);
    }
    return key;
}

std::optional<std::array<uint8_t, 3>> plmnBytes(std::u16string_view key, std::string& why) {
    bool digits = key.size() == 5 || key.size() == 6;
    for (char16_t c : key) digits = digits && c >= u'0' && c <= u'9';
    if (!digits) {
        std::string shown;
        for (char16_t c : key) shown += c < 0x80 ? char(c) : '?';
        why = "\"" + shown + "\" is not a network code: MCC and MNC are five or six digits";
        return std::nullopt;
    }
    auto d = [&](size_t i) { return uint8_t(i < key.size() ? key[i] - u'0' : 0x0F); };
    return std::array<uint8_t, 3>{uint8_t(d(1) << 4 | d(0)), uint8_t(d(5) << 4 | d(2)), uint8_t(d(4) << 4 | d(3))};
}

std::string iccidDigits(const Bytes& bytes) {
    std::string digits;
    for (uint8_t b : bytes)
        for (int nibble : {b & 0x0F, b >> 4}) {
            if (nibble == 0x0F) return digits;
            digits += nibble <= 9 ? char('0' + nibble) : '?';
        }
    return digits;
}

}  // namespace kxsim::card
