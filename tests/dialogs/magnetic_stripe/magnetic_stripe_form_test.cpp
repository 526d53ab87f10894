// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <map>

#include "kxsimlib/cdialogs.h"
#include "services/settings.h"
#include "support/dialog_driver.h"

using namespace kxsim;
using namespace kxsim::test;
using Stored = std::map<std::u16string, std::u16string>;

namespace {

QLineEdit* box(QDialog& w, const char* name) { return control<QLineEdit>(w, QLatin1String(name)); }
QCheckBox* check(QDialog& w, int track) { return control<QCheckBox>(w, QStringLiteral("Check%1").arg(track)); }

class MagnetDialog : public ::testing::Test {
protected:
    core::MemorySettingsStore store;
    services::ScopedSettingsStore scope{store};

    // Shows the dialog once, runs \a act inside it and returns what MagnetOptions handed back.
    std::u16string run(const std::function<void(QDialog&)>& act) {
        std::u16string result = u"untouched";
        showOnce(QStringLiteral("WMagnet"), act, [&] { return CDialogs().MagnetOptions(result); });
        return result;
    }
};

}  // namespace

TEST_F(MagnetDialog, ok_stores_what_was_typed_and_the_next_call_shows_it) {
    EXPECT_EQ(run([](QDialog& w) {
                  EXPECT_EQ(w.windowTitle(), QStringLiteral("Magnetstreifen-Optionen"));
                  // Only the Tag texts change; the track labels keep their design texts.
                  EXPECT_EQ(check(w, 3)->text().remove(u'&'), QStringLiteral("vorhanden:"));
                  EXPECT_EQ(control<QLabel>(w, QStringLiteral("Label1b"))->text().remove(u'&'),
                            QStringLiteral("Track-1 Identifier:"));
                  retype(box(w, "MagsPref"), QStringLiteral("  %B "));
                  retype(box(w, "TrackId1"), QStringLiteral("ab"));  // one character only
                  retype(box(w, "TrackId2"), QString());
                  retype(box(w, "MagsSuff"), QStringLiteral("? \\r"));
                  QTest::mouseClick(check(w, 2), Qt::LeftButton);
                  click(w, QStringLiteral("Button(1)"));
              }),
              u"a*}");
    const Stored stored{{u"MagsIds", u"a*}"}, {u"MagsMask", u"5"}, {u"MagsPref", u"  %B "}, {u"MagsSuff", u"? \\r"}};
    EXPECT_EQ(store.values, stored);

    // The emptied box shows "*"; the close box keeps what was changed from the store.
    EXPECT_EQ(run([](QDialog& w) {
                  EXPECT_EQ(box(w, "TrackId1")->text(), QStringLiteral("a"));
                  EXPECT_EQ(box(w, "TrackId2")->text(), QStringLiteral("*"));
                  EXPECT_EQ(box(w, "MagsPref")->text(), QStringLiteral("  %B "));
                  EXPECT_EQ(check(w, 1)->checkState(), Qt::Checked);
                  EXPECT_EQ(check(w, 2)->checkState(), Qt::Unchecked);
                  retype(box(w, "TrackId1"), QStringLiteral("x"));
                  closeBox(w);
              }),
              u"a*}");
    EXPECT_EQ(store.values, stored);
}

TEST_F(MagnetDialog, esc_does_nothing_and_enter_presses_ok) {
    EXPECT_EQ(run([](QDialog& w) {
                  auto* suffix = box(w, "MagsSuff");
                  suffix->setFocus();
                  QTest::keyClick(suffix, Qt::Key_Escape);
                  EXPECT_TRUE(w.isVisible());
                  suffix->setFocus();
                  QTest::keyClick(suffix, Qt::Key_Return);
              }),
              u"{|}");
    EXPECT_EQ(store.values, (Stored{{u"MagsIds", u"{|}"}, {u"MagsMask", u"7"}, {u"MagsPref", u""}, {u"MagsSuff", u""}}));
}
