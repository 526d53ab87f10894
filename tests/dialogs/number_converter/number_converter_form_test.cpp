// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"
#include "support/temp_files.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

QStringList outputs(QDialog& w) {
    QStringList texts;
    for (const char* name : {"TBHex", "TBDez", "TBOkt", "TBBin"}) texts << control<QLineEdit>(w, name)->text();
    return texts;
}

// Shows the converter with \a act inside the modal loop; the result must come back empty.
void convert(const std::function<void(QDialog&)>& act) {
    std::u16string result = u"untouched";
    showOnce(QStringLiteral("WConvert"), act, [&] { return CDialogs().Converter(result); });
    EXPECT_EQ(result, u"");
}

// A language file translates the design texts, never the error texts.
TEST(NumberConverterDialog, converts_what_is_typed_until_esc_and_the_next_use_starts_empty) {
    TempFolder folder;
    std::u16string lang = folder.write("de.ini", "[Label]\nConvert numbers=Zahlen umrechnen\nInput:=Eingabe:\n"
                                                 "Invalid procedure call or argument=Ungültig\n"
                                                 "Type mismatch=Typfehler\n");
    CDialogs().Language(lang);
    convert([](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), "Zahlen umrechnen");
        EXPECT_EQ(outputs(w), QStringList(4, QString()));  // nothing until the first change
        auto* input = control<QLineEdit>(w, "TBIn");
        EXPECT_EQ(w.focusWidget(), input);
        QTest::keyClicks(input, "1000");
        EXPECT_EQ(outputs(w), (QStringList{" 3 E8 ", "  1 000 ", "     1750 ", "  11 1110 1000 "}));
        QTest::keyClick(input, Qt::Key_Backspace);
        QTest::keyClick(input, Qt::Key_Return);  // "Close" answers to Esc only
        EXPECT_TRUE(w.isVisible());
        input->clear();
        EXPECT_EQ(outputs(w), QStringList(4, "Invalid procedure call or argument"));
        QTest::keyClicks(input, "12abc");
        EXPECT_EQ(outputs(w), QStringList(4, "Type mismatch"));
        EXPECT_EQ(input->text(), "12abc");  // the input is never changed
        QTest::keyClick(input, Qt::Key_Tab);  // the outputs take no focus
        EXPECT_EQ(w.focusWidget(), control<QPushButton>(w, "CBAction(1)"));
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    convert([](QDialog& w) {
        EXPECT_EQ(control<QLineEdit>(w, "TBIn")->text(), QString());
        EXPECT_EQ(outputs(w), QStringList(4, QString()));
        closeBox(w);
    });
    std::u16string none;
    CDialogs().Language(none);
}

}  // namespace
