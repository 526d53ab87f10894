// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QSlider>
#include <QTest>
#include <thread>

#include "kxsimlib/cdialogs.h"
#include "services/settings.h"
#include "support/dialog_driver.h"

using namespace kxsim;
using namespace kxsim::test;
using Stored = std::map<std::u16string, std::u16string>;

namespace {

class CardReaderDialog : public ::testing::Test {
protected:
    core::MemorySettingsStore store;
    services::ScopedSettingsStore scope{store};

    // Shows the dialog for two readers once, runs \a act inside it and returns the chosen reader.
    std::u16string run(const std::function<void(QDialog&)>& act) {
        std::u16string readers(u"Reader A\0Reader B", 17), result = u"untouched";
        showOnce(QStringLiteral("WLeser"), act, [&] { return CDialogs().Kartenleser(readers, result); });
        return result;
    }
};

}  // namespace

// Esc does nothing; the close box writes nothing and hands back the stored name.
TEST_F(CardReaderDialog, enter_stores_every_choice_and_returns_the_reader_and_the_next_use_opens_from_it) {
    EXPECT_EQ(run([](QDialog& w) {
                  auto* list = control<QListWidget>(w, QStringLiteral("PrefList"));
                  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
                  auto* time = control<QSlider>(w, QStringLiteral("PrefTime"));
                  time->setFocus();
                  QTest::keyClick(time, Qt::Key_Right);   // 500 -> 750
                  QTest::keyClick(time, Qt::Key_PageUp);  // -> 1000
                  auto* wait = control<QSlider>(w, QStringLiteral("PrefWait"));
                  wait->setFocus();
                  QTest::keyClick(wait, Qt::Key_Right);
                  QTest::mouseClick(control<QCheckBox>(w, QStringLiteral("PrefPinp")), Qt::LeftButton);
                  QTest::keyClick(&w, Qt::Key_Escape);  // does nothing
                  EXPECT_TRUE(w.isVisible());
                  list->setFocus();
                  QTest::keyClick(list, Qt::Key_Return);  // presses OK
              }),
              u"Reader B");
    const Stored stored{{u"LeserName", u"Reader B"}, {u"LeserPinpad", u"1"}, {u"LeserTimer", u"1000"},
                        {u"LeserPause", u"250"}};
    EXPECT_EQ(store.values, stored);
    EXPECT_EQ(run([](QDialog& w) {
                  EXPECT_EQ(w.windowTitle(), QStringLiteral("Cardreader Setup"));
                  EXPECT_TRUE(control<QCheckBox>(w, QStringLiteral("PrefPinp"))->isChecked());
                  EXPECT_EQ(control<QSlider>(w, QStringLiteral("PrefTime"))->value(), 1000);
                  EXPECT_EQ(control<QSlider>(w, QStringLiteral("PrefWait"))->value(), 250);
                  auto* list = control<QListWidget>(w, QStringLiteral("PrefList"));
                  EXPECT_EQ(list->currentRow(), 1);
                  list->setCurrentRow(0);
                  closeBox(w);
              }),
              u"Reader B");
    EXPECT_EQ(store.values, stored);
}

TEST(CardReaderThreads, a_call_off_the_application_thread_fails_cleanly) {
    Status status;
    std::u16string result = u"untouched";
    std::thread([&] {
        std::u16string readers = u"A";
        status = CDialogs().Kartenleser(readers, result);
    }).join();
    EXPECT_EQ(status.number(), 429);
    EXPECT_NE(status.description().find(u"thread"), std::u16string::npos);
    EXPECT_EQ(result, u"untouched");
}
