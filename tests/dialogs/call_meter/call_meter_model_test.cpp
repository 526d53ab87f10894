// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/call_meter/call_meter_model.h"

#include <gtest/gtest.h>

#include <string>

#include "support/texts.h"

using namespace kxsim::dialogs;
using kxsim::Status;
using kxsim::test::narrow;

namespace {

// The fields as "acm acmb | amv amvb | res resb | ppu ccu", easy to compare and read.
std::string show(const CallMeterFields& f) {
    return narrow(f.acm + u" " + f.acmb + u" | " + f.amv + u" " + f.amvb + u" | " + f.res + u" " + f.resb +
                  u" | " + f.ppu + u" " + f.ccu);
}

CallMeterFields opened(std::u16string_view acm, std::u16string_view amv, std::u16string_view ppu,
                       Status* status = nullptr) {
    CallMeterFields f;
    PutHostTexts(f, acm, amv, u"EURO", ppu);  // the unit is cut to three characters
    const Status s = OpenCallMeter(f);
    if (status) *status = s;
    else EXPECT_TRUE(s) << narrow(acm) << " " << narrow(amv) << " " << narrow(ppu);
    return f;
}

}  // namespace

TEST(call_meter_model, opening_fills_the_available_row_and_the_amounts_or_fails_with_overflow_beyond_a_double) {
    const struct { std::u16string_view acm, amv, ppu; const char* expected; } rows[] = {
        {u"200", u"1000", u"12", "200 2400 | 1000 12000 | 800 9600 | 12 EUR"},
        {u"", u"", u"", " 0 |  0 | 0 0 |  EUR"},
        // The host's texts are read by their leading numbers (leading_number_test has the rules) and stay as they are.
        {u"12a", u" 1 2", u"&H10", "12a 192 |  1 2 192 | 0 0 | &H10 EUR"},
        // Eight-digit meters at a four-digit price: the amounts are shown whole.
        {u"99999999", u"1", u"9999", "99999999 999899990001 | 1 9999 | -99999998 -999899980002 | 9999 EUR"},
        {u"3", u"10", u"1.5", "3 4.5 | 10 15 | 7 10.5 | 1.5 EUR"},
        // Texts are cut to their fields; the amounts follow the cut price.
        {u"123456789", u"9876543210", u"12345",
         "12345678 15234566652 | 98765432 121876543088 | 86419754 106641976436 | 1234 EUR"},
        {u"1E999", u"0", u"1", nullptr}, {u"1E300", u"0", u"1E99", nullptr},  // nullptr: "Overflow"
    };
    for (const auto& row : rows) {
        Status status;
        const CallMeterFields f = opened(row.acm, row.amv, row.ppu, &status);
        EXPECT_EQ(status, row.expected ? Status() : Status::error(6, u"Overflow")) << narrow(row.acm);
        if (row.expected) {
            EXPECT_EQ(show(f), row.expected) << narrow(row.acm);
        }
    }
}

TEST(call_meter_model, a_key_release_keeps_its_row_and_the_available_row_in_step) {
    using enum MeterField;
    const struct { std::u16string_view acm, acmb, amv, amvb, ppu; MeterField released; const char* expected; } rows[] = {
        {u"5", u"0", u"1000", u"12000", u"12", Acm, "5 60 | 1000 12000 | 995 11940 | 12 EUR"},
        {u"0", u"250", u"1000", u"100000", u"100", Acmb, "2 250 | 1000 100000 | 998 99800 | 100 EUR"},
        {u"0", u"2399", u"1000", u"12000", u"12", Acmb, "199 2399 | 1000 12000 | 801 9612 | 12 EUR"},
        {u"7", u"250", u"1000", u"0", u"0", Acmb, "7 250 | 1000 0 | 993 0 | 0 EUR"},  // price 0 keeps the units
        {u"200", u"2400", u"3", u"0", u"12", Amv, "200 2400 | 3 36 | -197 -2364 | 12 EUR"},
        {u"200", u"2400", u"0", u"6000", u"12", Amvb, "200 2400 | 500 6000 | 300 3600 | 12 EUR"},
        {u"", u"0", u"10", u"120", u"12", Acm, " 0 | 10 120 | 10 120 | 12 EUR"},
        {u"0", u"12", u"0", u"0", u"-5", Acmb, "-3 12 | 0 0 | 3 -15 | -5 EUR"},  // rounds down, not to 0
        // Computed units are cut to their field; amounts are shown whole.
        {u"0", u"99999999", u"0", u"0", u"0.5", Acmb, "19999999 99999999 | 0 0 | -19999999 -9999999.5 | 0.5 EUR"},
        {u"99999999", u"0", u"0", u"0", u"9999", Acm, "99999999 999899990001 | 0 0 | -99999999 -999899990001 | 9999 EUR"},
    };
    for (const auto& row : rows) {
        CallMeterFields f;
        f.acm = row.acm, f.acmb = row.acmb, f.amv = row.amv, f.amvb = row.amvb, f.ppu = row.ppu;
        MeterKeyReleased(f, row.released);
        EXPECT_EQ(show(f), row.expected) << narrow(row.acm) << " " << narrow(row.acmb);
    }
    for (MeterField field : {Res, Resb, Ppu, Ccu}) {  // outside the four meter fields nothing changes
        CallMeterFields f;
        f.acm = u"5", f.amv = u"9", f.ppu = u"3";
        const CallMeterFields before = f;
        MeterKeyReleased(f, field);
        EXPECT_EQ(f, before);
    }
}

TEST(call_meter_model, a_result_beyond_a_double_leaves_its_field_and_the_steps_go_on) {
    CallMeterFields f;
    f.acm = u"1", f.amv = u"91E300", f.amvb = u"5", f.ppu = u"1E99";
    MeterKeyReleased(f, MeterField::Amv);
    // 9.1e301 × 1e99 does not fit: both amounts keep their texts; 91E300 − 1 comes in plain digits.
    EXPECT_EQ(f.amvb + u" " + f.resb + u" " + f.res.substr(0, 3), u"5 0 910");
    EXPECT_EQ(f.res.size(), 302u);
}

TEST(call_meter_model, a_price_change_or_a_clear_moves_only_what_follows_it) {
    const struct { std::u16string_view ppu; int clear; const char* expected; } rows[] = {
        {u"5", 0, "200 1000 | 1000 5000 | 800 4000 | 5 EUR"},
        {u"", 0, "200 0 | 1000 0 | 800 0 |  EUR"},
        {u"12", 1, "0 0 | 1000 12000 | 1000 12000 | 12 EUR"},
        {u"12", 2, "200 2400 | 0 0 | -200 -2400 | 12 EUR"},
        {u"12", 3, "200 2400 | 1000 12000 | 800 9600 | 12 EUR"},
    };
    for (const auto& row : rows) {
        CallMeterFields f = opened(u"200", u"1000", u"12");
        f.ppu = row.ppu;
        if (row.clear) ClearMeterRow(f, row.clear);
        else PriceChanged(f);
        EXPECT_EQ(show(f), row.expected) << narrow(row.ppu) << " " << row.clear;
    }
    CallMeterFields f = opened(u"2", u"10", u"100");
    f.acmb = u"250";  // an amount typed off the price is replaced by units × price
    PriceChanged(f);
    EXPECT_EQ(f.acmb, u"200");
}

TEST(call_meter_model, values_are_written_as_plain_decimal_text) {
    const struct { double value; const char* expected; } rows[] = {
        {0, "0"}, {-0.0, "0"}, {-200, "-200"}, {4.5, "4.5"}, {100.5, "100.5"}, {0.1 + 0.2, "0.3"},
        {1e20, "100000000000000000000"}, {123456789012345678.0, "123456789012346000"},
        {0.000125, "0.000125"}, {-1.5e-7, "-0.00000015"},
    };
    for (const auto& row : rows) EXPECT_EQ(narrow(MeterText(row.value)), row.expected) << row.value;
}

TEST(call_meter_model, digits_only_fields_take_digits_within_their_limit) {
    const struct { std::u16string_view before, after; size_t limit; bool accepted; } rows[] = {
        {u"12", u"312", 8, true},      {u"12", u"12a", 8, false},     {u"12", u"12\u0661", 8, false},
        {u"", u"12a", 8, false},       {u"1234", u"1994", 8, true},   {u"1234", u"1x4", 8, false},
        {u"1234567", u"12345678", 8, true},  {u"12345678", u"123456789", 8, false},
        {u"1234", u"12345", 4, false}, {u"1234", u"124", 4, true},    {u"12", u"12", 8, true},
        // A longer text the dialog put there can lose characters but not gain any.
        {u"999899990001", u"99989999000", 8, true}, {u"999899990001", u"999899990002", 8, false},
        // A host's text that is no number keeps its characters; only digits join them.
        {u"12a", u"12a3", 8, true},    {u"12a", u"12b", 8, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(AcceptsDigitsEdit(row.before, row.after, row.limit), row.accepted)
            << narrow(row.before) << " -> " << narrow(row.after);
}
