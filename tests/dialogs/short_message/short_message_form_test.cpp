#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTest>

#include "dialogs/short_message/short_message_form.h"
#include "platform/library_identity.h"
#include "support/dialog_driver.h"
#include "support/fake_help_viewer.h"
#include "support/temp_files.h"
#include "surface/module_data.h"
#include "surface/tooling.h"

using namespace kxsim;
using namespace kxsim::test;
using dialogs::ShortMessageForm;
using Ending = platform::Form::Ending;

namespace {

const char* const kMobileProfile =
    "[SMS_VP]\r\n1=5 min,0\r\n2=1 hour,11\r\n3=1 day,167,x\r\n4=soon\r\n";

// A library folder of its own holding the mobile profile file, and no language file.
class ShortMessageFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("kxmobil.ini", kMobileProfile);
        platform::setLibraryFolder(platform::fromUtf8(folder.path().string()));
        surface::languageFile().clear();
    }
    void TearDown() override {
        platform::setLibraryFolder(u"");
        surface::languageFile().clear();
    }

    TempFolder folder;
    ShortMessageForm form;
};

dialogs::ShortMessageContents typed(std::u16string name, std::u16string address, std::u16string text = {}) {
    dialogs::ShortMessageContents c;
    c.name = std::move(name);
    c.address = std::move(address);
    c.text = std::move(text);
    return c;
}

QStringList items(QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

QList<int> itemValues(QComboBox* box) {
    QList<int> out;
    for (int i = 0; i < box->count(); ++i) out << box->itemData(i).toInt();
    return out;
}

// Names of the form's controls that are not hidden.
QStringList shownControls(QDialog& w) {
    QStringList out;
    for (const char* name : {"LblStatus", "CboStatus", "LblName", "TxtName", "Label4", "TxtAddress", "Label3",
                             "CboValid", "Label5", "TxtCenter", "LblData", "TxtData", "ChkReport"})
        if (!control<QWidget>(w, QString::fromLatin1(name))->isHidden()) out << QString::fromLatin1(name);
    return out;
}

const QStringList kStatusMode = {"LblStatus", "CboStatus", "Label4", "TxtAddress", "Label3", "CboValid",
                                 "Label5", "TxtCenter", "LblData", "TxtData", "ChkReport"};
const QStringList kNameMode = {"LblName", "TxtName", "Label4", "TxtAddress", "Label3", "CboValid",
                               "Label5", "TxtCenter"};

}  // namespace

TEST_F(ShortMessageFormTest, opens_in_status_mode_with_the_validity_list_of_the_profile) {
    EXPECT_EQ(form.helpContextId(), 0);  // set only when displayed
    WhenShown driver(QStringLiteral("WSms"), [](QDialog& w) {
        EXPECT_EQ(shownControls(w), kStatusMode);
        auto* status = control<QComboBox>(w, QStringLiteral("CboStatus"));
        EXPECT_EQ(items(status), (QStringList{"empfangen", "zu lesen", "gesendet", "zu senden"}));
        EXPECT_EQ(status->currentIndex(), 0);
        auto* valid = control<QComboBox>(w, QStringLiteral("CboValid"));
        EXPECT_EQ(items(valid), (QStringList{"5 min", "1 hour", "1 day", "soon"}));
        EXPECT_EQ(itemValues(valid), (QList<int>{0, 11, 167, 0}));
        EXPECT_EQ(valid->currentIndex(), 0);
        closeBox(w);
    });
    EXPECT_EQ(form.showModal(), Ending::CloseBox);
    EXPECT_EQ(driver.runs(), 1);
    EXPECT_EQ(form.helpContextId(), 7111);
    EXPECT_EQ(form.action(), 0);
}

TEST_F(ShortMessageFormTest, without_the_profile_file_the_validity_list_is_empty_and_unselected) {
    std::filesystem::remove(folder.path() / "kxmobil.ini");
    WhenShown driver(QStringLiteral("WSms"), [](QDialog& w) {
        EXPECT_EQ(control<QComboBox>(w, QStringLiteral("CboValid"))->count(), 0);
        click(w, QStringLiteral("CBAction(1)"));
    });
    EXPECT_EQ(form.showModal(), Ending::Hidden);
    EXPECT_EQ(form.contents().validityIndex, -1);
    EXPECT_EQ(form.contents().validity, dialogs::ValidityEntry{});
}

TEST_F(ShortMessageFormTest, any_change_of_the_name_moves_to_name_mode_for_good) {
    {
        WhenShown driver(QStringLiteral("WSms"), [this](QDialog& w) {
            auto* name = control<QLineEdit>(w, QStringLiteral("TxtName"));
            name->setText(QStringLiteral("Anna"));
            EXPECT_EQ(shownControls(w), kNameMode);
            name->clear();
            QTest::keyClicks(name, QStringLiteral("Bo"));
            EXPECT_EQ(name->text(), QStringLiteral("Bo"));
            EXPECT_EQ(shownControls(w), kNameMode);
            EXPECT_EQ(form.mode(), dialogs::ShortMessageMode::Name);
            click(w, QStringLiteral("CBAction(2)"));
        });
        EXPECT_EQ(form.showModal(), Ending::Unloaded);
    }

    // Loading the window again restores the design: status mode.
    WhenShown again(QStringLiteral("WSms"), [this](QDialog& w) {
        EXPECT_EQ(shownControls(w), kStatusMode);
        EXPECT_EQ(form.mode(), dialogs::ShortMessageMode::Status);
        click(w, QStringLiteral("CBAction(1)"));
    });
    EXPECT_EQ(form.showModal(), Ending::Hidden);
}

TEST_F(ShortMessageFormTest, ok_hides_the_form_and_keeps_what_the_user_entered) {
    WhenShown driver(QStringLiteral("WSms"), [](QDialog& w) {
        control<QComboBox>(w, QStringLiteral("CboStatus"))->setCurrentIndex(3);
        control<QComboBox>(w, QStringLiteral("CboValid"))->setCurrentIndex(2);
        QTest::keyClicks(control<QLineEdit>(w, QStringLiteral("TxtAddress")), QStringLiteral("+49170123"));
        QTest::keyClicks(control<QLineEdit>(w, QStringLiteral("TxtCenter")), QStringLiteral("+49172"));
        QTest::keyClicks(control<QPlainTextEdit>(w, QStringLiteral("TxtData")), QStringLiteral("Hello there"));
        auto* report = control<QCheckBox>(w, QStringLiteral("ChkReport"));
        report->setFocus();
        QTest::keyClick(report, Qt::Key_Space);
        click(w, QStringLiteral("CBAction(1)"));
    });
    EXPECT_EQ(form.showModal(), Ending::Hidden);
    EXPECT_EQ(form.action(), 1);
    ASSERT_TRUE(form.isLoaded());
    EXPECT_FALSE(form.window().isVisible());
    const dialogs::ShortMessageContents c = form.contents();
    EXPECT_EQ(c.statusIndex, 3);
    EXPECT_EQ(c.validityIndex, 2);
    EXPECT_EQ(c.validity, (dialogs::ValidityEntry{u"1 day", 167}));
    EXPECT_EQ(c.address, u"+49170123");
    EXPECT_EQ(c.center, u"+49172");
    EXPECT_EQ(c.text, u"Hello there");
    EXPECT_EQ(c.report, 1);
    EXPECT_EQ(c.name, u"");
}

TEST_F(ShortMessageFormTest, cancel_and_esc_unload_the_form_and_discard_the_input) {
    for (const bool esc : {false, true}) {
        form.setContents(typed(u"", u"+4930", u"draft"));
        WhenShown driver(QStringLiteral("WSms"), [esc](QDialog& w) {
            QTest::keyClicks(control<QLineEdit>(w, QStringLiteral("TxtCenter")), QStringLiteral("+49172"));
            if (esc) QTest::keyClick(&w, Qt::Key_Escape);
            else click(w, QStringLiteral("CBAction(2)"));
        });
        EXPECT_EQ(form.showModal(), Ending::Unloaded) << esc;
        EXPECT_EQ(form.action(), 2) << esc;
        EXPECT_FALSE(form.isLoaded()) << esc;
        const dialogs::ShortMessageContents c = form.contents();  // loads the design afresh
        EXPECT_EQ(c.address, u"") << esc;
        EXPECT_EQ(c.center, u"") << esc;
        EXPECT_EQ(c.text, u"") << esc;
        form.unload();
    }
}

TEST_F(ShortMessageFormTest, resizing_the_window_keeps_the_choices_in_both_combo_boxes) {
    {
        WhenShown driver(QStringLiteral("WSms"), [](QDialog& w) {
            auto* status = control<QComboBox>(w, QStringLiteral("CboStatus"));
            auto* valid = control<QComboBox>(w, QStringLiteral("CboValid"));
            status->setCurrentIndex(2);
            valid->setCurrentIndex(3);
            QResizeEvent resize(w.size() + QSize(40, 30), w.size());
            QCoreApplication::sendEvent(&w, &resize);
            EXPECT_EQ(status->currentIndex(), 2);
            EXPECT_EQ(valid->currentIndex(), 3);
            EXPECT_EQ(valid->count(), 4);
            click(w, QStringLiteral("CBAction(1)"));
        });
        EXPECT_EQ(form.showModal(), Ending::Hidden);
        EXPECT_EQ(form.contents().statusIndex, 2);
        EXPECT_EQ(form.contents().validity, (dialogs::ValidityEntry{u"soon", 0}));
    }

    // The next display initialises the form again: the first entries are chosen anew.
    WhenShown again(QStringLiteral("WSms"), [](QDialog& w) {
        EXPECT_EQ(control<QComboBox>(w, QStringLiteral("CboStatus"))->currentIndex(), 0);
        EXPECT_EQ(control<QComboBox>(w, QStringLiteral("CboValid"))->currentIndex(), 0);
        click(w, QStringLiteral("CBAction(1)"));
    });
    EXPECT_EQ(form.showModal(), Ending::Hidden);
}

TEST_F(ShortMessageFormTest, help_opens_topic_7111_and_leaves_the_form_open) {
    RecordingHelpViewer help;
    WhenShown driver(QStringLiteral("WSms"), [&](QDialog& w) {
        click(w, QStringLiteral("CBAction(112)"));
        QTRY_COMPARE(help.contexts.size(), size_t(1));
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(form.action(), 112);
        QTest::keyClick(&w, Qt::Key_F1);
        EXPECT_EQ(help.contexts, (std::vector<int32_t>{7111, 7111}));
        EXPECT_EQ(help.callers.front(), &w);
        click(w, QStringLiteral("CBAction(1)"));
    });
    form.showModal();
    EXPECT_EQ(form.action(), 1);
    ASSERT_EQ(help.files.size(), 2u);
    EXPECT_EQ(help.files[0], platform::libraryFile(u"kxhelpd.chm"));
}

TEST_F(ShortMessageFormTest, translates_texts_but_never_list_items) {
    surface::languageFile() = folder.write("lang.ini",
                                           "[Label]\r\nShort Message=Kurzmitteilung\r\nempfangen=received\r\n5 min=5 Minuten\r\n");
    WhenShown driver(QStringLiteral("WSms"), [](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Kurzmitteilung"));
        EXPECT_EQ(control<QComboBox>(w, QStringLiteral("CboStatus"))->itemText(0), QStringLiteral("empfangen"));
        EXPECT_EQ(control<QComboBox>(w, QStringLiteral("CboValid"))->itemText(0), QStringLiteral("5 min"));
        click(w, QStringLiteral("CBAction(2)"));
    });
    form.showModal();
    EXPECT_EQ(driver.runs(), 1);
}

TEST_F(ShortMessageFormTest, the_tooling_entry_opens_a_name_in_name_mode_and_hands_back_only_after_ok) {
    const struct {
        QString button;  // empty: the close box
        int32_t action;
        std::u16string center;  // what comes back
    } rows[] = {
        {QStringLiteral("CBAction(1)"), 1, u"+49172"},
        {QStringLiteral("CBAction(2)"), 2, u"+4930"},
        {QString(), 0, u"+4930"},
    };
    for (const auto& row : rows) {
        dialogs::ShortMessageContents contents = typed(u"Anna", u"+4917");
        contents.center = u"+4930";
        int32_t action = -1;
        WhenShown driver(QStringLiteral("WSms"), [&row](QDialog& w) {
            EXPECT_EQ(shownControls(w), kNameMode);  // a name set before display opens name mode
            auto* center = control<QLineEdit>(w, QStringLiteral("TxtCenter"));
            center->setText(QStringLiteral("+49172"));
            control<QComboBox>(w, QStringLiteral("CboValid"))->setCurrentIndex(1);
            if (row.button.isEmpty()) closeBox(w);
            else click(w, row.button);
        });
        EXPECT_TRUE(tooling::showShortMessageForm(contents, action));
        EXPECT_EQ(action, row.action);
        EXPECT_EQ(contents.center, row.center);
        EXPECT_EQ(contents.name, u"Anna");
        EXPECT_EQ(contents.validityIndex, row.action == 1 ? 1 : -1);
        EXPECT_EQ(contents.validity.value, row.action == 1 ? 11 : 0);
    }
}
