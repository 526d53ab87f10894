#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QTest>
#include <thread>

#include "kxsimlib/cdialogs.h"
#include "services/settings.h"
#include "support/dialog_driver.h"
#include "support/fake_help_viewer.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

class CardReaderDialog : public ::testing::Test {
protected:
    tools::MemorySettingsStore store;
    tools::ScopedSettingsStore scope{store};

    std::u16string call(std::u16string readers, Status* status = nullptr) {
        CDialogs dialogs;
        std::u16string result = u"untouched";
        const Status s = dialogs.Kartenleser(readers, result);
        if (status) *status = s;
        else EXPECT_TRUE(s) << std::string(s.description().begin(), s.description().end());
        return result;
    }
};

const std::u16string kTwoReaders(u"Reader A\0Reader B", 17);

}  // namespace

TEST_F(CardReaderDialog, ok_stores_every_choice_and_returns_the_reader) {
    WhenShown driver(QStringLiteral("WLeser"), [](QDialog& w) {
        auto* list = control<QListWidget>(w, QStringLiteral("PrefList"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        auto* time = control<QSlider>(w, QStringLiteral("PrefTime"));
        time->setFocus();
        QTest::keyClick(time, Qt::Key_Right);   // 500 -> 750
        QTest::keyClick(time, Qt::Key_PageUp);  // -> 1000
        auto* wait = control<QSlider>(w, QStringLiteral("PrefWait"));
        wait->setFocus();
        QTest::keyClick(wait, Qt::Key_Right);
        QTest::mouseClick(control<QCheckBox>(w, QStringLiteral("PrefPinp")), Qt::LeftButton);
        click(w, QStringLiteral("BAction(1)"));
    });
    EXPECT_EQ(call(kTwoReaders), u"Reader B");
    EXPECT_EQ(driver.runs(), 1);
    EXPECT_EQ(store.values, (std::map<std::u16string, std::u16string>{{u"LeserName", u"Reader B"},
                                                                        {u"LeserPinpad", u"1"},
                                                                        {u"LeserTimer", u"1000"},
                                                                        {u"LeserPause", u"250"}}));
}

TEST_F(CardReaderDialog, opens_from_what_was_stored_with_the_german_texts) {
    store.values = {{u"LeserName", u"Reader B"}, {u"LeserTimer", u"300"}, {u"LeserPause", u"2000"},
                    {u"LeserPinpad", u"1"}};
    WhenShown driver(QStringLiteral("WLeser"), [](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Cardreader Setup"));
        EXPECT_EQ(control<QLabel>(w, QStringLiteral("Label1"))->text(), QStringLiteral("Wählen Sie den Chipkartenleser:"));
        EXPECT_EQ(control<QLabel>(w, QStringLiteral("Label2"))->text(), QStringLiteral("Zeitintervall für Kartenprüfung (s):"));
        EXPECT_EQ(control<QLabel>(w, QStringLiteral("Label3"))->text(), QStringLiteral("Wartezeit vor erstem Kommando"));
        auto* pin = control<QCheckBox>(w, QStringLiteral("PrefPinp"));
        EXPECT_EQ(pin->text(), QStringLiteral("Pin-Eingabe am Kartenleser"));
        EXPECT_TRUE(pin->isChecked());
        EXPECT_EQ(control<QSlider>(w, QStringLiteral("PrefTime"))->value(), 300);
        EXPECT_EQ(control<QSlider>(w, QStringLiteral("PrefWait"))->value(), 2000);
        EXPECT_EQ(control<QListWidget>(w, QStringLiteral("PrefList"))->currentRow(), 1);
        click(w, QStringLiteral("BAction(1)"));
    });
    EXPECT_EQ(call(kTwoReaders), u"Reader B");
    EXPECT_EQ(store.values[u"LeserTimer"], u"300");
}

TEST_F(CardReaderDialog, the_close_box_writes_nothing_and_returns_the_stored_name) {
    for (const std::u16string stored : {u"", u"Reader A"}) {
        store.values.clear();
        if (!stored.empty()) store.values[u"LeserName"] = stored;
        const auto before = store.values;
        WhenShown driver(QStringLiteral("WLeser"), [](QDialog& w) {
            auto* list = control<QListWidget>(w, QStringLiteral("PrefList"));
            list->setCurrentRow(1);
            closeBox(w);
        });
        EXPECT_EQ(call(kTwoReaders), stored);
        EXPECT_EQ(store.values, before);
    }
}

TEST_F(CardReaderDialog, esc_does_nothing_and_enter_presses_ok) {
    WhenShown driver(QStringLiteral("WLeser"), [](QDialog& w) {
        QTest::keyClick(&w, Qt::Key_Escape);
        EXPECT_TRUE(w.isVisible());
        auto* list = control<QListWidget>(w, QStringLiteral("PrefList"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
    });
    EXPECT_EQ(call(kTwoReaders), u"Reader A");
    EXPECT_EQ(store.values[u"LeserName"], u"Reader A");
}

TEST_F(CardReaderDialog, a_list_with_a_trailing_separator_shows_an_empty_entry) {
    WhenShown driver(QStringLiteral("WLeser"), [](QDialog& w) {
        auto* list = control<QListWidget>(w, QStringLiteral("PrefList"));
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(2)->text(), QString());
        list->setCurrentRow(2);
        click(w, QStringLiteral("BAction(1)"));
    });
    EXPECT_EQ(call(kTwoReaders + u'\0'), u"");
}

TEST_F(CardReaderDialog, a_bad_stored_value_shows_the_load_error_and_the_dialog_still_opens) {
    store.values[u"LeserPinpad"] = u"7";
    QString message;
    whenModalAppears(QStringLiteral("MessageBox"), [&](QWidget& box) {
        message = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
        QTest::keyClick(&box, Qt::Key_Return);
    });
    WhenShown driver(QStringLiteral("WLeser"), [](QDialog& w) {
        EXPECT_EQ(control<QListWidget>(w, QStringLiteral("PrefList"))->count(), 0);
        EXPECT_EQ(control<QSlider>(w, QStringLiteral("PrefTime"))->value(), 500);
        click(w, QStringLiteral("BAction(1)"));
    });
    call(kTwoReaders);
    EXPECT_EQ(message, QStringLiteral("Error load ReaderDlg\nInvalid property value"));
    EXPECT_EQ(driver.runs(), 1);
}

TEST_F(CardReaderDialog, help_and_f1_open_topic_8030_and_leave_the_dialog_open) {
    RecordingHelpViewer help;
    WhenShown driver(QStringLiteral("WLeser"), [&help](QDialog& w) {
        click(w, QStringLiteral("BAction(112)"));
        QTRY_COMPARE(help.contexts.size(), size_t(1));
        QTest::keyClick(&w, Qt::Key_F1);
        EXPECT_EQ(help.contexts, (std::vector<int32_t>{8030, 8030}));
        EXPECT_TRUE(w.isVisible());
        click(w, QStringLiteral("BAction(1)"));
    });
    call(kTwoReaders);
    ASSERT_EQ(help.files.size(), 2u);
    EXPECT_TRUE(help.files[0].ends_with(u"/kxhelpd.chm"));
}

TEST_F(CardReaderDialog, a_store_that_cannot_be_written_still_returns_the_reader_and_says_so) {
    store.failWrites = Status::error(75, u"The setting LeserName could not be stored");
    WhenShown driver(QStringLiteral("WLeser"), [](QDialog& w) { click(w, QStringLiteral("BAction(1)")); });
    Status status;
    EXPECT_EQ(call(kTwoReaders, &status), u"Reader A");
    EXPECT_EQ(status.number(), 75);
}

TEST(CardReaderThreads, a_call_off_the_application_thread_fails_cleanly) {
    Status status;
    std::u16string result = u"untouched";
    std::thread([&] {
        CDialogs dialogs;
        std::u16string readers = u"A";
        status = dialogs.Kartenleser(readers, result);
    }).join();
    EXPECT_EQ(status.number(), 429);
    EXPECT_NE(status.description().find(u"thread"), std::u16string::npos);
    EXPECT_EQ(result, u"untouched");
}
