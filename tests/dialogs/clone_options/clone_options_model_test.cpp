// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/clone_options/clone_options_model.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kxsim::dialogs;

namespace {

constexpr int32_t kAll = 0;  // in a click list: the "All" box

// Clicks the boxes in order (0 toggles "All") on a freshly loaded dialog, as
// the form lets a user: the greyed followers take no click.
CloneOptionsModel clicked(const std::vector<int32_t>& clicks) {
    CloneOptionsModel model;
    model.Load();
    for (int32_t index : clicks) {
        if (index == kAll) model.SetAll(!model.All());
        else if (!CloneOptionsModel::IsDependent(index)) model.SetFile(index, !model.File(index));
    }
    return model;
}

// Box n is shown checked exactly when bit n of the mask is set.
void expectState(const CloneOptionsModel& model, int32_t mask, bool all) {
    EXPECT_EQ(model.Selection(), mask);
    EXPECT_EQ(model.All(), all);
    for (int32_t index = 1; index <= kCloneFileCount; ++index)
        EXPECT_EQ(model.File(index), ((mask >> (index - 1)) & 1) != 0) << "box " << index;
}

}  // namespace

TEST(clone_options_model, clicks_check_boxes_with_their_followers_and_build_the_mask) {
    const struct { std::vector<int32_t> clicks; int32_t mask; bool all; } rows[] = {
        // a file checks its follower: 1 and 3 and 4 check 6, 2 checks 7, 5 checks 10
        {{1}, 33, false}, {{2}, 66, false}, {{3}, 36, false}, {{4}, 40, false}, {{5}, 528, false},
        {{8}, 128, false}, {{14}, 8192, false},
        // the followers are greyed, and there are no other boxes: a click changes nothing
        {{6}, 0, false}, {{7}, 0, false}, {{10}, 0, false}, {{15}, 0, false}, {{-1}, 0, false},
        // "Extensions 1" stays while any of its three files is checked; the others go with their file
        {{3, 4}, 44, false}, {{3, 4, 3}, 40, false}, {{3, 4, 3, 4}, 0, false}, {{1, 3, 1}, 36, false},
        {{1, 1}, 0, false}, {{2, 2}, 0, false}, {{5, 1, 5}, 33, false},
        // "All" sets every bit and stays checked while single boxes are cleared after it
        {{kAll}, -1, true}, {{kAll, kAll}, 0, false}, {{1, 5, kAll, kAll}, 0, false},
        {{kAll, 8}, -129, true}, {{kAll, 1, 3, 4}, -46, true}, {{kAll, 2}, -67, true}, {{kAll, 8, 8}, -1, true},
        // unchecking "All" clears the bits beyond the fourteen boxes too
        {{kAll, 8, kAll}, 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.clicks));
        expectState(clicked(row.clicks), row.mask, row.all);
    }
}

TEST(clone_options_model, buttons_record_their_index_and_cancel_and_the_close_box_drop_the_choice) {
    const struct { int32_t button; CloneButtonEffect effect; int32_t mask; } rows[] = {
        {kCloneOk, CloneButtonEffect::Unload, 8192 + 66}, {kCloneCancel, CloneButtonEffect::Unload, 0},
        {kCloneHelp, CloneButtonEffect::Help, 8192 + 66}, {3, CloneButtonEffect::Nothing, 8192 + 66},
    };
    for (const auto& row : rows) {
        CloneOptionsModel model = clicked({14, 2});
        EXPECT_EQ(model.PressButton(row.button), row.effect) << row.button;
        EXPECT_EQ(model.Action(), row.button);
        EXPECT_EQ(model.Selection(), row.mask) << row.button;
        model.CloseBox();  // counts as Cancel, and keeps the button pressed last
        EXPECT_EQ(model.Selection(), 0);
        EXPECT_EQ(model.Action(), row.button);
    }
}

TEST(clone_options_model, a_follower_set_against_its_file_runs_the_rule_for_itself) {
    // "SMS Status reports" cleared while "Short Messages" is checked: its own rule puts it back.
    CloneOptionsModel model = clicked({kAll, 8});
    model.SetFile(9, true);  // already checked: no rule, no change
    model.SetFile(8, false);
    model.SetFile(kSmsStatusReports, false);
    expectState(model, -129, true);
    // "Extensions 1" follows only changes of its three files, not its own.
    model.SetFile(kExtensions1, false);
    expectState(model, -129 - 32, true);
}
