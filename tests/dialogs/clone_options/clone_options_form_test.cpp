#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <set>
#include <vector>

#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"
#include "support/fake_help_viewer.h"
#include "support/temp_files.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

constexpr int kAll = 0;  // in a click list: the "All" box

QString fileBox(int index) { return QStringLiteral("CBFile(%1)").arg(index); }

// Clicks a check box on its indicator, as a user would.
void tick(QDialog& w, const QString& name) {
    auto* box = control<QCheckBox>(w, name);
    if (!box) return;
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

void tickAll(QDialog& w, const std::vector<int>& clicks) {
    for (int index : clicks) tick(w, index == kAll ? QStringLiteral("CBAll") : fileBox(index));
}

std::set<int> checkedBoxes(QDialog& w) {
    std::set<int> checked;
    for (int index = 1; index <= 14; ++index)
        if (auto* box = control<QCheckBox>(w, fileBox(index)); box && box->isChecked()) checked.insert(index);
    return checked;
}

class CloneOptionsDialog : public ::testing::Test {
protected:
    void TearDown() override { setLanguage(u""); }

    static void setLanguage(std::u16string file) {
        CDialogs dialogs;
        ASSERT_TRUE(dialogs.Language(file));
    }

    static int32_t call() {
        CDialogs dialogs;
        int32_t result = 12345;
        const Status s = dialogs.CloneOptions(result);
        EXPECT_TRUE(s) << s.number();
        return result;
    }
};

}  // namespace

TEST_F(CloneOptionsDialog, ok_returns_the_mask_of_what_the_user_checked) {
    const struct {
        std::vector<int> clicks;
        int32_t result;
        std::set<int> shown;  // the boxes shown checked before OK
    } rows[] = {
        {{}, 0, {}},
        {{1}, 33, {1, 6}},
        {{3, 4, 3}, 40, {4, 6}},
        {{6, 7, 10}, 0, {}},  // greyed: clicks do nothing
        {{kAll}, -1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {{kAll, 8}, -129, {1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14}},
        {{kAll, kAll}, 0, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.clicks));
        WhenShown driver(QStringLiteral("WCopysim"), [&row](QDialog& w) {
            tickAll(w, row.clicks);
            EXPECT_EQ(checkedBoxes(w), row.shown);
            click(w, QStringLiteral("CBAction(1)"));
        });
        EXPECT_EQ(call(), row.result);
        EXPECT_EQ(driver.runs(), 1);
    }
}

TEST_F(CloneOptionsDialog, cancel_esc_and_the_close_box_return_0_and_enter_presses_ok) {
    const struct {
        const char* how;
        std::function<void(QDialog&)> close;
        int32_t result;  // after ticking file 4
    } rows[] = {
        {"Cancel", [](QDialog& w) { click(w, QStringLiteral("CBAction(2)")); }, 0},
        {"Esc", [](QDialog& w) { QTest::keyClick(&w, Qt::Key_Escape); }, 0},
        {"close box", [](QDialog& w) { closeBox(w); }, 0},
        {"Enter", [](QDialog& w) { QTest::keyClick(control<QCheckBox>(w, fileBox(4)), Qt::Key_Return); }, 40},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        WhenShown driver(QStringLiteral("WCopysim"), [&](QDialog& w) {
            tickAll(w, {4});
            control<QCheckBox>(w, fileBox(4))->setFocus();
            row.close(w);
        });
        EXPECT_EQ(call(), row.result);
        EXPECT_EQ(driver.runs(), 1);
    }
}

TEST_F(CloneOptionsDialog, each_use_starts_from_nothing_checked) {
    const struct {
        std::vector<int> clicks;
        int32_t result;
    } uses[] = {
        {{1}, 33},
        {{12}, 2048},  // not 2048 + 33: the first choice is not carried over
        {{kAll}, -1},
        {{}, 0},
    };
    for (const auto& use : uses) {
        SCOPED_TRACE(testing::PrintToString(use.clicks));
        WhenShown driver(QStringLiteral("WCopysim"), [&use](QDialog& w) {
            EXPECT_EQ(checkedBoxes(w), std::set<int>{});
            EXPECT_FALSE(control<QCheckBox>(w, QStringLiteral("CBAll"))->isChecked());
            tickAll(w, use.clicks);
            click(w, QStringLiteral("CBAction(1)"));
        });
        EXPECT_EQ(call(), use.result);
    }
}

TEST_F(CloneOptionsDialog, help_opens_topic_7108_and_leaves_the_dialog_open) {
    RecordingHelpViewer help;
    WhenShown driver(QStringLiteral("WCopysim"), [&help](QDialog& w) {
        tick(w, fileBox(2));
        click(w, QStringLiteral("CBAction(112)"));
        QTRY_COMPARE(help.contexts.size(), size_t(1));
        QTest::keyClick(&w, Qt::Key_F1);
        EXPECT_EQ(help.contexts, (std::vector<int32_t>{7108, 7108}));
        EXPECT_TRUE(w.isVisible());
        click(w, QStringLiteral("CBAction(1)"));
    });
    EXPECT_EQ(call(), 66);
    ASSERT_EQ(help.files.size(), 2u);
    EXPECT_TRUE(help.files[0].ends_with(u"/kxhelpd.chm"));
}

TEST_F(CloneOptionsDialog, translates_every_text) {
    TempFolder folder;
    setLanguage(folder.write("de.ini",
                             "[Label]\r\n"
                             "Clone SIM-Card=SIM-Karte klonen\r\n"
                             "clone folowing files from this card:=Folgende Dateien von dieser Karte klonen:\r\n"
                             "SMS Parameter sets=SMS-Parameters\xe4tze f\xfcr alle Profile\r\n"
                             "All=Alle\r\n"));
    WhenShown driver(QStringLiteral("WCopysim"), [](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("SIM-Karte klonen"));
        EXPECT_EQ(control<QLabel>(w, QStringLiteral("LBInfo"))->text(),
                  QStringLiteral("Folgende Dateien von dieser Karte klonen:"));
        EXPECT_EQ(control<QCheckBox>(w, fileBox(9))->text(), QStringLiteral("SMS-Parametersätze für alle Profile"));
        EXPECT_EQ(control<QCheckBox>(w, fileBox(1))->text(), QStringLiteral("Abbreviated Numbers"));
        EXPECT_EQ(control<QCheckBox>(w, QStringLiteral("CBAll"))->text(), QStringLiteral("Alle"));
        tick(w, fileBox(2));
        click(w, QStringLiteral("CBAction(1)"));
    });
    EXPECT_EQ(call(), 66);
}
