#include "dialogs/magnetic_stripe/magnetic_stripe_model.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace kxsim::dialogs;
using kxsim::Status;
using kxsim::tools::MemorySettingsStore;
using Stored = std::map<std::u16string, std::u16string>;
using Boxes = std::array<std::u16string, 3>;
using States = std::array<int, 3>;

namespace {

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

// Fails every write of the keys it names and keeps the others.
class PartlyReadOnlyStore : public MemorySettingsStore {
public:
    explicit PartlyReadOnlyStore(std::set<std::u16string> readOnly) : readOnly_(std::move(readOnly)) {}
    Status setValue(const std::u16string& key, const std::u16string& text) override {
        if (readOnly_.count(key)) return Status::error(75, u"The setting " + key + u" could not be stored");
        return MemorySettingsStore::setValue(key, text);
    }

private:
    std::set<std::u16string> readOnly_;
};

}  // namespace

TEST(magnetic_stripe_model, opens_from_the_stored_values_or_their_defaults) {
    const struct {
        const char* what;
        Stored stored;
        int32_t mask;
        States present;
        std::u16string ids;
        Boxes boxes;
    } rows[] = {
        {"nothing stored", {}, 15, {1, 1, 1}, u"{|}", {u"{", u"|", u"}"}},
        {"one identifier", {{u"MagsIds", u"{"}}, 15, {1, 1, 1}, u"{", {u"{", u"", u""}},
        {"four identifiers", {{u"MagsIds", u"abcd"}}, 15, {1, 1, 1}, u"abcd", {u"a", u"b", u"c"}},
        {"no identifiers", {{u"MagsIds", u""}}, 15, {1, 1, 1}, u"", {u"", u"", u""}},
        {"an emptied box stored", {{u"MagsIds", u"{*}"}}, 15, {1, 1, 1}, u"{*}", {u"{", u"*", u"}"}},
        {"mask 5", {{u"MagsMask", u"5"}}, 5, {1, 0, 1}, u"{|}", {u"{", u"|", u"}"}},
        {"mask 0", {{u"MagsMask", u"0"}}, 0, {0, 0, 0}, u"{|}", {u"{", u"|", u"}"}},
        {"mask 2", {{u"MagsMask", u"2"}}, 2, {0, 1, 0}, u"{|}", {u"{", u"|", u"}"}},
        {"mask only low bits show", {{u"MagsMask", u"8"}}, 8, {0, 0, 0}, u"{|}", {u"{", u"|", u"}"}},
        {"mask not a number", {{u"MagsMask", u"all"}}, 0, {0, 0, 0}, u"{|}", {u"{", u"|", u"}"}},
        {"mask empty", {{u"MagsMask", u""}}, 0, {0, 0, 0}, u"{|}", {u"{", u"|", u"}"}},
        {"mask with blanks and a tail", {{u"MagsMask", u" 6 tracks"}}, 6, {0, 1, 1}, u"{|}", {u"{", u"|", u"}"}},
        {"mask halves to even", {{u"MagsMask", u"2.5"}}, 2, {0, 1, 0}, u"{|}", {u"{", u"|", u"}"}},
        {"mask in hexadecimal", {{u"MagsMask", u"&H3"}}, 3, {1, 1, 0}, u"{|}", {u"{", u"|", u"}"}},
        {"mask at the 32-bit limit", {{u"MagsMask", u"2147483647"}}, 2147483647, {1, 1, 1}, u"{|}", {u"{", u"|", u"}"}},
        {"mask too large counts as absent", {{u"MagsMask", u"2147483648"}}, 15, {1, 1, 1}, u"{|}", {u"{", u"|", u"}"}},
        {"mask exponent too large", {{u"MagsMask", u"1E10"}}, 15, {1, 1, 1}, u"{|}", {u"{", u"|", u"}"}},
        {"mask too small counts as absent", {{u"MagsMask", u"-2147483649"}}, 15, {1, 1, 1}, u"{|}", {u"{", u"|", u"}"}},
        // Negative masks divide toward zero before the AND, which is not the same as their bits.
        {"mask -1", {{u"MagsMask", u"-1"}}, -1, {1, 0, 0}, u"{|}", {u"{", u"|", u"}"}},
        {"mask -2", {{u"MagsMask", u"-2"}}, -2, {0, 1, 0}, u"{|}", {u"{", u"|", u"}"}},
        {"mask -3", {{u"MagsMask", u"-3"}}, -3, {1, 1, 0}, u"{|}", {u"{", u"|", u"}"}},
        {"mask -5", {{u"MagsMask", u"-5"}}, -5, {1, 0, 1}, u"{|}", {u"{", u"|", u"}"}},
        {"mask -8", {{u"MagsMask", u"-8"}}, -8, {0, 0, 0}, u"{|}", {u"{", u"|", u"}"}},
        {"mask at the negative limit", {{u"MagsMask", u"-2147483648"}}, -2147483648, {0, 0, 0}, u"{|}", {u"{", u"|", u"}"}},
    };
    for (const auto& row : rows) {
        MemorySettingsStore store;
        store.values = row.stored;
        store.values[u"MagsPref"] = u"P";
        const MagnetState state = OpenMagnet(store);
        EXPECT_EQ(state.magsMask, row.mask) << row.what;
        EXPECT_EQ(state.present, row.present) << row.what;
        EXPECT_EQ(state.magsIds, row.ids) << row.what;
        EXPECT_EQ(state.trackIds, row.boxes) << row.what;
        EXPECT_EQ(state.prefix, u"P") << row.what;
        EXPECT_EQ(state.suffix, u"") << row.what;
    }
}

TEST(magnetic_stripe_model, ok_lays_the_boxes_over_three_asterisks) {
    const struct {
        Boxes boxes;
        std::u16string ids;
    } rows[] = {
        {{u"{", u"|", u"}"}, u"{|}"},
        {{u"{", u"", u"}"}, u"{*}"},
        {{u"{", u"", u""}, u"{**"},
        {{u"", u"", u""}, u"***"},
        {{u" ", u"*", u"%"}, u" *%"},
        // Longer texts than the boxes allow still leave exactly three characters.
        {{u"ab", u"", u""}, u"ab*"},
        {{u"abcd", u"", u""}, u"abc"},
        {{u"", u"", u"xyz"}, u"**x"},
        {{u"abc", u"X", u""}, u"aXc"},
    };
    for (const auto& row : rows) EXPECT_EQ(OverlayIdentifiers(row.boxes), row.ids) << narrow(row.ids);
}

TEST(magnetic_stripe_model, the_mask_counts_a_greyed_box_as_two) {
    const struct {
        States present;
        int32_t mask;
    } rows[] = {
        {{0, 0, 0}, 0}, {{1, 1, 1}, 7}, {{1, 0, 1}, 5}, {{0, 1, 0}, 2},
        {{2, 0, 0}, 2}, {{2, 2, 2}, 14}, {{1, 2, 0}, 5}, {{0, 0, 2}, 8},
    };
    for (const auto& row : rows) EXPECT_EQ(MaskOfPresence(row.present), row.mask);
}

TEST(magnetic_stripe_model, ok_stores_all_four_settings_exactly) {
    const struct {
        const char* what;
        Stored before;
        Boxes boxes;
        States present;
        std::u16string prefix, suffix;
        Stored after;
    } rows[] = {
        {"unchanged defaults", {}, {u"{", u"|", u"}"}, {1, 1, 1}, u"", u"",
         {{u"MagsIds", u"{|}"}, {u"MagsMask", u"7"}, {u"MagsPref", u""}, {u"MagsSuff", u""}}},
        {"an emptied box", {}, {u"{", u"", u"}"}, {1, 0, 1}, u"", u"",
         {{u"MagsIds", u"{*}"}, {u"MagsMask", u"5"}, {u"MagsPref", u""}, {u"MagsSuff", u""}}},
        {"blanks kept", {}, {u"%", u";", u"?"}, {0, 0, 0}, u"  pre fix ", u"\tsuf  ",
         {{u"MagsIds", u"%;?"}, {u"MagsMask", u"0"}, {u"MagsPref", u"  pre fix "}, {u"MagsSuff", u"\tsuf  "}}},
        {"long texts and a greyed box", {{u"MagsMask", u"15"}}, {u"a", u"b", u"c"}, {2, 1, 0},
         std::u16string(5000, u'x'), u"Ende ü",
         {{u"MagsIds", u"abc"}, {u"MagsMask", u"4"}, {u"MagsPref", std::u16string(5000, u'x')},
          {u"MagsSuff", u"Ende ü"}}},
    };
    for (const auto& row : rows) {
        MemorySettingsStore store;
        store.values = row.before;
        MagnetState state = OpenMagnet(store);
        state.trackIds = row.boxes;
        state.present = row.present;
        state.prefix = row.prefix;
        state.suffix = row.suffix;
        EXPECT_TRUE(ConfirmMagnet(state, store)) << row.what;
        EXPECT_EQ(store.values, row.after) << row.what;
        EXPECT_EQ(state.magsIds, row.after.at(u"MagsIds")) << row.what;
        // What was stored opens again as it was left.
        const MagnetState reopened = OpenMagnet(store);
        EXPECT_EQ(reopened.prefix, row.prefix) << row.what;
        EXPECT_EQ(reopened.suffix, row.suffix) << row.what;
        EXPECT_EQ(reopened.magsIds, state.magsIds) << row.what;
    }
}

TEST(magnetic_stripe_model, a_failed_write_is_reported_and_every_other_write_still_runs) {
    const struct {
        std::set<std::u16string> readOnly;
        std::u16string description;
        Stored kept;
    } rows[] = {
        {{u"MagsIds", u"MagsMask", u"MagsPref", u"MagsSuff"},
         u"The magnetic stripe settings could not be stored (MagsIds, MagsMask, MagsPref, MagsSuff): "
         u"The setting MagsIds could not be stored",
         {}},
        {{u"MagsMask"},
         u"The magnetic stripe settings could not be stored (MagsMask): The setting MagsMask could not be stored",
         {{u"MagsIds", u"ab*"}, {u"MagsPref", u"p"}, {u"MagsSuff", u"s"}}},
        {{u"MagsPref", u"MagsSuff"},
         u"The magnetic stripe settings could not be stored (MagsPref, MagsSuff): "
         u"The setting MagsPref could not be stored",
         {{u"MagsIds", u"ab*"}, {u"MagsMask", u"3"}}},
    };
    for (const auto& row : rows) {
        PartlyReadOnlyStore store(row.readOnly);
        MagnetState state = OpenMagnet(store);
        state.trackIds = {u"a", u"b", u""};
        state.present = {1, 1, 0};
        state.prefix = u"p";
        state.suffix = u"s";
        const Status s = ConfirmMagnet(state, store);
        EXPECT_EQ(s.number(), 75);
        EXPECT_EQ(s.description(), row.description);
        EXPECT_EQ(store.values, row.kept);
        EXPECT_EQ(state.magsIds, u"ab*");
        EXPECT_EQ(state.magsMask, 3);
    }
}
