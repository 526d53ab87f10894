// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>
#include <vector>

#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"
#include "support/fake_help_viewer.h"
#include "support/temp_files.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

QString fileBox(int index) { return index == 0 ? QStringLiteral("CBAll") : QStringLiteral("CBFile(%1)").arg(index); }

// Clicks the check boxes (0: "All") in order.
void tick(QDialog& w, const std::vector<int>& clicks) {
    for (int index : clicks) control<QCheckBox>(w, fileBox(index))->click();
}

// The boxes shown checked, box n as bit n.
int32_t checkedBoxes(QDialog& w) {
    int32_t checked = 0;
    for (int index = 1; index <= 14; ++index)
        if (control<QCheckBox>(w, fileBox(index))->isChecked()) checked |= 1 << (index - 1);
    return checked;
}

// Shows the dialog with \a act inside the modal loop; it must return \a expected.
void expectResult(int32_t expected, const std::function<void(QDialog&)>& act) {
    WhenShown driver(QStringLiteral("WCopysim"), act);
    int32_t result = 12345;
    const Status s = CDialogs().CloneOptions(result);
    EXPECT_TRUE(s) << s.number();
    EXPECT_EQ(result, expected);
    EXPECT_EQ(driver.runs(), 1);
}

TEST(CloneOptionsDialog, ok_returns_the_mask_of_what_the_user_checked_and_each_use_starts_afresh) {
    const struct {
        std::vector<int> clicks;  // 0: "All"
        int32_t result;
    } rows[] = {{{1}, 33}, {{12}, 2048}, {{0}, -1}, {{0, 8}, -129}, {{}, 0}};  // 2048: no carry-over of 33
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.clicks));
        expectResult(row.result, [&row](QDialog& w) {
            EXPECT_EQ(checkedBoxes(w), 0);
            EXPECT_FALSE(control<QCheckBox>(w, "CBAll")->isChecked());
            tick(w, row.clicks);
            EXPECT_EQ(checkedBoxes(w), row.result & 0x3FFF);  // box n shows bit n
            click(w, "CBAction(1)");
        });
    }
}

TEST(CloneOptionsDialog, cancel_esc_and_the_close_box_return_0_and_enter_presses_ok) {
    const struct {
        const char* how;
        std::function<void(QDialog&)> close;
        int32_t result;  // after ticking file 4
    } rows[] = {
        {"Cancel", [](QDialog& w) { click(w, "CBAction(2)"); }, 0},
        {"Esc", [](QDialog& w) { QTest::keyClick(&w, Qt::Key_Escape); }, 0},
        {"close box", [](QDialog& w) { closeBox(w); }, 0},
        {"Enter", [](QDialog& w) { QTest::keyClick(control<QCheckBox>(w, fileBox(4)), Qt::Key_Return); }, 40},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        expectResult(row.result, [&row](QDialog& w) {
            tick(w, {4});
            control<QCheckBox>(w, fileBox(4))->setFocus();
            row.close(w);
        });
    }
}

}  // namespace
