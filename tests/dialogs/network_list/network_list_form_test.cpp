#include <gtest/gtest.h>

#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "kxsimlib/cdialogs.h"
#include "platform/ui_feedback.h"
#include "support/dialog_driver.h"
#include "support/fake_help_viewer.h"
#include "support/temp_files.h"
#include "surface/module_data.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

constexpr const char* kIni =
    "[Networks]\r\n"
    "26201=Telekom Deutschland\r\n"
    "26202=Vodafone Germany\r\n"
    "23415=Vodafone UK\r\n"
    "00101=Test network\r\n";

struct Outcome {
    Status status;
    int32_t result = -1;
    std::u16string keys;
};

class NetworkListDialog : public ::testing::Test {
protected:
    TempFolder folder;
    std::u16string ini = folder.write("networks.ini", kIni);

    Outcome call(std::u16string keys, int32_t max = 5, std::u16string file = {}, std::u16string language = {}) {
        CDialogs dialogs;
        std::u16string section = u"Networks";
        if (file.empty()) file = ini;
        std::u16string caption = u"Preferred networks";
        Picture icon;
        int32_t helpId = 7120;
        Outcome out;
        out.keys = std::move(keys);
        out.status = dialogs.SelectNetwork(section, out.keys, max, file, caption, icon, helpId, language, out.result);
        return out;
    }
};

QListWidget* list(QDialog& w, const char* name) { return control<QListWidget>(w, QLatin1String(name)); }

QStringList texts(QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
    return out;
}

// What a mouse sends for a double-click: press, release, double-click, release.
void doubleClick(QListWidget* l, int row) {
    const QPoint at = l->visualItemRect(l->item(row)).center();
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(l->viewport(), Qt::LeftButton, {}, at);
}

void select(QListWidget* l, int row) {
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
}

// Answers the next input box with \a reply, or cancels it; reports its prompt and title.
void answerInputBox(std::optional<QString> reply, QString* prompt = nullptr, QString* title = nullptr) {
    whenModalAppears(QStringLiteral("InputBox"), [=](QWidget& box) {
        auto* input = static_cast<QInputDialog*>(&box);
        if (prompt) *prompt = input->labelText();
        if (title) *title = input->windowTitle();
        if (reply) {
            input->setTextValue(*reply);
            input->accept();
        } else {
            input->reject();
        }
    });
}

}  // namespace

TEST_F(NetworkListDialog, double_clicks_add_and_remove_and_ok_hands_back_the_rebuilt_list) {
    WhenShown driver(QStringLiteral("WNetze"), [](QDialog& w) {
        QListWidget* available = list(w, "List1");
        QListWidget* selected = list(w, "List2");
        EXPECT_EQ(texts(available), (QStringList{"Telekom Deutschland", "Vodafone Germany", "Vodafone UK",
                                                 "Test network"}));
        EXPECT_EQ(texts(selected), (QStringList{"Vodafone Germany", "? 4711", "Test network"}));
        EXPECT_EQ(available->currentRow(), -1);
        EXPECT_EQ(selected->currentRow(), -1);
        doubleClick(available, 0);
        doubleClick(available, 2);
        doubleClick(available, 2);  // the same key twice
        EXPECT_EQ(available->count(), 4);
        doubleClick(selected, 1);   // "? 4711"
        EXPECT_EQ(texts(selected), (QStringList{"Vodafone Germany", "Test network", "Telekom Deutschland",
                                                "Vodafone UK", "Vodafone UK"}));
        EXPECT_EQ(selected->item(1)->data(Qt::UserRole).toInt(), 101);
        EXPECT_EQ(selected->currentRow(), -1);
        click(w, QStringLiteral("CBAction(1)"));
    });
    const Outcome out = call(u"26202;4711;00101;", 6);
    EXPECT_TRUE(out.status);
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.keys, u"26202;101;26201;23415;23415;");
    EXPECT_EQ(driver.runs(), 1);
}

TEST_F(NetworkListDialog, the_buttons_add_remove_and_reorder) {
    WhenShown driver(QStringLiteral("WNetze"), [](QDialog& w) {
        QListWidget* available = list(w, "List1");
        QListWidget* selected = list(w, "List2");
        click(w, QStringLiteral("CmdAddRemove(0)"));  // nothing selected: nothing happens
        EXPECT_EQ(selected->count(), 2);
        select(available, 1);
        click(w, QStringLiteral("CmdAddRemove(0)"));
        select(selected, 2);
        click(w, QStringLiteral("CmdUpDown(0)"));  // Higher
        EXPECT_EQ(selected->currentRow(), 1);
        click(w, QStringLiteral("CmdUpDown(0)"));
        click(w, QStringLiteral("CmdUpDown(0)"));  // already on top
        EXPECT_EQ(texts(selected), (QStringList{"Vodafone Germany", "Telekom Deutschland", "Vodafone UK"}));
        EXPECT_EQ(selected->currentRow(), 0);
        click(w, QStringLiteral("CmdUpDown(1)"));  // Lower
        click(w, QStringLiteral("CmdUpDown(1)"));
        click(w, QStringLiteral("CmdUpDown(1)"));  // already at the bottom
        EXPECT_EQ(texts(selected), (QStringList{"Telekom Deutschland", "Vodafone UK", "Vodafone Germany"}));
        EXPECT_EQ(selected->currentRow(), 2);
        select(selected, 0);
        click(w, QStringLiteral("CmdAddRemove(1)"));
        click(w, QStringLiteral("CmdAddRemove(1)"));  // nothing selected any more
        EXPECT_EQ(texts(selected), (QStringList{"Vodafone UK", "Vodafone Germany"}));
        QTest::keyClick(selected, Qt::Key_Return);  // Enter presses OK
    });
    const Outcome out = call(u"26201;23415");
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.keys, u"23415;26202;");
}

TEST_F(NetworkListDialog, a_full_list_only_beeps_and_input_still_appends) {
    const struct {
        int32_t max;
        std::u16string keys;
    } rows[] = {{0, u""}, {1, u"26201;"}, {2, u"1;2;3;"}};
    for (const auto& row : rows) {
        WhenShown driver(QStringLiteral("WNetze"), [](QDialog& w) {
            QListWidget* available = list(w, "List1");
            QListWidget* selected = list(w, "List2");
            const int count = selected->count();
            const int beeps = platform::beepCount();
            select(available, 0);
            click(w, QStringLiteral("CmdAddRemove(0)"));
            doubleClick(available, 1);
            EXPECT_EQ(platform::beepCount(), beeps + 2);
            EXPECT_EQ(selected->count(), count);
            answerInputBox(QStringLiteral("7"));
            click(w, QStringLiteral("CmdInput"));
            EXPECT_EQ(selected->count(), count + 1);
            click(w, QStringLiteral("CBAction(1)"));
        });
        const Outcome out = call(row.keys, row.max);
        EXPECT_EQ(out.keys, row.keys + u"7;");
    }
}

TEST_F(NetworkListDialog, input_appends_what_reads_as_a_number_and_ignores_the_rest) {
    const std::u16string language = folder.write(
        "de.ini", "[Label]\r\nPlease enter the number to add:=Bitte Nummer\\neingeben:\r\n");
    WhenShown driver(QStringLiteral("WNetze"), [](QDialog& w) {
        QListWidget* selected = list(w, "List2");
        QString prompt, title = QStringLiteral("unset");
        for (const std::optional<QString>& reply :
             {std::optional<QString>(QStringLiteral(" 42 ")), std::optional<QString>(QStringLiteral("12.5")),
              std::optional<QString>(QStringLiteral("abc")), std::optional<QString>(QString()),
              std::optional<QString>(QStringLiteral("99999999999")), std::optional<QString>()}) {
            answerInputBox(reply, &prompt, &title);
            click(w, QStringLiteral("CmdInput"));
        }
        EXPECT_EQ(prompt, QStringLiteral("Bitte Nummer\neingeben:"));
        EXPECT_EQ(title, QString());
        EXPECT_EQ(texts(selected), (QStringList{"?  42 ", "? 12.5"}));
        click(w, QStringLiteral("CBAction(1)"));
    });
    EXPECT_EQ(call(u"", 0, {}, language).keys, u"42;12;");
}

TEST_F(NetworkListDialog, cancel_esc_and_the_close_box_return_2_with_the_keys_exactly_as_passed) {
    const struct {
        const char* how;
        std::u16string keys;
    } rows[] = {{"CBAction(2)", u"1;;2"}, {"Esc", u"26201"}, {"close box", u""}, {"close box after help", u"1;;2"}};
    {  // an OK of an earlier display does not count for the next one
        WhenShown ok(QStringLiteral("WNetze"), [](QDialog& w) { click(w, QStringLiteral("CBAction(1)")); });
        EXPECT_EQ(call(u"26201;").result, 1);
    }
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        RecordingHelpViewer help;
        WhenShown driver(QStringLiteral("WNetze"), [&](QDialog& w) {
            doubleClick(list(w, "List1"), 0);
            const QString how = QString::fromLatin1(row.how);
            if (how == u"Esc") QTest::keyClick(&w, Qt::Key_Escape);
            else if (how.startsWith(u"close box")) {
                if (how.endsWith(u"help")) {
                    click(w, QStringLiteral("CBAction(112)"));  // help leaves the dialog open
                    EXPECT_EQ(help.contexts, std::vector<int32_t>{7120});
                    EXPECT_TRUE(w.isVisible());
                }
                closeBox(w);
            } else click(w, how);
        });
        const Outcome out = call(row.keys);
        EXPECT_TRUE(out.status);
        EXPECT_EQ(out.result, 2);
        EXPECT_EQ(out.keys, row.keys);
    }
}

TEST_F(NetworkListDialog, a_missing_ini_file_shows_every_key_as_unknown) {
    WhenShown driver(QStringLiteral("WNetze"), [](QDialog& w) {
        EXPECT_EQ(list(w, "List1")->count(), 0);
        EXPECT_EQ(texts(list(w, "List2")), (QStringList{"? 26201", "? 00101"}));
        click(w, QStringLiteral("CBAction(1)"));
    });
    const Outcome out = call(u"26201;00101;", 5, folder.file("missing.ini"));
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.keys, u"26201;101;");
}

TEST_F(NetworkListDialog, a_key_too_large_fails_with_overflow_before_the_window_opens) {
    std::u16string before = u"/kept/language.ini";
    surface::languageFile() = before;
    WhenShown driver(QStringLiteral("WNetze"), [](QDialog& w) { click(w, QStringLiteral("CBAction(1)")); });
    const Outcome out = call(u"26201;2147483648;", 5, {}, u"other.ini");
    EXPECT_EQ(out.status, Status::error(6));
    EXPECT_EQ(out.status.description(), u"Overflow");
    EXPECT_EQ(out.result, -1);
    EXPECT_EQ(out.keys, u"26201;2147483648;");
    EXPECT_EQ(driver.runs(), 0);
    EXPECT_EQ(surface::languageFile(), before);
}

TEST_F(NetworkListDialog, the_language_argument_translates_and_stays_in_force) {
    const std::u16string language = folder.write(
        "de.ini", "[Label]\r\nPreferred Networks=Bevorzugte Netze\r\nSelected:=Ausgewählt:\r\n");
    WhenShown driver(QStringLiteral("WNetze"), [](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Bevorzugte Netze"));
        EXPECT_EQ(control<QLabel>(w, QStringLiteral("Label1(1)"))->text(), QStringLiteral("Ausgewählt:"));
        EXPECT_EQ(control<QLabel>(w, QStringLiteral("Label1(0)"))->text(), QStringLiteral("Available:"));
        click(w, QStringLiteral("CBAction(2)"));
    });
    call(u"", 5, {}, language);
    EXPECT_EQ(surface::languageFile(), language);
}

TEST_F(NetworkListDialog, the_lists_are_filled_once_per_display) {
    WhenShown driver(QStringLiteral("WNetze"), [](QDialog& w) {
        w.showMinimized();
        w.showNormal();
        w.resize(w.size() + QSize(10, 10));
        QCoreApplication::processEvents();
        EXPECT_EQ(list(w, "List1")->count(), 4);
        EXPECT_EQ(list(w, "List2")->count(), 1);
        click(w, QStringLiteral("CBAction(1)"));
    });
    for (int use = 0; use < 2; ++use) EXPECT_EQ(call(u"23415;").keys, u"23415;");
    EXPECT_EQ(driver.runs(), 2);
}
