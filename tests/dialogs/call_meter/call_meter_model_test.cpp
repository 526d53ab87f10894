#include "dialogs/call_meter/call_meter_model.h"

#include <gtest/gtest.h>

#include <string>

using namespace kxsim::dialogs;
using kxsim::Status;

namespace {

std::string narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// The fields as "acm acmb | amv amvb | res resb | ppu ccu", easy to compare and read.
std::string show(const CallMeterFields& f) {
    return narrow(f.acm + u" " + f.acmb + u" | " + f.amv + u" " + f.amvb + u" | " + f.res + u" " + f.resb +
                  u" | " + f.ppu + u" " + f.ccu);
}

CallMeterFields opened(std::u16string_view acm, std::u16string_view amv, std::u16string_view ppu,
                       Status* status = nullptr) {
    CallMeterFields f;
    PutHostTexts(f, acm, amv, u"EUR", ppu);
    const Status s = OpenCallMeter(f);
    if (status) *status = s;
    else EXPECT_TRUE(s) << narrow(acm) << " " << narrow(amv) << " " << narrow(ppu);
    return f;
}

}  // namespace

TEST(call_meter_model, opening_fills_the_available_row_and_the_amounts) {
    const struct {
        std::u16string_view acm, amv, ppu;
        const char* expected;
    } rows[] = {
        {u"200", u"1000", u"12", "200 2400 | 1000 12000 | 800 9600 | 12 EUR"},
        {u"1200", u"1000", u"7", "1200 8400 | 1000 7000 | -200 -1400 | 7 EUR"},
        {u"200", u"1000", u"0", "200 0 | 1000 0 | 800 0 | 0 EUR"},
        {u"0", u"0", u"0", "0 0 | 0 0 | 0 0 | 0 EUR"},
        {u"", u"", u"", " 0 |  0 | 0 0 |  EUR"},
        // Texts that are no numbers read as 0 and stay as they are.
        {u"abc", u"1000", u"12", "abc 0 | 1000 12000 | 1000 12000 | 12 EUR"},
        {u"200", u"max", u"x", "200 0 | max 0 | -200 0 | x EUR"},
        {u"12a", u" 1 2", u"&H10", "12a 192 |  1 2 192 | 0 0 | &H10 EUR"},
        // Eight-digit meters at a four-digit price: the amounts are shown whole.
        {u"99999999", u"99999999", u"9999", "99999999 999899990001 | 99999999 999899990001 | 0 0 | 9999 EUR"},
        {u"99999999", u"1", u"9999", "99999999 999899990001 | 1 9999 | -99999998 -999899980002 | 9999 EUR"},
        // A host's price that is not whole hundredths still multiplies.
        {u"3", u"10", u"1.5", "3 4.5 | 10 15 | 7 10.5 | 1.5 EUR"},
        {u"3", u"2", u"-5", "3 -15 | 2 -10 | -1 5 | -5 EUR"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(show(opened(row.acm, row.amv, row.ppu)), row.expected) << narrow(row.acm);
}

TEST(call_meter_model, host_texts_are_cut_to_their_fields) {
    CallMeterFields f;
    PutHostTexts(f, u"123456789", u"9876543210", u"EURO", u"12345");
    EXPECT_EQ(f.acm, u"12345678");
    EXPECT_EQ(f.amv, u"98765432");
    EXPECT_EQ(f.ccu, u"EUR");
    EXPECT_EQ(f.ppu, u"1234");
    // The price field changed, so the amounts already follow it; the available
    // row waits for the opening.
    EXPECT_EQ(show(f), "12345678 15234566652 | 98765432 121876543088 | 0 0 | 1234 EUR");
}

TEST(call_meter_model, opening_fails_with_overflow_beyond_the_range_of_a_double) {
    for (const auto& [acm, ppu] : {std::pair{u"1E999", u"1"}, std::pair{u"1E300", u"1E99"}}) {
        Status status;
        opened(acm, u"0", ppu, &status);
        EXPECT_EQ(status.number(), 6) << narrow(acm);
        EXPECT_EQ(status.description(), u"Overflow");
    }
}

TEST(call_meter_model, a_key_release_keeps_its_row_and_the_available_row_in_step) {
    const struct {
        const char* what;
        std::u16string_view acm, acmb, amv, amvb, ppu;
        MeterField released;
        const char* expected;
    } rows[] = {
        {"total units", u"5", u"0", u"1000", u"12000", u"12", MeterField::Acm,
         "5 60 | 1000 12000 | 995 11940 | 12 EUR"},
        {"total amount, not corrected to the price", u"0", u"250", u"1000", u"100000", u"100", MeterField::Acmb,
         "2 250 | 1000 100000 | 998 99800 | 100 EUR"},
        {"total amount rounded down", u"0", u"2399", u"1000", u"12000", u"12", MeterField::Acmb,
         "199 2399 | 1000 12000 | 801 9612 | 12 EUR"},
        {"total amount at price 0", u"7", u"250", u"1000", u"0", u"0", MeterField::Acmb,
         "7 250 | 1000 0 | 993 0 | 0 EUR"},
        {"maximum units", u"200", u"2400", u"3", u"0", u"12", MeterField::Amv,
         "200 2400 | 3 36 | -197 -2364 | 12 EUR"},
        {"maximum amount", u"200", u"2400", u"0", u"6000", u"12", MeterField::Amvb,
         "200 2400 | 500 6000 | 300 3600 | 12 EUR"},
        {"maximum amount at price 0", u"200", u"0", u"keep", u"6000", u"0", MeterField::Amvb,
         "200 0 | keep 6000 | -200 0 | 0 EUR"},
        {"maximum amount at a price that is no number", u"1", u"0", u"9", u"6000", u"x", MeterField::Amvb,
         "1 0 | 9 6000 | 8 0 | x EUR"},
        {"empty total", u"", u"0", u"10", u"120", u"12", MeterField::Acm, " 0 | 10 120 | 10 120 | 12 EUR"},
        {"a host's text in the other row stays", u"abc", u"0", u"10", u"0", u"12", MeterField::Amv,
         "abc 0 | 10 120 | 10 120 | 12 EUR"},
        {"negative quotient rounds down", u"0", u"12", u"0", u"0", u"-5", MeterField::Acmb,
         "-3 12 | 0 0 | 3 -15 | -5 EUR"},
        {"computed units are cut to their field", u"0", u"99999999", u"0", u"0", u"0.5", MeterField::Acmb,
         "19999999 99999999 | 0 0 | -19999999 -9999999.5 | 0.5 EUR"},
        {"the longest amount", u"99999999", u"0", u"0", u"0", u"9999", MeterField::Acm,
         "99999999 999899990001 | 0 0 | -99999999 -999899990001 | 9999 EUR"},
        {"a long amount gives its units back", u"0", u"999899990001", u"0", u"0", u"9999", MeterField::Acmb,
         "99999999 999899990001 | 0 0 | -99999999 -999899990001 | 9999 EUR"},
    };
    for (const auto& row : rows) {
        CallMeterFields f;
        f.acm = row.acm, f.acmb = row.acmb, f.amv = row.amv, f.amvb = row.amvb, f.ppu = row.ppu;
        MeterKeyReleased(f, row.released);
        EXPECT_EQ(show(f), row.expected) << row.what;
    }
}

TEST(call_meter_model, key_releases_outside_the_four_meter_fields_change_nothing) {
    for (MeterField field : {MeterField::Res, MeterField::Resb, MeterField::Ppu, MeterField::Ccu}) {
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
    EXPECT_EQ(f.amvb, u"5");                 // 9.1e301 × 1e99 does not fit
    EXPECT_EQ(f.res.size(), 302u);           // 91E300 − 1, plain digits
    EXPECT_EQ(f.res.substr(0, 3), u"910");
    EXPECT_EQ(f.resb, u"0");                 // kept as well
}

TEST(call_meter_model, a_price_change_moves_the_amounts_and_leaves_the_units) {
    const struct {
        std::u16string_view ppu;
        const char* expected;
    } rows[] = {
        {u"5", "200 1000 | 1000 5000 | 800 4000 | 5 EUR"},
        {u"0", "200 0 | 1000 0 | 800 0 | 0 EUR"},
        {u"", "200 0 | 1000 0 | 800 0 |  EUR"},
        {u"9999", "200 1999800 | 1000 9999000 | 800 7999200 | 9999 EUR"},
    };
    for (const auto& row : rows) {
        CallMeterFields f = opened(u"200", u"1000", u"12");
        f.ppu = row.ppu;
        PriceChanged(f);
        EXPECT_EQ(show(f), row.expected) << narrow(row.ppu);
    }
    // An amount typed off the price is replaced by units × price.
    CallMeterFields f = opened(u"2", u"10", u"100");
    f.acmb = u"250";
    PriceChanged(f);
    EXPECT_EQ(f.acmb, u"200");
}

TEST(call_meter_model, clear_empties_one_row_and_the_available_row_follows) {
    const struct {
        int row;
        const char* expected;
    } rows[] = {
        {1, "0 0 | 1000 12000 | 1000 12000 | 12 EUR"},
        {2, "200 2400 | 0 0 | -200 -2400 | 12 EUR"},
        {0, "200 2400 | 1000 12000 | 800 9600 | 12 EUR"},
        {3, "200 2400 | 1000 12000 | 800 9600 | 12 EUR"},
    };
    for (const auto& row : rows) {
        CallMeterFields f = opened(u"200", u"1000", u"12");
        ClearMeterRow(f, row.row);
        EXPECT_EQ(show(f), row.expected) << row.row;
    }
}

TEST(call_meter_model, values_are_written_as_plain_decimal_text) {
    const struct {
        double value;
        const char* expected;
    } rows[] = {
        {0, "0"},
        {-0.0, "0"},
        {12, "12"},
        {-200, "-200"},
        {4.5, "4.5"},
        {-2.25, "-2.25"},
        {0.1 + 0.2, "0.3"},
        {1e20, "100000000000000000000"},
        {999899990001, "999899990001"},
        {123456789012345678.0, "123456789012346000"},
        {0.000125, "0.000125"},
        {1.5e-7, "0.00000015"},
        {10, "10"},
        {100.5, "100.5"},
    };
    for (const auto& row : rows) EXPECT_EQ(narrow(MeterText(row.value)), row.expected) << row.value;
}

TEST(call_meter_model, digits_only_fields_take_digits_within_their_limit) {
    const struct {
        std::u16string_view before, after;
        size_t limit;
        bool accepted;
    } rows[] = {
        {u"12", u"123", 8, true},
        {u"12", u"312", 8, true},
        {u"12", u"12a", 8, false},
        {u"12", u"-12", 8, false},
        {u"12", u"1.2", 8, false},
        {u"12", u"12 ", 8, false},
        {u"12", u"12\u0661", 8, false},   // an Arabic-Indic digit
        {u"12", u"12\uFF13", 8, false},   // a full-width digit
        {u"", u"12a", 8, false},          // a paste is refused whole
        {u"12", u"12345", 8, true},       // a paste of digits
        {u"1234", u"1994", 8, true},      // a selection replaced by digits
        {u"1234", u"1x4", 8, false},
        {u"1234567", u"12345678", 8, true},
        {u"12345678", u"123456789", 8, false},
        {u"123", u"1234", 4, true},
        {u"1234", u"12345", 4, false},
        {u"1234", u"124", 4, true},       // deleting
        {u"1234", u"", 4, true},
        // A longer text the dialog put there can lose characters but not gain any.
        {u"999899990001", u"99989999000", 8, true},
        {u"999899990001", u"999899990002", 8, false},
        {u"999899990001", u"12345", 8, true},
        // A host's text that is no number keeps its characters; only digits join them.
        {u"12a", u"12a3", 8, true},
        {u"12a", u"1", 8, true},
        {u"12a", u"12b", 8, false},
        {u"1a2", u"1a2", 8, true},
        {u"12", u"12", 8, true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(AcceptsDigitsEdit(row.before, row.after, row.limit), row.accepted)
            << narrow(row.before) << " -> " << narrow(row.after);
}
