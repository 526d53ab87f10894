#include "dialogs/card_reader/card_reader_model.h"

#include <gtest/gtest.h>

using namespace kxsim::dialogs;
using kxsim::tools::MemorySettingsStore;
using Names = std::vector<std::u16string>;

namespace {

std::u16string nul(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out)
        if (c == u'|') c = u'\0';
    return out;
}

}  // namespace

TEST(card_reader_model, splits_the_reader_list_keeping_empty_pieces) {
    const struct {
        std::u16string_view list;  // "|" stands for NUL
        Names expected;
    } rows[] = {
        {u"", {}},
        {u"A", {u"A"}},
        {u"A|B", {u"A", u"B"}},
        {u"A|B|", {u"A", u"B", u""}},
        {u"|A", {u"", u"A"}},
        {u"A||B", {u"A", u"", u"B"}},
        {u"|", {u"", u""}},
    };
    for (const auto& row : rows) EXPECT_EQ(SplitReaderList(nul(row.list)), row.expected);
}

TEST(card_reader_model, selects_the_last_exact_match_or_the_first_entry) {
    const Names readers{u"A", u"Stored", u"B", u"Stored", u"stored"};
    EXPECT_EQ(PreferredReader(readers, u"Stored"), 3u);
    EXPECT_EQ(PreferredReader(readers, u"B"), 2u);
    EXPECT_EQ(PreferredReader(readers, u"STORED"), 0u);
    EXPECT_EQ(PreferredReader(readers, u"none"), 0u);
    EXPECT_EQ(PreferredReader(readers, u""), 0u);
    EXPECT_EQ(PreferredReader(Names{u"A", u""}, u""), 1u);
}

TEST(card_reader_model, loads_stored_values_or_their_defaults) {
    const struct {
        const char* what;
        std::map<std::u16string, std::u16string> stored;
        int32_t interval, wait;
        int pinpad;
    } rows[] = {
        {"nothing stored", {}, 500, 0, 0},
        {"stored numbers", {{u"LeserTimer", u"1250"}, {u"LeserPause", u"300"}, {u"LeserPinpad", u"1"}}, 1250, 300, 1},
        {"halves to even", {{u"LeserTimer", u"1000.5"}, {u"LeserPause", u"250.5"}}, 1000, 250, 0},
        {"not numbers", {{u"LeserTimer", u"fast"}, {u"LeserPause", u""}, {u"LeserPinpad", u"yes"}}, 0, 0, 0},
        {"held within the slider", {{u"LeserTimer", u"99999"}, {u"LeserPause", u"-5"}}, 3000, 0, 0},
        {"greyed", {{u"LeserPinpad", u"2"}}, 500, 0, 2},
    };
    for (const auto& row : rows) {
        MemorySettingsStore store;
        store.values = row.stored;
        CardReaderState state;
        EXPECT_TRUE(LoadCardReader(state, nul(u"A|B"), store)) << row.what;
        EXPECT_EQ(state.requestInterval, row.interval) << row.what;
        EXPECT_EQ(state.waitBeforeFirst, row.wait) << row.what;
        EXPECT_EQ(state.pinpad, row.pinpad) << row.what;
        EXPECT_EQ(state.selected, 0u) << row.what;
    }
}

TEST(card_reader_model, a_bad_stored_number_stops_the_load_there) {
    const struct {
        const char* what;
        std::map<std::u16string, std::u16string> stored;
        int32_t error;
        int32_t interval;
        bool listFilled;
    } rows[] = {
        {"timer overflows", {{u"LeserTimer", u"3000000000"}}, 6, 0, false},
        {"pause overflows", {{u"LeserPause", u"1E10"}}, 6, 500, false},
        {"pinpad beyond 16 bits", {{u"LeserPinpad", u"40000"}}, 6, 500, false},
        {"pinpad not a check state", {{u"LeserPinpad", u"3"}}, 380, 500, false},
        {"pinpad negative", {{u"LeserPinpad", u"-1"}}, 380, 500, false},
    };
    for (const auto& row : rows) {
        MemorySettingsStore store;
        store.values = row.stored;
        store.values[u"LeserName"] = u"B";
        CardReaderState state;
        state.readers = {u"left over"};
        const kxsim::Status s = LoadCardReader(state, nul(u"A|B"), store);
        EXPECT_EQ(s.number(), row.error) << row.what;
        EXPECT_EQ(state.prefName, u"B") << row.what;
        EXPECT_EQ(state.requestInterval, row.interval) << row.what;
        EXPECT_EQ(state.readers.empty(), !row.listFilled) << row.what;
        EXPECT_FALSE(state.selected) << row.what;
    }
}

TEST(card_reader_model, ok_stores_the_choice_and_raises_the_interval_to_300) {
    const struct {
        int32_t interval, stored;
    } rows[] = {{0, 300}, {250, 300}, {299, 300}, {300, 300}, {301, 301}, {3000, 3000}};
    for (const auto& row : rows) {
        MemorySettingsStore store;
        CardReaderState state;
        state.readers = {u"A", u"B"};
        state.selected = 1;
        state.requestInterval = row.interval;
        state.waitBeforeFirst = 250;
        state.pinpad = 1;
        EXPECT_TRUE(ConfirmCardReader(state, store));
        EXPECT_EQ(state.prefName, u"B");
        EXPECT_EQ(state.requestInterval, row.stored);
        EXPECT_EQ(store.values, (std::map<std::u16string, std::u16string>{
                                    {u"LeserName", u"B"},
                                    {u"LeserPinpad", u"1"},
                                    {u"LeserTimer", kxsim::tools::DecimalText(row.stored)},
                                    {u"LeserPause", u"250"}}));
    }
}

TEST(card_reader_model, ok_with_an_empty_list_keeps_the_stored_name) {
    MemorySettingsStore store;
    store.values[u"LeserName"] = u"Old reader";
    CardReaderState state;
    ASSERT_TRUE(LoadCardReader(state, u"", store));
    EXPECT_TRUE(state.readers.empty());
    EXPECT_FALSE(state.selected);
    EXPECT_TRUE(ConfirmCardReader(state, store));
    EXPECT_EQ(store.values[u"LeserName"], u"Old reader");
    EXPECT_EQ(store.values[u"LeserTimer"], u"500");
}

TEST(card_reader_model, a_failed_write_is_reported_and_the_other_writes_still_run) {
    MemorySettingsStore store;
    store.failWrites = kxsim::Status::error(75, u"read-only");
    CardReaderState state;
    state.readers = {u"A"};
    state.selected = 0;
    const kxsim::Status s = ConfirmCardReader(state, store);
    EXPECT_EQ(s.description(), u"read-only");
    EXPECT_EQ(state.prefName, u"A");
}
