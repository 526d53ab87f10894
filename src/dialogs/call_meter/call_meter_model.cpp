// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/call_meter/call_meter_model.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "services/leading_number.h"

namespace kxsim::dialogs {
namespace {

constexpr size_t kMeterLimit = 8;
constexpr size_t kPriceLimit = 4;
constexpr size_t kCurrencyLimit = 3;

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string cut(std::u16string_view text, size_t limit) {
    return std::u16string(limit == 0 ? text : text.substr(0, limit));
}

// Writes a computed value into a field. A result beyond the range of a double
// leaves the field as it was. The unit fields go back to the host and hold at
// most their limit; amounts and the available row are shown whole.
bool put(CallMeterFields& fields, MeterField field, double value) {
    if (!std::isfinite(value)) return false;
    const std::u16string text = MeterText(value);
    const bool units = field == MeterField::Acm || field == MeterField::Amv;
    fields[field] = units ? cut(text, MeterFieldLimit(field)) : text;
    return true;
}

double valueOf(const CallMeterFields& fields, MeterField field) { return MeterValue(fields[field]); }

bool amountOf(CallMeterFields& fields, MeterField amount, MeterField units) {
    return put(fields, amount, valueOf(fields, units) * valueOf(fields, MeterField::Ppu));
}

// Units from an amount, rounded down; at price 0 the units keep their text.
bool unitsOf(CallMeterFields& fields, MeterField units, MeterField amount) {
    const double price = valueOf(fields, MeterField::Ppu);
    if (price == 0) return true;
    return put(fields, units, std::floor(valueOf(fields, amount) / price));
}

bool availableRow(CallMeterFields& fields) {
    const bool units = put(fields, MeterField::Res, valueOf(fields, MeterField::Amv) - valueOf(fields, MeterField::Acm));
    const bool amount = amountOf(fields, MeterField::Resb, MeterField::Res);
    return units && amount;
}

}  // namespace

std::u16string& CallMeterFields::operator[](MeterField field) {
    return const_cast<std::u16string&>(std::as_const(*this)[field]);
}

const std::u16string& CallMeterFields::operator[](MeterField field) const {
    switch (field) {
    case MeterField::Acm: return acm;
    case MeterField::Acmb: return acmb;
    case MeterField::Amv: return amv;
    case MeterField::Amvb: return amvb;
    case MeterField::Res: return res;
    case MeterField::Resb: return resb;
    case MeterField::Ppu: return ppu;
    case MeterField::Ccu: break;
    }
    return ccu;
}

size_t MeterFieldLimit(MeterField field) {
    switch (field) {
    case MeterField::Acm:
    case MeterField::Acmb:
    case MeterField::Amv:
    case MeterField::Amvb: return kMeterLimit;
    case MeterField::Ppu: return kPriceLimit;
    case MeterField::Ccu: return kCurrencyLimit;
    case MeterField::Res:
    case MeterField::Resb: break;
    }
    return 0;
}

bool IsDigitsOnly(MeterField field) {
    return field == MeterField::Acm || field == MeterField::Acmb || field == MeterField::Amv ||
           field == MeterField::Amvb || field == MeterField::Ppu;
}

double MeterValue(std::u16string_view text) { return services::LeadingNumber(text); }

std::u16string MeterText(double value) {
    if (value == 0 || !std::isfinite(value)) return u"0";  // also turns -0 into "0"
    // Fifteen significant digits, "d.dddddddddddddde+XX", placed as plain decimals.
    char buffer[48];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                         std::chars_format::scientific, 14);
    if (ec != std::errc()) return u"0";
    const std::string_view sci(buffer, static_cast<size_t>(end - buffer));
    const size_t e = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, e))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());

    std::string text = value < 0 ? "-" : "";
    const long point = static_cast<long>(exponent) + 1;  // digits before the decimal point
    const long count = static_cast<long>(digits.size());
    if (point <= 0) {
        text += "0." + std::string(static_cast<size_t>(-point), '0') + digits;
    } else if (point >= count) {
        text += digits + std::string(static_cast<size_t>(point - count), '0');
    } else {
        text += digits.substr(0, static_cast<size_t>(point)) + "." + digits.substr(static_cast<size_t>(point));
    }
    return std::u16string(text.begin(), text.end());
}

bool AcceptsDigitsEdit(std::u16string_view before, std::u16string_view after, size_t limit) {
    // One edit replaces one stretch of the text: what lies between the common
    // start and the common end of the two texts is what arrived.
    size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const std::u16string_view arrived = after.substr(head, after.size() - head - tail);
    for (char16_t c : arrived)
        if (!isDigit(c)) return false;
    return arrived.empty() || limit == 0 || after.size() <= limit;
}

void PutHostTexts(CallMeterFields& fields, std::u16string_view acm, std::u16string_view amv,
                  std::u16string_view ccu, std::u16string_view ppu) {
    fields.acm = cut(acm, kMeterLimit);
    fields.amv = cut(amv, kMeterLimit);
    fields.ccu = cut(ccu, kCurrencyLimit);
    const std::u16string price = cut(ppu, kPriceLimit);
    if (price == fields.ppu) return;  // no change of the field, so nothing follows it
    fields.ppu = price;
    PriceChanged(fields);
}

Status OpenCallMeter(CallMeterFields& fields) {
    const bool ok = put(fields, MeterField::Res, valueOf(fields, MeterField::Amv) - valueOf(fields, MeterField::Acm)) &&
                    amountOf(fields, MeterField::Acmb, MeterField::Acm) &&
                    amountOf(fields, MeterField::Amvb, MeterField::Amv) &&
                    amountOf(fields, MeterField::Resb, MeterField::Res);
    return ok ? Status() : Status::error(errors::Overflow);
}

void MeterKeyReleased(CallMeterFields& fields, MeterField field) {
    switch (field) {
    case MeterField::Acm: amountOf(fields, MeterField::Acmb, MeterField::Acm); break;
    case MeterField::Acmb: unitsOf(fields, MeterField::Acm, MeterField::Acmb); break;
    case MeterField::Amv: amountOf(fields, MeterField::Amvb, MeterField::Amv); break;
    case MeterField::Amvb: unitsOf(fields, MeterField::Amv, MeterField::Amvb); break;
    default: return;
    }
    availableRow(fields);
}

void PriceChanged(CallMeterFields& fields) {
    amountOf(fields, MeterField::Acmb, MeterField::Acm);
    amountOf(fields, MeterField::Amvb, MeterField::Amv);
    amountOf(fields, MeterField::Resb, MeterField::Res);
}

void ClearMeterRow(CallMeterFields& fields, int row) {
    if (row == 1) {
        fields.acm = fields.acmb = u"0";
    } else if (row == 2) {
        fields.amv = fields.amvb = u"0";
    } else {
        return;
    }
    availableRow(fields);
}

}  // namespace kxsim::dialogs
