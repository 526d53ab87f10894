// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>

#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"
#include "support/fake_help_viewer.h"
#include "support/temp_files.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

struct Outcome {
    int32_t result = -1;
    std::u16string keys;
};

class NetworkListDialog : public ::testing::Test {
protected:
    TempFolder folder;
    std::u16string ini = folder.write("networks.ini", "[Networks]\r\n26201=Telekom Deutschland\r\n"
                                      "26202=Vodafone Germany\r\n23415=Vodafone UK\r\n00101=Test network\r\n");

    // Calls SelectNetwork with \a keys while \a act runs in the shown window.
    Outcome call(std::u16string keys, const std::function<void(QDialog&)>& act, int32_t max = 5) {
        std::u16string section = u"Networks", caption = u"Preferred networks", language;
        Picture icon;
        int32_t helpId = 7120;
        Outcome out{-1, std::move(keys)};
        showOnce(QStringLiteral("WNetze"), act, [&] {
            return CDialogs().SelectNetwork(section, out.keys, max, ini, caption, icon, helpId, language, out.result);
        });
        return out;
    }
};

void ok(QDialog& w) { click(w, QStringLiteral("CBAction(1)")); }

QListWidget* list(QDialog& w, const char* name) { return control<QListWidget>(w, QLatin1String(name)); }

void select(QListWidget* l, int row) {
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
}

// What a mouse sends for a double-click: press, release, double-click, release.
void doubleClick(QListWidget* l, int row) {
    select(l, row);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
    QTest::mouseRelease(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
}

}  // namespace

TEST_F(NetworkListDialog, double_clicks_and_buttons_edit_the_list_and_enter_hands_back_the_rebuilt_keys) {
    const Outcome out = call(u"26202;4711;00101;", [](QDialog& w) {
        QListWidget *available = list(w, "List1"), *selected = list(w, "List2");
        EXPECT_EQ(itemTexts(available), (QStringList{"Telekom Deutschland", "Vodafone Germany", "Vodafone UK",
                                                 "Test network"}));
        EXPECT_EQ(itemTexts(selected), (QStringList{"Vodafone Germany", "? 4711", "Test network"}));
        EXPECT_EQ(available->currentRow() + selected->currentRow(), -2);  // nothing selected
        for (int row : {0, 2, 2}) doubleClick(available, row);  // the same key twice
        doubleClick(selected, 1);  // "? 4711"
        EXPECT_EQ(itemTexts(selected), (QStringList{"Vodafone Germany", "Test network", "Telekom Deutschland",
                                                "Vodafone UK", "Vodafone UK"}));
        EXPECT_EQ(selected->currentRow(), -1);
        select(available, 1);
        click(w, QStringLiteral("CmdAddRemove(0)"));
        select(selected, 2);
        click(w, QStringLiteral("CmdUpDown(0)"));  // Higher
        EXPECT_EQ(selected->currentRow(), 1);
        select(selected, 0);
        click(w, QStringLiteral("CmdUpDown(1)"));  // Lower
        EXPECT_EQ(selected->currentRow(), 1);
        click(w, QStringLiteral("CmdAddRemove(1)"));
        click(w, QStringLiteral("CmdAddRemove(1)"));  // nothing selected any more
        EXPECT_EQ(itemTexts(selected), (QStringList{"Telekom Deutschland", "Test network", "Vodafone UK", "Vodafone UK",
                                                "Vodafone Germany"}));
        selected->setFocus();
        QTest::keyClick(selected, Qt::Key_Return);  // Enter in a list presses OK
    }, 6);
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.keys, u"26201;101;23415;23415;26202;");
}

TEST_F(NetworkListDialog, cancel_esc_and_the_close_box_return_2_with_the_keys_exactly_as_passed) {
    const struct { const char* how; std::u16string keys; } rows[] = {
        {"CBAction(2)", u"1;;2"}, {"Esc", u"26201"}, {"close box", u""}, {"close box after help", u"1;;2"}};
    EXPECT_EQ(call(u"26201;", ok).result, 1);  // an OK of an earlier display does not count for the next one
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        RecordingHelpViewer help;
        const Outcome out = call(row.keys, [&](QDialog& w) {
            doubleClick(list(w, "List1"), 0);
            const std::string how = row.how;
            if (how == "close box after help") {
                click(w, QStringLiteral("CBAction(112)"));  // its topic: the help table of every dialog
            }
            if (how == "Esc") QTest::keyClick(&w, Qt::Key_Escape);
            else if (how.starts_with("close box")) closeBox(w);
            else click(w, QString::fromStdString(how));
        });
        EXPECT_EQ(out.result, 2);
        EXPECT_EQ(out.keys, row.keys);
    }
}
