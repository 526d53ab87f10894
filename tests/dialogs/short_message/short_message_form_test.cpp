// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTest>

#include "dialogs/short_message/short_message_form.h"
#include "platform/library_identity.h"
#include "support/dialog_driver.h"
#include "support/fake_help_viewer.h"
#include "support/temp_files.h"
#include "core/module_data.h"
#include "surface/tooling.h"

using namespace kxsim;
using namespace kxsim::test;
using dialogs::ShortMessageContents;
using dialogs::ValidityEntry;
using Ending = platform::Form::Ending;

namespace {

QStringList items(QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i) + "=" + box->itemData(i).toString();
    return out;
}

// Names of the form's controls that are hidden.
QStringList hiddenControls(QDialog& w) {
    QStringList out;
    for (const char* name : {"LblStatus", "CboStatus", "LblName", "TxtName", "Label4", "TxtAddress", "Label3",
                             "CboValid", "Label5", "TxtCenter", "LblData", "TxtData", "ChkReport"})
        if (control<QWidget>(w, name)->isHidden()) out << name;
    return out;
}

// A library folder of its own holding the mobile profile file, and no language file.
class ShortMessageFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("kxmobil.ini", "[SMS_VP]\r\n1=5 min,0\r\n2=1 hour,11\r\n3=1 day,167,x\r\n4=soon\r\n");
        platform::setLibraryFolder(platform::fromUtf8(folder.path().string()));
        core::languageFile().clear();
    }
    void TearDown() override {
        platform::setLibraryFolder(u"");
        core::languageFile().clear();
    }
    // Shows the form with \a act inside the modal loop; it must end as \a expected.
    void show(Ending expected, const std::function<void(QDialog&)>& act) {
        WhenShown driver(QStringLiteral("WSms"), act);
        EXPECT_EQ(form.showModal(), expected);
        EXPECT_EQ(driver.runs(), 1);
    }

    TempFolder folder;
    dialogs::ShortMessageForm form;
};

}  // namespace

// The list items stay untranslated; help and F1 leave the form open.
TEST_F(ShortMessageFormTest, opens_translated_in_status_mode_with_the_validity_list_of_the_profile) {
    core::languageFile() =
        folder.write("lang.ini", "[Label]\r\nShort Message=Kurzmitteilung\r\nempfangen=received\r\n5 min=5 Minuten\r\n");
    RecordingHelpViewer help;
    EXPECT_EQ(form.helpContextId(), 0);  // set only when displayed
    show(Ending::CloseBox, [&](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), "Kurzmitteilung");
        EXPECT_EQ(hiddenControls(w), (QStringList{"LblName", "TxtName"}));  // status mode
        auto* status = control<QComboBox>(w, "CboStatus");
        EXPECT_EQ(items(status), (QStringList{"empfangen=", "zu lesen=", "gesendet=", "zu senden="}));
        EXPECT_EQ(status->currentIndex(), 0);
        auto* valid = control<QComboBox>(w, "CboValid");
        EXPECT_EQ(items(valid), (QStringList{"5 min=0", "1 hour=11", "1 day=167", "soon=0"}));
        EXPECT_EQ(valid->currentIndex(), 0);
        click(w, "CBAction(112)");
        QTRY_COMPARE(help.contexts.size(), size_t(1));
        EXPECT_EQ(form.action(), 112);
        QTest::keyClick(&w, Qt::Key_F1);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(help.callers, std::vector<QWidget*>(2, &w));
        closeBox(w);
    });
    EXPECT_EQ(form.helpContextId(), 7111);
    EXPECT_EQ(help.contexts, (std::vector<int32_t>{7111, 7111}));
    EXPECT_EQ(help.files, std::vector<std::u16string>(2, platform::libraryFile(u"kxhelpd.chm")));
}

// Resizing keeps the choices in both combo boxes; the next display chooses the first entries anew.
TEST_F(ShortMessageFormTest, ok_hides_the_form_and_keeps_what_the_user_entered) {
    show(Ending::Hidden, [](QDialog& w) {
        control<QComboBox>(w, "CboStatus")->setCurrentIndex(3);
        control<QComboBox>(w, "CboValid")->setCurrentIndex(2);
        QTest::keyClicks(control<QLineEdit>(w, "TxtAddress"), "+49170123");
        QTest::keyClicks(control<QLineEdit>(w, "TxtCenter"), "+49172");
        QTest::keyClicks(control<QPlainTextEdit>(w, "TxtData"), "Hello there");
        QTest::keyClick(control<QCheckBox>(w, "ChkReport"), Qt::Key_Space);
        QResizeEvent resize(w.size() + QSize(40, 30), w.size());
        QCoreApplication::sendEvent(&w, &resize);
        EXPECT_EQ(control<QComboBox>(w, "CboValid")->count(), 4);
        click(w, "CBAction(1)");
    });
    EXPECT_EQ(form.action(), 1);
    EXPECT_TRUE(form.isLoaded());
    const ShortMessageContents c = form.contents();
    EXPECT_EQ(std::tie(c.statusIndex, c.validityIndex, c.report), std::make_tuple(3, 2, 1));
    EXPECT_EQ(c.validity, (ValidityEntry{u"1 day", 167}));
    EXPECT_EQ(c.address + u"|" + c.center + u"|" + c.text + u"|" + c.name, u"+49170123|+49172|Hello there|");
    show(Ending::Hidden, [](QDialog& w) {
        EXPECT_EQ(control<QComboBox>(w, "CboStatus")->currentIndex(), 0);
        EXPECT_EQ(control<QComboBox>(w, "CboValid")->currentIndex(), 0);
        click(w, "CBAction(1)");
    });
}

TEST_F(ShortMessageFormTest, the_tooling_entry_opens_a_name_in_name_mode_and_hands_back_only_after_ok) {
    const struct {
        std::function<void(QDialog&)> close;
        int32_t action;
        std::u16string center;  // what comes back
    } rows[] = {
        {[](QDialog& w) { click(w, "CBAction(1)"); }, 1, u"+49172"},
        {[](QDialog& w) { click(w, "CBAction(2)"); }, 2, u"+4930"},
        {[](QDialog& w) { QTest::keyClick(&w, Qt::Key_Escape); }, 2, u"+4930"},
        {[](QDialog& w) { closeBox(w); }, 0, u"+4930"},
    };
    for (const auto& row : rows) {
        tooling::ShortMessageContents contents;
        contents.name = u"Anna";
        contents.center = u"+4930";
        int32_t action = -1;
        WhenShown driver(QStringLiteral("WSms"), [&row](QDialog& w) {
            // A name set before display opens name mode.
            EXPECT_EQ(hiddenControls(w), (QStringList{"LblStatus", "CboStatus", "LblData", "TxtData", "ChkReport"}));
            control<QLineEdit>(w, "TxtCenter")->setText("+49172");
            control<QComboBox>(w, "CboValid")->setCurrentIndex(1);
            row.close(w);
        });
        EXPECT_TRUE(tooling::showShortMessageForm(contents, action));
        EXPECT_EQ(driver.runs(), 1);
        EXPECT_EQ(action, row.action);
        EXPECT_EQ(contents.center, row.center);
        EXPECT_EQ(contents.name, u"Anna");
        EXPECT_EQ(contents.validityIndex, row.action == 1 ? 1 : -1);
        EXPECT_EQ(contents.validity.value, row.action == 1 ? 11 : 0);
    }
}
