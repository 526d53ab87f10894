// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/card_reader/card_reader_model.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/counting_settings_store.h"

using namespace kxsim::dialogs;
using kxsim::core::MemorySettingsStore;
using Names = std::vector<std::u16string>;
using Stored = std::map<std::u16string, std::u16string>;

namespace {

std::u16string nul(std::u16string_view text) {
    std::u16string out(text);
    std::ranges::replace(out, u'|', u'\0');
    return out;
}

// Loads the two readers "A" and "B" over a state left from an earlier call.
kxsim::Status load(CardReaderState& state, const Stored& stored) {
    kxsim::test::CountingSettingsStore store;
    store.values = stored;
    state.readers = {u"left over"};
    const kxsim::Status loaded = LoadCardReader(state, nul(u"A|B"), store);
    EXPECT_EQ(store.reads, 1) << "an opening reads the store once";
    return loaded;
}

}  // namespace

TEST(card_reader_model, splits_the_reader_list_keeping_empty_pieces) {
    const struct { std::u16string_view list; Names expected; } rows[] = {  // "|" stands for NUL
        {u"", {}}, {u"A", {u"A"}}, {u"A|B|", {u"A", u"B", u""}}, {u"|A", {u"", u"A"}}, {u"A||B", {u"A", u"", u"B"}},
    };
    for (const auto& row : rows) EXPECT_EQ(SplitReaderList(nul(row.list)), row.expected);
}

TEST(card_reader_model, selects_the_last_exact_match_or_the_first_entry) {
    const Names readers{u"A", u"Stored", u"B", u"Stored", u"stored"};
    EXPECT_EQ(PreferredReader(readers, u"Stored"), 3u);
    EXPECT_EQ(PreferredReader(readers, u"STORED"), 0u);
    EXPECT_EQ(PreferredReader(readers, u""), 0u);
    EXPECT_EQ(PreferredReader(Names{u"A", u""}, u""), 1u);
}

// How a stored text reads as a number is leading_number_test's. The name is read
// first; a bad number stops the load there and lists no reader.
TEST(card_reader_model, loads_stored_values_or_their_defaults_and_a_bad_number_stops_the_load) {
    const struct { Stored stored; int32_t error, interval, wait = 0; int pinpad = 0; } rows[] = {
        {{}, 0, 500},
        {{{u"LeserTimer", u"1250"}, {u"LeserPause", u"300"}, {u"LeserPinpad", u"1"}}, 0, 1250, 300, 1},
        // Held within the slider; a greyed check box.
        {{{u"LeserTimer", u"99999"}, {u"LeserPause", u"-5"}, {u"LeserPinpad", u"2"}}, 0, 3000, 0, 2},
        {{{u"LeserTimer", u"3000000000"}}, 6, 0}, {{{u"LeserPause", u"1E10"}}, 6, 500},
        {{{u"LeserPinpad", u"40000"}}, 6, 500},  // beyond 16 bits
        {{{u"LeserPinpad", u"3"}}, 380, 500}, {{{u"LeserPinpad", u"-1"}}, 380, 500},  // not a check state
    };
    for (const auto& row : rows) {
        CardReaderState state;
        Stored stored = row.stored;
        stored[u"LeserName"] = u"B";
        EXPECT_EQ(load(state, stored).number(), row.error);
        EXPECT_EQ(state.prefName, u"B");
        EXPECT_EQ(state.requestInterval, row.interval);
        EXPECT_EQ(state.readers, (row.error ? Names{} : Names{u"A", u"B"}));
        EXPECT_EQ(state.selected, row.error ? std::nullopt : std::optional<size_t>(1));  // the stored name
        if (row.error) continue;
        EXPECT_EQ(state.waitBeforeFirst, row.wait);
        EXPECT_EQ(state.pinpad, row.pinpad);
    }
}

TEST(card_reader_model, ok_stores_the_choice_and_raises_the_interval_to_300) {
    const struct { int32_t interval, stored; } rows[] = {{0, 300}, {299, 300}, {300, 300}, {301, 301}};
    for (const auto& row : rows) {
        MemorySettingsStore store;
        CardReaderState state;
        state.readers = {u"A", u"B"}, state.selected = 1;
        state.requestInterval = row.interval, state.waitBeforeFirst = 250, state.pinpad = 1;
        EXPECT_TRUE(ConfirmCardReader(state, store));
        EXPECT_EQ(state.requestInterval, row.stored);
        EXPECT_EQ(store.values, (Stored{{u"LeserName", u"B"}, {u"LeserPinpad", u"1"},
                                        {u"LeserTimer", kxsim::core::DecimalText(row.stored)}, {u"LeserPause", u"250"}}));
    }
}

TEST(card_reader_model, ok_with_an_empty_list_keeps_the_stored_name) {
    MemorySettingsStore store;
    store.values[u"LeserName"] = u"Old reader";
    CardReaderState state;
    ASSERT_TRUE(LoadCardReader(state, u"", store));
    EXPECT_FALSE(state.selected);
    EXPECT_TRUE(ConfirmCardReader(state, store));
    EXPECT_EQ(store.values[u"LeserName"], u"Old reader");
    EXPECT_EQ(store.values[u"LeserTimer"], u"500");
}
