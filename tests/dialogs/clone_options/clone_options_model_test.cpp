#include "dialogs/clone_options/clone_options_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <set>
#include <vector>

#include "services/bits.h"

using namespace kxsim::dialogs;
using kxsim::tools::ClearBit;
using kxsim::tools::SetBit;

namespace {

constexpr int32_t kAll = 0;  // in a click list: the "All" box

// Clicks the boxes in order (0 toggles "All") on a freshly loaded dialog.
CloneOptionsModel clicked(const std::vector<int32_t>& clicks) {
    CloneOptionsModel model;
    model.Load();
    for (int32_t index : clicks) {
        if (index == kAll) model.SetAll(!model.All());
        else model.ClickFile(index);
    }
    return model;
}

std::set<int32_t> checkedBoxes(const CloneOptionsModel& model) {
    std::set<int32_t> boxes;
    for (int32_t index = 1; index <= kCloneFileCount; ++index)
        if (model.File(index)) boxes.insert(index);
    return boxes;
}

}  // namespace

TEST(clone_bits, set_and_clear_bit_numbers_counted_from_one) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const struct {
        int32_t value, n;
        std::optional<int32_t> set, cleared;
    } rows[] = {
        {0, 1, 1, 0},
        {0, 14, 8192, 0},
        {-1, 1, -1, -2},
        {-1, 8, -1, -129},
        {0, 30, 536870912, 0},
        {0, 31, 1073741824, 0},
        {-1, 31, -1, -1073741825},
        {kMin, 1, kMin + 1, kMin},
        {kMax, 31, kMax, 1073741823},
        // below 1 the mask rounds to 0: the value comes back unchanged
        {5, 0, 5, 5},
        {-1, 0, -1, -1},
        {5, -1, 5, 5},
        {5, kMin, 5, 5},
        // 2 to the power 31 and up does not fit a Long: Overflow
        {0, 32, std::nullopt, std::nullopt},
        {-1, 33, std::nullopt, std::nullopt},
        {0, kMax, std::nullopt, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "value " << row.value << ", bit " << row.n);
        EXPECT_EQ(SetBit(row.value, row.n), row.set);
        EXPECT_EQ(ClearBit(row.value, row.n), row.cleared);
    }
}

TEST(clone_options_model, each_single_box_checks_its_followers_and_gives_its_mask) {
    const struct {
        int32_t box;
        int32_t mask;
        std::set<int32_t> checked;
    } rows[] = {
        {1, 33, {1, 6}},        {2, 66, {2, 7}},     {3, 36, {3, 6}},     {4, 40, {4, 6}},
        {5, 528, {5, 10}},      {8, 128, {8}},       {9, 256, {9}},       {11, 1024, {11}},
        {12, 2048, {12}},       {13, 4096, {13}},    {14, 8192, {14}},
        // the followers are greyed: a click on them changes nothing
        {6, 0, {}},             {7, 0, {}},          {10, 0, {}},
        // no such box
        {15, 0, {}},            {-1, 0, {}},         {112, 0, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "box " << row.box);
        const CloneOptionsModel model = clicked({row.box});
        EXPECT_EQ(model.Selection(), row.mask);
        EXPECT_EQ(checkedBoxes(model), row.checked);
    }
}

TEST(clone_options_model, extensions_1_stays_while_any_of_its_three_files_is_checked) {
    const struct {
        std::vector<int32_t> clicks;
        int32_t mask;
        bool extensions1;
    } rows[] = {
        {{3, 4}, 44, true},
        {{3, 4, 3}, 40, true},
        {{3, 4, 3, 4}, 0, false},
        {{1, 3}, 37, true},
        {{1, 3, 1}, 36, true},
        {{1, 3, 4, 1, 3, 4}, 0, false},
        {{1, 1}, 0, false},
        // the other followers go back with their files
        {{2, 2}, 0, false},
        {{5, 1, 5}, 33, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.clicks));
        const CloneOptionsModel model = clicked(row.clicks);
        EXPECT_EQ(model.Selection(), row.mask);
        EXPECT_EQ(model.File(kExtensions1), row.extensions1);
    }
}

TEST(clone_options_model, all_checks_every_box_and_sets_every_bit) {
    const struct {
        std::vector<int32_t> clicks;
        int32_t mask;
        std::set<int32_t> unchecked;
        bool all;
    } rows[] = {
        {{kAll}, -1, {}, true},
        {{kAll, kAll}, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, false},
        {{1, 5, kAll}, -1, {}, true},
        {{1, 5, kAll, kAll}, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, false},
        // "All" stays checked while single boxes are cleared after it
        {{kAll, 8}, -129, {8}, true},
        {{kAll, 1}, -2, {1}, true},
        {{kAll, 1, 3, 4}, -46, {1, 3, 4, 6}, true},
        {{kAll, 2}, -67, {2, 7}, true},
        {{kAll, 5}, -529, {5, 10}, true},
        {{kAll, 8, 8}, -1, {}, true},
        // unchecking "All" clears the bits beyond the fourteen boxes too
        {{kAll, 8, kAll}, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.clicks));
        const CloneOptionsModel model = clicked(row.clicks);
        EXPECT_EQ(model.Selection(), row.mask);
        EXPECT_EQ(model.All(), row.all);
        std::set<int32_t> unchecked;
        for (int32_t index = 1; index <= kCloneFileCount; ++index)
            if (!model.File(index)) unchecked.insert(index);
        EXPECT_EQ(unchecked, row.unchecked);
    }
}

TEST(clone_options_model, buttons_record_their_index_and_only_cancel_drops_the_choice) {
    const struct {
        int32_t button;
        CloneButtonEffect effect;
        int32_t mask;
    } rows[] = {
        {kCloneOk, CloneButtonEffect::Unload, 8192 + 66},
        {kCloneCancel, CloneButtonEffect::Unload, 0},
        {kCloneHelp, CloneButtonEffect::Help, 8192 + 66},
        {3, CloneButtonEffect::Nothing, 8192 + 66},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        CloneOptionsModel model = clicked({14, 2});
        EXPECT_EQ(model.PressButton(row.button), row.effect);
        EXPECT_EQ(model.Action(), row.button);
        EXPECT_EQ(model.Selection(), row.mask);
    }
}

TEST(clone_options_model, the_close_box_counts_as_cancel) {
    CloneOptionsModel model = clicked({kAll});
    model.PressButton(kCloneHelp);
    model.CloseBox();
    EXPECT_EQ(model.Selection(), 0);
    EXPECT_EQ(model.Action(), kCloneHelp);
}

TEST(clone_options_model, a_new_load_starts_from_nothing_chosen) {
    for (const auto& clicks : {std::vector<int32_t>{1, 9}, std::vector<int32_t>{kAll}, std::vector<int32_t>{kAll, 8}}) {
        CloneOptionsModel model = clicked(clicks);
        ASSERT_EQ(model.PressButton(kCloneOk), CloneButtonEffect::Unload);
        ASSERT_NE(model.Selection(), 0);
        model.Load();
        EXPECT_EQ(model.Selection(), 0);
        EXPECT_FALSE(model.All());
        EXPECT_EQ(checkedBoxes(model), std::set<int32_t>{});
        // what the user now checks is all the mask holds
        model.ClickFile(12);
        EXPECT_EQ(model.Selection(), 2048);
    }
}

TEST(clone_options_model, a_follower_set_against_its_file_runs_the_rule_for_itself) {
    // "SMS Status reports" cleared while "Short Messages" is checked: its own
    // rule puts it back, and its bit with it.
    CloneOptionsModel model = clicked({kAll, 8});
    model.SetFile(9, true);  // already checked: no rule, no change
    model.SetFile(8, false);
    EXPECT_EQ(model.Selection(), -129);
    model.SetFile(kSmsStatusReports, false);
    EXPECT_TRUE(model.File(kSmsStatusReports));
    EXPECT_EQ(model.Selection(), -129);
    // "Extensions 1" follows only changes of its three files, not its own.
    model.SetFile(kExtensions1, false);
    EXPECT_FALSE(model.File(kExtensions1));
    EXPECT_EQ(model.Selection(), -129 - 32);
}
