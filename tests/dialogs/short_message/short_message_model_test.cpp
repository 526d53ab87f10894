// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/short_message/short_message_model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "platform/profile_reader.h"
#include "platform/text_codec.h"

using namespace kxsim::dialogs;
using Entries = std::vector<ValidityEntry>;

namespace {

std::u16string u16(const std::string& text) { return kxsim::platform::fromUtf8(text); }

// A lookup over fixed values that records every key asked for.
struct RecordingLookup {
    std::map<std::u16string, std::u16string> values;
    std::vector<std::u16string> asked;
    ProfileLookup lookup() {
        return [this](const std::u16string& key) {
            asked.push_back(key);
            const auto it = values.find(key);
            return it == values.end() ? std::u16string() : it->second;
        };
    }
};

// Reads section SMS_VP of \a file as the form does.
ProfileLookup fileLookup(const std::u16string& file) {
    return [file](const std::u16string& key) {
        return kxsim::platform::profileString(file, kValiditySection, key, u"", 60000);
    };
}

}  // namespace

TEST(short_message_model, parses_an_entry_into_label_and_item_value) {
    const struct { std::u16string_view value; ValidityEntry expected; } rows[] = {
        {u"1 hour,11", {u"1 hour", 11}}, {u"1 day,167,relative,x", {u"1 day", 167}},  // later parts ignored
        {u" 5 min , 0 ", {u" 5 min ", 0}},  // the label stays as it stands
        {u"plus,+7", {u"plus", 7}}, {u",12", {u"", 12}},
        {u"max,2147483647", {u"max", 2147483647}}, {u"min,-2147483648", {u"min", -2147483647 - 1}},
        // Entries the list cannot take a number from keep their label with 0.
        {u"too big,2147483648", {u"too big", 0}}, {u"too small,-2147483649", {u"too small", 0}},
        {u"no comma", {u"no comma", 0}}, {u"empty,", {u"empty", 0}}, {u"word,soon", {u"word", 0}},
        {u"trailing,12abc", {u"trailing", 0}}, {u"inner blank,1 2", {u"inner blank", 0}},
        {u"hex,&H10", {u"hex", 0}}, {u"empty second,,5", {u"empty second", 0}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ParseValidityEntry(row.value), row.expected) << std::string(row.value.begin(), row.value.end());
}

// Reading the profile file (missing file, section, quotes) is the profile reader's; here: which keys are read.
TEST(short_message_model, reads_keys_1_to_100_up_to_the_first_empty_value) {
    RecordingLookup gap, full;
    gap.values = {{u"1", u"5 min,0"}, {u"2", u"30 min,5,x"}, {u"3", u"bad entry"}, {u"5", u"1 week,173"}};
    EXPECT_EQ(ReadValidityList(gap.lookup()), (Entries{{u"5 min", 0}, {u"30 min", 5}, {u"bad entry", 0}}));
    EXPECT_EQ(gap.asked, (std::vector<std::u16string>{u"1", u"2", u"3", u"4"}));
    for (int n = 1; n <= 101; ++n) full.values[u16(std::to_string(n))] = u16("e" + std::to_string(n) + "," + std::to_string(n));
    const Entries entries = ReadValidityList(full.lookup());
    ASSERT_EQ(entries.size(), 100u);
    EXPECT_EQ(entries.back(), (ValidityEntry{u"e100", 100}));
    EXPECT_EQ(full.asked.size(), 100u);  // key 101 is never read
}

// Each label of the shipped list names the period its relative validity-period octet encodes.
TEST(short_message_model, the_shipped_periods_match_their_octet_values) {
    const std::map<std::string, int64_t> unitMinutes = {{"min", 1},     {"hour", 60},   {"hours", 60},   {"day", 1440},
                                                        {"days", 1440}, {"week", 10080}, {"weeks", 10080}};
    const Entries entries = ReadValidityList(fileLookup(u16(KXSIM_MOBIL_INI)));
    ASSERT_GE(entries.size(), 10u);
    int64_t previous = -1;
    for (const ValidityEntry& e : entries) {
        const std::string label(e.label.begin(), e.label.end());
        const int64_t v = e.value;
        const int64_t minutes = v <= 143 ? (v + 1) * 5 : v <= 167 ? 720 + (v - 143) * 30 : v <= 196 ? (v - 166) * 1440 : (v - 192) * 10080;
        long long count = 0;
        char unit[16] = {};
        ASSERT_EQ(std::sscanf(label.c_str(), "%lld %15s", &count, unit), 2) << label;
        ASSERT_TRUE(unitMinutes.contains(unit)) << label;
        EXPECT_EQ(count * unitMinutes.at(unit), minutes) << label;
        EXPECT_GT(v, previous) << label << " is out of order";
        EXPECT_LE(v, 255) << label;
        previous = v;
    }
}
