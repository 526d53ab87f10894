// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"
#include "support/temp_files.h"
#include "support/texts.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

struct Meter {
    std::u16string acm, amv, ccu, ppu;
    std::string text() const { return narrow(acm + u" " + amv + u" " + ccu + u" " + ppu); }
};

// Calls SelectMeter with \a meter while \a act runs in its window; \a meter receives the texts handed back.
int32_t selectMeter(Meter& meter, const std::function<void(QDialog&)>& act, Picture icon = {}) {
    int32_t result = -1;
    showOnce(QStringLiteral("WAcm"), act,
             [&] { return CDialogs().SelectMeter(meter.acm, meter.amv, meter.ccu, meter.ppu, icon, result); });
    return result;
}

QLineEdit* field(QDialog& w, const char* name) { return control<QLineEdit>(w, QString::fromLatin1(name)); }
QString text(QDialog& w, const char* name) { return field(w, name)->text(); }

// The eight fields as "acm acmb | amv amvb | res resb | ppu ccu".
QString fields(QDialog& w) {
    return QStringLiteral("%1 %2 | %3 %4 | %5 %6 | %7 %8")
        .arg(text(w, "TBAcm"), text(w, "TBAcmb"), text(w, "TBAmv"), text(w, "TBAmvb"), text(w, "TBRes"),
             text(w, "TBResb"), text(w, "TBPpu"), text(w, "TBCcu"));
}

}  // namespace

// A language file translates the design texts, never the fields.
TEST(CallMeterDialog, the_release_of_any_key_or_a_change_without_one_runs_the_steps_and_a_price_moves_the_amounts) {
    TempFolder folder;
    std::u16string language = folder.write("de.ini", "[Label]\nAccumulated Call Meter=Gebuehrenzaehler\n"
                                                     "Cost limit=Kostenlimit\nEUR=XXX\n12=zwoelf\n1000=tausend\n");
    CDialogs().Language(language);
    Meter meter{u"200", u"1000", u"EUR", u"12"};
    EXPECT_EQ(selectMeter(meter, [](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Gebuehrenzaehler"));
        EXPECT_EQ(control<QGroupBox>(w, QStringLiteral("Frame2"))->title(), QStringLiteral("Kostenlimit"));
        EXPECT_EQ(fields(w), QStringLiteral("200 2400 | 1000 12000 | 800 9600 | 12 EUR"));
        QLineEdit* acm = field(w, "TBAcm");
        acm->setFocus();
        acm->setText(QStringLiteral("300"));  // no key brought it (a screen reader, a paste): one run
        EXPECT_EQ(fields(w), QStringLiteral("300 3600 | 1000 12000 | 700 8400 | 12 EUR"));
        QTest::keyPress(acm, Qt::Key_Shift);  // while a key is down its release runs the steps
        acm->setText(QStringLiteral("400"));
        EXPECT_EQ(text(w, "TBAcmb"), QStringLiteral("3600"));
        QTest::keyRelease(acm, Qt::Key_Shift);
        EXPECT_EQ(fields(w), QStringLiteral("400 4800 | 1000 12000 | 600 7200 | 12 EUR"));
        // Tab moves on and is released in the amount field, which then gives the units.
        field(w, "TBAcmb")->setText(QStringLiteral("250"));
        QTest::keyPress(acm, Qt::Key_Tab);
        ASSERT_EQ(w.focusWidget(), field(w, "TBAcmb"));
        QTest::keyRelease(field(w, "TBAcmb"), Qt::Key_Tab);
        EXPECT_EQ(fields(w), QStringLiteral("20 250 | 1000 12000 | 980 11760 | 12 EUR"));
        retype(field(w, "TBPpu"), QStringLiteral("7"));  // a new price moves every amount
        EXPECT_EQ(fields(w), QStringLiteral("20 140 | 1000 7000 | 980 6860 | 7 EUR"));
        click(w, QStringLiteral("CBAction(1)"));
    }), 1);
    EXPECT_EQ(meter.text(), "20 1000 EUR 7");
    std::u16string none;
    CDialogs().Language(none);
}

TEST(CallMeterDialog, ok_enter_cancel_and_escape_hand_back_the_edited_texts_the_close_box_those_passed) {
    const struct { const char* how; int32_t result; } rows[] = {
        {"CBAction(1)", 1}, {"Enter", 1}, {"CBAction(2)", 2}, {"Escape", 2}, {"close box", 0}};
    for (const auto& row : rows) {
        Meter meter{u"123456789", u"1000", u"EURO", u"12"};
        EXPECT_EQ(selectMeter(meter, [&row](QDialog& w) {
            click(w, QStringLiteral("CBClear(1)"));
            retype(field(w, "TBAmvb"), QStringLiteral("600"));
            retype(field(w, "TBCcu"), QStringLiteral("CHF"));
            const QString how = QString::fromLatin1(row.how);
            if (how == u"Enter") QTest::keyClick(field(w, "TBCcu"), Qt::Key_Return);
            else if (how == u"Escape") QTest::keyClick(field(w, "TBCcu"), Qt::Key_Escape);
            else if (how == u"close box") closeBox(w);
            else click(w, how);
        }), row.result) << row.how;
        EXPECT_EQ(meter.text(), row.result ? "0 50 CHF 12" : "123456789 1000 EURO 12") << row.how;
    }
}

// An icon file is read only when it is an ordinary file: a FIFO or a device
// shows no picture and never blocks (the alarm ends a test that would hang).
TEST(CallMeterDialog, an_icon_path_that_is_no_ordinary_file_shows_no_picture) {
    TempFolder folder;
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdU16String(folder.file("red.png"))));
    ASSERT_EQ(::mkfifo((folder.path() / "fifo.png").c_str(), 0600), 0);
    const struct { std::u16string path; bool shown; } rows[] = {
        {folder.file("red.png"), true}, {folder.file("fifo.png"), false}, {u"/dev/zero", false},
        {folder.file(""), false}, {folder.file("missing.png"), false}};
    ::alarm(60);
    for (const auto& row : rows) {
        Meter meter{u"1", u"2", u"EUR", u"3"};
        selectMeter(meter, [&row](QDialog& w) {
            EXPECT_EQ(!control<QLabel>(w, QStringLiteral("IMIcon"))->pixmap().isNull(), row.shown) << narrow(row.path);
            closeBox(w);
        }, Picture::fromFile(row.path));
    }
    ::alarm(0);
}
