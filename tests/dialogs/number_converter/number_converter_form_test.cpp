#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"
#include "support/fake_help_viewer.h"
#include "support/temp_files.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

const QStringList kOutputs = {QStringLiteral("TBHex"), QStringLiteral("TBDez"), QStringLiteral("TBOkt"),
                              QStringLiteral("TBBin")};

QStringList outputs(QDialog& w) {
    QStringList texts;
    for (const QString& name : kOutputs) texts << control<QLineEdit>(w, name)->text();
    return texts;
}

class NumberConverterDialog : public ::testing::Test {
protected:
    void TearDown() override {
        std::u16string none;
        CDialogs().Language(none);
    }

    // Shows the converter; the result must come back empty.
    void call() {
        CDialogs dialogs;
        std::u16string result = u"untouched";
        const Status s = dialogs.Converter(result);
        EXPECT_TRUE(s) << s.number();
        EXPECT_EQ(result, u"");
    }
};

TEST_F(NumberConverterDialog, converts_what_is_typed_and_shows_error_5_when_cleared) {
    WhenShown driver(QStringLiteral("WConvert"), [](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Convert numbers"));
        EXPECT_EQ(outputs(w), QStringList(4, QString()));  // nothing until the first change
        auto* input = control<QLineEdit>(w, QStringLiteral("TBIn"));
        EXPECT_EQ(w.focusWidget(), input);

        QTest::keyClicks(input, QStringLiteral("1000"));
        EXPECT_EQ(outputs(w), (QStringList{QStringLiteral(" 3 E8 "), QStringLiteral("  1 000 "),
                                           QStringLiteral("     1750 "), QStringLiteral("  11 1110 1000 ")}));

        QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(input, QStringLiteral("hFFFF"));
        EXPECT_EQ(outputs(w)[1], QStringLiteral(" -1 "));
        QTest::keyClicks(input, QStringLiteral("x"));  // ends the number: still -1
        EXPECT_EQ(outputs(w)[0], QStringLiteral("   FF FF FF FF "));

        QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(input, Qt::Key_Backspace);
        EXPECT_EQ(input->text(), QString());
        EXPECT_EQ(outputs(w), QStringList(4, QStringLiteral("Invalid procedure call or argument")));

        QTest::keyClicks(input, QStringLiteral("12abc"));
        EXPECT_EQ(outputs(w), QStringList(4, QStringLiteral("Type mismatch")));
        EXPECT_EQ(input->text(), QStringLiteral("12abc"));  // the input is never changed

        // Esc presses Close, which unloads the window.
        QTest::keyClick(input, Qt::Key_Escape);
    });
    call();
    EXPECT_EQ(driver.runs(), 1);
}

TEST_F(NumberConverterDialog, tab_skips_the_outputs_and_enter_does_not_close) {
    WhenShown driver(QStringLiteral("WConvert"), [](QDialog& w) {
        auto* input = control<QLineEdit>(w, QStringLiteral("TBIn"));
        QTest::keyClick(input, Qt::Key_Tab);
        EXPECT_EQ(w.focusWidget(), control<QPushButton>(w, QStringLiteral("CBAction(1)")));
        // "Close" answers to Esc only.
        input->setFocus();
        QTest::keyClick(input, Qt::Key_Return);
        EXPECT_TRUE(w.isVisible());
        click(w, QStringLiteral("CBAction(1)"));
    });
    call();
    EXPECT_EQ(driver.runs(), 1);
}

TEST_F(NumberConverterDialog, takes_an_input_longer_than_a_line_edit_takes_by_default) {
    WhenShown driver(QStringLiteral("WConvert"), [](QDialog& w) {
        auto* input = control<QLineEdit>(w, QStringLiteral("TBIn"));
        input->setText(QStringLiteral("h") + QString(40000, QLatin1Char('0')) + QStringLiteral("2A"));
        EXPECT_EQ(input->text().size(), 40003);
        EXPECT_EQ(outputs(w)[1], QStringLiteral(" 42 "));
        click(w, QStringLiteral("CBAction(1)"));
    });
    call();
}

TEST_F(NumberConverterDialog, close_unloads_so_the_next_call_starts_empty) {
    {
        WhenShown first(QStringLiteral("WConvert"), [](QDialog& w) {
            QTest::keyClicks(control<QLineEdit>(w, QStringLiteral("TBIn")), QStringLiteral("5"));
            click(w, QStringLiteral("CBAction(1)"));
        });
        call();
        EXPECT_EQ(first.runs(), 1);
    }
    WhenShown second(QStringLiteral("WConvert"), [](QDialog& w) {
        EXPECT_EQ(control<QLineEdit>(w, QStringLiteral("TBIn"))->text(), QString());
        EXPECT_EQ(outputs(w), QStringList(4, QString()));
        closeBox(w);
    });
    call();
    EXPECT_EQ(second.runs(), 1);
}

TEST_F(NumberConverterDialog, help_opens_topic_8100_and_leaves_the_window_open) {
    RecordingHelpViewer help;
    WhenShown driver(QStringLiteral("WConvert"), [&help](QDialog& w) {
        click(w, QStringLiteral("CBAction(112)"));
        QTRY_COMPARE(help.contexts.size(), size_t(1));
        EXPECT_TRUE(w.isVisible());
        click(w, QStringLiteral("CBAction(1)"));
    });
    call();
    EXPECT_EQ(help.contexts, std::vector<int32_t>{8100});
    ASSERT_EQ(help.files.size(), 1u);
    EXPECT_TRUE(help.files[0].ends_with(u"/kxhelpd.chm"));
}

TEST_F(NumberConverterDialog, translates_caption_labels_and_buttons_but_not_the_fields) {
    TempFolder folder;
    std::u16string lang = folder.write("de.ini",
                                       "[Label]\n"
                                       "Convert numbers=Zahlen umrechnen\n"
                                       "Input:=Eingabe:\n"
                                       "Close=Schlie\xdf" "en\n"
                                       "Invalid procedure call or argument=Ungültig\n");
    CDialogs().Language(lang);
    WhenShown driver(QStringLiteral("WConvert"), [](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Zahlen umrechnen"));
        EXPECT_EQ(control<QLabel>(w, QStringLiteral("LB1(0)"))->text(), QStringLiteral("Eingabe:"));
        EXPECT_EQ(control<QLabel>(w, QStringLiteral("LB1(2)"))->text(), QStringLiteral("Decimal:"));
        EXPECT_EQ(control<QPushButton>(w, QStringLiteral("CBAction(1)"))->text(), QStringLiteral("Schließen"));
        // Error texts are not design texts: they stay in English.
        auto* input = control<QLineEdit>(w, QStringLiteral("TBIn"));
        QTest::keyClicks(input, QStringLiteral("1"));
        QTest::keyClick(input, Qt::Key_Backspace);
        EXPECT_EQ(outputs(w)[0], QStringLiteral("Invalid procedure call or argument"));
        click(w, QStringLiteral("CBAction(1)"));
    });
    call();
    EXPECT_EQ(driver.runs(), 1);
}

}  // namespace
