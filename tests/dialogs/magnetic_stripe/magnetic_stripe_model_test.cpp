// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/magnetic_stripe/magnetic_stripe_model.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "support/counting_settings_store.h"

using namespace kxsim::dialogs;
using kxsim::Status;
using kxsim::core::MemorySettingsStore;
using Stored = std::map<std::u16string, std::u16string>;
using Boxes = std::array<std::u16string, 3>;
using States = std::array<int, 3>;

namespace {

// Fails every write of the keys it names and keeps the others.
struct PartlyReadOnlyStore : MemorySettingsStore {
    std::set<std::u16string> readOnly;
    Status setValue(const std::u16string& key, const std::u16string& text) override {
        if (readOnly.count(key)) return Status::error(75, u"The setting " + key + u" could not be stored");
        return MemorySettingsStore::setValue(key, text);
    }
};

MagnetState openWith(const Stored& stored) {
    kxsim::test::CountingSettingsStore store;
    store.values = stored;
    MagnetState state = OpenMagnet(store);
    EXPECT_EQ(store.reads, 1) << "an opening reads the store once";
    return state;
}

}  // namespace

TEST(magnetic_stripe_model, opens_the_identifiers_one_per_box) {
    const struct { Stored stored; std::u16string ids; Boxes boxes; } rows[] = {
        {{}, u"{|}", {u"{", u"|", u"}"}}, {{{u"MagsIds", u"{"}}, u"{", {u"{", u"", u""}},
        {{{u"MagsIds", u"abcd"}}, u"abcd", {u"a", u"b", u"c"}}, {{{u"MagsIds", u""}}, u"", {u"", u"", u""}},
    };
    for (const auto& row : rows) {
        const MagnetState state = openWith(row.stored);
        EXPECT_EQ(state.magsIds, row.ids);
        EXPECT_EQ(state.trackIds, row.boxes);
    }
}

TEST(magnetic_stripe_model, opens_the_mask_as_three_check_states) {
    const struct { const char16_t* mask; int32_t value; States present; } rows[] = {
        {nullptr, 15, {1, 1, 1}}, {u"5", 5, {1, 0, 1}}, {u"0", 0, {0, 0, 0}}, {u"8", 8, {0, 0, 0}},
        {u"all", 0, {0, 0, 0}}, {u"2147483647", 2147483647, {1, 1, 1}},
        {u"2147483648", 15, {1, 1, 1}}, {u"-2147483649", 15, {1, 1, 1}},  // overflowing: read as absent
        // Negative masks divide toward zero before the AND, which is not the same as their bits.
        {u"-1", -1, {1, 0, 0}}, {u"-3", -3, {1, 1, 0}}, {u"-2147483648", -2147483648, {0, 0, 0}},
    };
    for (const auto& row : rows) {
        const MagnetState state = openWith(row.mask ? Stored{{u"MagsMask", row.mask}} : Stored{});
        EXPECT_EQ(state.magsMask, row.value) << row.value;
        EXPECT_EQ(state.present, row.present) << row.value;
    }
}

TEST(magnetic_stripe_model, ok_lays_the_boxes_over_three_asterisks) {
    const struct { Boxes boxes; std::u16string ids; } rows[] = {
        {{u"{", u"", u"}"}, u"{*}"}, {{u"", u"", u""}, u"***"}, {{u" ", u"*", u"%"}, u" *%"},
        // Longer texts than the boxes allow still leave exactly three characters.
        {{u"abcd", u"", u""}, u"abc"}, {{u"", u"", u"xyz"}, u"**x"}, {{u"abc", u"X", u""}, u"aXc"},
    };
    for (const auto& row : rows) EXPECT_EQ(OverlayIdentifiers(row.boxes), row.ids);
}

TEST(magnetic_stripe_model, ok_stores_all_four_settings_exactly) {
    const struct { Boxes boxes; States present; std::u16string prefix, suffix; Stored after; } rows[] = {
        {{u"{", u"", u"}"}, {1, 0, 1}, u"", u"",
         {{u"MagsIds", u"{*}"}, {u"MagsMask", u"5"}, {u"MagsPref", u""}, {u"MagsSuff", u""}}},
        // Blanks are kept; a greyed box counts as two.
        {{u"a", u"b", u"c"}, {2, 1, 0}, u"  pre " + std::u16string(5000, u'x'), u"\tEnde ü ",
         {{u"MagsIds", u"abc"}, {u"MagsMask", u"4"}, {u"MagsPref", u"  pre " + std::u16string(5000, u'x')},
          {u"MagsSuff", u"\tEnde ü "}}},
    };
    for (const auto& row : rows) {
        MemorySettingsStore store;
        MagnetState state = OpenMagnet(store);
        state.trackIds = row.boxes, state.present = row.present, state.prefix = row.prefix, state.suffix = row.suffix;
        EXPECT_TRUE(ConfirmMagnet(state, store));
        EXPECT_EQ(store.values, row.after);
        EXPECT_EQ(state.magsIds, row.after.at(u"MagsIds"));
    }
}

TEST(magnetic_stripe_model, a_failed_write_is_reported_and_every_other_write_still_runs) {
    const std::u16string lead = u"The magnetic stripe settings could not be stored ";
    const struct { std::set<std::u16string> readOnly; std::u16string description; Stored kept; } rows[] = {
        {{u"MagsIds", u"MagsMask", u"MagsPref", u"MagsSuff"},
         lead + u"(MagsIds, MagsMask, MagsPref, MagsSuff): The setting MagsIds could not be stored", {}},
        {{u"MagsMask"}, lead + u"(MagsMask): The setting MagsMask could not be stored",
         {{u"MagsIds", u"ab*"}, {u"MagsPref", u"p"}, {u"MagsSuff", u"s"}}},
    };
    for (const auto& row : rows) {
        PartlyReadOnlyStore store;
        store.readOnly = row.readOnly;
        MagnetState state = OpenMagnet(store);
        state.trackIds = {u"a", u"b", u""}, state.present = {1, 1, 0}, state.prefix = u"p", state.suffix = u"s";
        const Status s = ConfirmMagnet(state, store);
        EXPECT_EQ(s, Status::error(75, row.description));
        EXPECT_EQ(store.values, row.kept);
        EXPECT_EQ(state.magsIds, u"ab*");
    }
}
