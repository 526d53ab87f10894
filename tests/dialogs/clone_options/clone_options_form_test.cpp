// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>
#include <vector>

#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"

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

// Each row is a use of its own: nothing is carried over from the one before (2048 after 33).
TEST(CloneOptionsDialog, ok_and_enter_return_the_mask_checked_and_cancel_esc_and_the_close_box_return_0) {
    const struct { std::vector<int> clicks; const char* how; int32_t mask; } rows[] = {  // clicks: 0 is "All"
        {{1}, "OK", 33}, {{12}, "OK", 2048}, {{0}, "OK", -1}, {{0, 8}, "OK", -129}, {{}, "OK", 0},
        {{4}, "Enter", 40}, {{4}, "Cancel", 40}, {{4}, "Esc", 40}, {{4}, "close box", 40},
    };
    for (const auto& row : rows) {
        const std::string how = row.how;
        SCOPED_TRACE(testing::PrintToString(row.clicks) + " " + how);
        int32_t result = 12345;
        showOnce(QStringLiteral("WCopysim"), [&](QDialog& w) {
            EXPECT_EQ(checkedBoxes(w), 0);
            EXPECT_FALSE(control<QCheckBox>(w, "CBAll")->isChecked());
            tick(w, row.clicks);
            EXPECT_EQ(checkedBoxes(w), row.mask & 0x3FFF);  // box n shows bit n
            if (how == "OK") click(w, "CBAction(1)");
            else if (how == "Cancel") click(w, "CBAction(2)");
            else if (how == "Esc") QTest::keyClick(&w, Qt::Key_Escape);
            else if (how == "close box") closeBox(w);
            else {
                control<QCheckBox>(w, fileBox(4))->setFocus();
                QTest::keyClick(control<QCheckBox>(w, fileBox(4)), Qt::Key_Return);
            }
        }, [&] { return CDialogs().CloneOptions(result); });
        EXPECT_EQ(result, how == "OK" || how == "Enter" ? row.mask : 0);
    }
}

}  // namespace
