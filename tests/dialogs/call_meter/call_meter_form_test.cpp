#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"
#include "support/fake_help_viewer.h"
#include "support/temp_files.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

struct Meter {
    std::u16string acm, amv, ccu, ppu;
    friend bool operator==(const Meter&, const Meter&) = default;
};

std::string narrow(const std::u16string& t) { return QString::fromStdU16String(t).toStdString(); }

std::ostream& operator<<(std::ostream& out, const Meter& m) {
    return out << narrow(m.acm) << " / " << narrow(m.amv) << " / " << narrow(m.ccu) << " / " << narrow(m.ppu);
}

// Calls SelectMeter with \a meter and returns the result; \a meter receives the texts handed back.
int32_t selectMeter(Meter& meter, Status* status = nullptr) {
    CDialogs dialogs;
    Picture icon;
    int32_t result = -1;
    const Status s = dialogs.SelectMeter(meter.acm, meter.amv, meter.ccu, meter.ppu, icon, result);
    if (status) *status = s;
    else EXPECT_TRUE(s) << narrow(s.description());
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

// Replaces the text of \a name by typing \a keys, as a user would.
void retype(QDialog& w, const char* name, const QString& keys) {
    QLineEdit* box = field(w, name);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, keys);
}

}  // namespace

TEST(CallMeterDialog, typing_in_a_meter_field_keeps_the_rows_in_step) {
    const struct {
        const char* field;  // nullptr: only opened
        const char* keys;
        const char* expected;
    } rows[] = {
        {nullptr, "", "200 1200 | 1000 6000 | 800 4800 | 6 EUR"},
        {"TBAcmb", "250", "41 250 | 1000 6000 | 959 5754 | 6 EUR"},
        {"TBAmv", "30", "200 1200 | 30 180 | -170 -1020 | 6 EUR"},
        {"TBPpu", "7", "200 1400 | 1000 7000 | 800 5600 | 7 EUR"},
    };
    for (const auto& row : rows) {
        WhenShown driver(QStringLiteral("WAcm"), [&row](QDialog& w) {
            if (row.field) retype(w, row.field, QString::fromLatin1(row.keys));
            EXPECT_EQ(fields(w), QString::fromLatin1(row.expected)) << row.field;
            click(w, QStringLiteral("CBAction(1)"));
        });
        Meter meter{u"200", u"1000", u"EUR", u"6"};
        EXPECT_EQ(selectMeter(meter), 1);
        EXPECT_EQ(driver.runs(), 1);
    }
}

TEST(CallMeterDialog, the_release_of_any_key_runs_the_steps_of_the_focused_field) {
    WhenShown driver(QStringLiteral("WAcm"), [](QDialog& w) {
        QLineEdit* acm = field(w, "TBAcm");
        acm->setFocus();
        acm->setText(QStringLiteral("300"));  // no key yet: nothing follows
        EXPECT_EQ(text(w, "TBAcmb"), QStringLiteral("2400"));
        QTest::keyRelease(acm, Qt::Key_Shift);
        EXPECT_EQ(fields(w), QStringLiteral("300 3600 | 1000 12000 | 700 8400 | 12 EUR"));

        // Tab moves on and is released in the amount field, which then gives the units.
        field(w, "TBAcmb")->setText(QStringLiteral("250"));
        QTest::keyPress(acm, Qt::Key_Tab);
        ASSERT_EQ(w.focusWidget(), field(w, "TBAcmb"));
        QTest::keyRelease(field(w, "TBAcmb"), Qt::Key_Tab);
        EXPECT_EQ(fields(w), QStringLiteral("20 250 | 1000 12000 | 980 11760 | 12 EUR"));
        click(w, QStringLiteral("CBAction(1)"));
    });
    Meter meter{u"200", u"1000", u"EUR", u"12"};
    EXPECT_EQ(selectMeter(meter), 1);
    EXPECT_EQ(meter, (Meter{u"20", u"1000", u"EUR", u"12"}));
}

TEST(CallMeterDialog, numeric_fields_take_digits_only_by_key_paste_drop_and_undo) {
    WhenShown driver(QStringLiteral("WAcm"), [](QDialog& w) {
        const QString before = fields(w);
        for (const char* name : {"TBAcm", "TBAcmb", "TBAmv", "TBAmvb", "TBPpu"}) {
            QLineEdit* box = field(w, name);
            box->setFocus();
            box->end(false);
            QTest::keyClicks(box, QStringLiteral("a-.+ ,eE"));
            EXPECT_EQ(fields(w), before) << name;
        }
        retype(w, "TBCcu", QStringLiteral("$-.x"));  // any three characters
        EXPECT_EQ(text(w, "TBCcu"), QStringLiteral("$-."));

        // A paste or drop with anything but digits is refused whole.
        QLineEdit* amv = field(w, "TBAmv");
        amv->setFocus();
        amv->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("12a"));
        QTest::keyClick(amv, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(amv->text(), QStringLiteral("1000"));
        QApplication::clipboard()->setText(QStringLiteral("345"));
        amv->selectAll();
        QTest::keyClick(amv, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(amv->text(), QStringLiteral("345"));
        QLineEdit* price = field(w, "TBPpu");
        for (const QString& dropped : {QStringLiteral("7x"), QStringLiteral("-1")}) {
            QMimeData mime;
            mime.setText(dropped);
            QDropEvent drop(QPointF(price->rect().center()), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(price, &drop);
            EXPECT_EQ(price->text(), QStringLiteral("12")) << dropped.toStdString();
        }

        click(w, QStringLiteral("CBAction(1)"));
    });
    Meter meter{u"200", u"1000", u"EUR", u"12"};
    EXPECT_EQ(selectMeter(meter), 1);
    EXPECT_EQ(meter, (Meter{u"200", u"345", u"$-.", u"12"}));
}

TEST(CallMeterDialog, undo_brings_no_letter_back_and_the_field_goes_on_refusing) {
    WhenShown driver(QStringLiteral("WAcm"), [](QDialog& w) {
        QLineEdit* acm = field(w, "TBAcm");
        acm->setFocus();
        acm->setSelection(2, 1);  // the host's "a"
        QTest::keyClick(acm, Qt::Key_5);
        QTest::keyClick(acm, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(acm->text(), QStringLiteral("125"));
        acm->end(false);
        QTest::keyClicks(acm, QStringLiteral("x6"));
        click(w, QStringLiteral("CBAction(1)"));
    });
    Meter meter{u"12a", u"1000", u"EUR", u"1"};
    EXPECT_EQ(selectMeter(meter), 1);
    EXPECT_EQ(meter.acm, u"1256");
}

TEST(CallMeterDialog, typing_stops_at_the_field_limits_and_a_long_amount_only_gives_characters_away) {
    WhenShown driver(QStringLiteral("WAcm"), [](QDialog& w) {
        QLineEdit* amount = field(w, "TBAmvb");
        EXPECT_EQ(amount->text(), QStringLiteral("999899990001"));
        amount->setFocus();
        amount->end(false);
        QTest::keyClick(amount, Qt::Key_5);
        EXPECT_EQ(amount->text(), QStringLiteral("999899990001"));
        QTest::keyClick(amount, Qt::Key_Backspace);
        EXPECT_EQ(text(w, "TBAmv"), QStringLiteral("9999999"));  // 99989999000 / 9999 rounded down
        retype(w, "TBAcm", QStringLiteral("1234567890"));
        retype(w, "TBCcu", QStringLiteral("ABCD"));
        EXPECT_EQ(text(w, "TBAcm"), QStringLiteral("12345678"));
        EXPECT_EQ(text(w, "TBCcu"), QStringLiteral("ABC"));
        click(w, QStringLiteral("CBAction(1)"));
    });
    Meter meter{u"0", u"99999999", u"EUR", u"9999"};
    EXPECT_EQ(selectMeter(meter), 1);
    EXPECT_EQ(meter, (Meter{u"12345678", u"9999999", u"ABC", u"9999"}));
}

TEST(CallMeterDialog, ok_enter_cancel_and_escape_all_hand_back_the_edited_texts) {
    const struct {
        const char* how;
        int32_t result;
    } rows[] = {{"CBAction(1)", 1}, {"Enter", 1}, {"CBAction(2)", 2}, {"Escape", 2}};
    for (const auto& row : rows) {
        WhenShown driver(QStringLiteral("WAcm"), [&row](QDialog& w) {
            click(w, QStringLiteral("CBClear(1)"));
            retype(w, "TBAmvb", QStringLiteral("600"));
            retype(w, "TBCcu", QStringLiteral("CHF"));
            const QString how = QString::fromLatin1(row.how);
            if (how == u"Enter") QTest::keyClick(field(w, "TBCcu"), Qt::Key_Return);
            else if (how == u"Escape") QTest::keyClick(field(w, "TBCcu"), Qt::Key_Escape);
            else click(w, how);
        });
        Meter meter{u"200", u"1000", u"EUR", u"12"};
        EXPECT_EQ(selectMeter(meter), row.result) << row.how;
        EXPECT_EQ(meter, (Meter{u"0", u"50", u"CHF", u"12"})) << row.how;
    }
}

TEST(CallMeterDialog, the_close_box_gives_0_and_hands_back_the_texts_as_passed) {
    WhenShown driver(QStringLiteral("WAcm"), [](QDialog& w) {
        EXPECT_EQ(text(w, "TBAcm"), QStringLiteral("12345678"));
        retype(w, "TBAmv", QStringLiteral("5"));
        closeBox(w);
    });
    Meter meter{u"123456789", u"1000", u"EURO", u"12"};
    EXPECT_EQ(selectMeter(meter), 0);
    EXPECT_EQ(meter, (Meter{u"123456789", u"1000", u"EURO", u"12"}));
}

TEST(CallMeterDialog, host_texts_are_cut_to_the_fields_and_the_next_call_starts_afresh) {
    {
        WhenShown first(QStringLiteral("WAcm"), [](QDialog& w) {
            // "abc" reads as 0 and stays as it is.
            EXPECT_EQ(fields(w), QStringLiteral("12345678 15234566652 | abc 0 | -12345678 -15234566652 | 1234 EUR"));
            click(w, QStringLiteral("CBAction(2)"));
        });
        Meter meter{u"123456789", u"abc", u"EURO", u"12345x"};
        EXPECT_EQ(selectMeter(meter), 2);
        EXPECT_EQ(meter, (Meter{u"12345678", u"abc", u"EUR", u"1234"}));
    }
    WhenShown second(QStringLiteral("WAcm"), [](QDialog& w) {
        EXPECT_EQ(fields(w), QStringLiteral("1 2 | 3 6 | 2 4 | 2 GBP"));
        click(w, QStringLiteral("CBAction(1)"));
    });
    Meter next{u"1", u"3", u"GBP", u"2"};
    EXPECT_EQ(selectMeter(next), 1);
}

TEST(CallMeterDialog, texts_beyond_a_double_fail_with_overflow_before_the_window_shows) {
    WhenShown driver(QStringLiteral("WAcm"), [](QDialog& w) { click(w, QStringLiteral("CBAction(1)")); });
    Meter meter{u"1E999", u"1000", u"EUR", u"12"};
    Status status;
    selectMeter(meter, &status);
    EXPECT_EQ(status.number(), 6);
    EXPECT_EQ(status.description(), u"Overflow");
    EXPECT_EQ(driver.runs(), 0);
    EXPECT_EQ(meter, (Meter{u"1E999", u"1000", u"EUR", u"12"}));
}

TEST(CallMeterDialog, help_opens_topic_7105_and_leaves_the_dialog_open) {
    RecordingHelpViewer help;
    WhenShown driver(QStringLiteral("WAcm"), [&help](QDialog& w) {
        click(w, QStringLiteral("CBAction(112)"));
        EXPECT_EQ(help.contexts, std::vector<int32_t>{7105});
        EXPECT_TRUE(w.isVisible());
        click(w, QStringLiteral("CBAction(1)"));
    });
    Meter meter{u"1", u"2", u"EUR", u"3"};
    EXPECT_EQ(selectMeter(meter), 1);
}

TEST(CallMeterDialog, translates_captions_but_never_the_fields) {
    TempFolder folder;
    std::u16string path = folder.write("de.ini", "[Label]\nAccumulated Call Meter=Gebuehrenzaehler\n"
                                                 "Cost limit=Kostenlimit\nEUR=XXX\n0=null\n");
    CDialogs dialogs;
    ASSERT_TRUE(dialogs.Language(path));
    WhenShown driver(QStringLiteral("WAcm"), [](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Gebuehrenzaehler"));
        EXPECT_EQ(control<QGroupBox>(w, QStringLiteral("Frame2"))->title(), QStringLiteral("Kostenlimit"));
        EXPECT_EQ(fields(w), QStringLiteral("0 0 | 0 0 | 0 0 | 0 EUR"));
        click(w, QStringLiteral("CBAction(1)"));
    });
    Meter meter{u"0", u"0", u"EUR", u"0"};
    EXPECT_EQ(selectMeter(meter), 1);
    std::u16string none;
    dialogs.Language(none);
}
