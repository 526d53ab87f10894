#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <map>

#include "kxsimlib/cdialogs.h"
#include "services/settings.h"
#include "support/dialog_driver.h"
#include "support/fake_help_viewer.h"

using namespace kxsim;
using namespace kxsim::test;
using Stored = std::map<std::u16string, std::u16string>;

namespace {

std::string narrow(const std::u16string& text) { return QString::fromStdU16String(text).toStdString(); }

std::u16string callMagnetOptions(Status* status = nullptr) {
    CDialogs dialogs;
    std::u16string result = u"untouched";
    const Status s = dialogs.MagnetOptions(result);
    if (status) *status = s;
    else EXPECT_TRUE(s) << narrow(s.description());
    return result;
}

QLineEdit* box(QDialog& w, const char* name) { return control<QLineEdit>(w, QLatin1String(name)); }
QCheckBox* check(QDialog& w, int track) { return control<QCheckBox>(w, QStringLiteral("Check%1").arg(track)); }

// Replaces the text of \a edit by typing, as a user does.
void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

class MagnetDialog : public ::testing::Test {
protected:
    tools::MemorySettingsStore store;
    tools::ScopedSettingsStore scope{store};
};

}  // namespace

TEST_F(MagnetDialog, opens_with_the_defaults_and_the_german_texts_and_ok_stores_them) {
    WhenShown driver(QStringLiteral("WMagnet"), [](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Magnetstreifen-Optionen"));
        // Only the Tag texts change; the track labels keep their design texts.
        EXPECT_EQ(check(w, 3)->text(), QStringLiteral("vorhanden:"));
        EXPECT_EQ(control<QLabel>(w, QStringLiteral("Label1b"))->text(), QStringLiteral("Track-1 Identifier:"));
        click(w, QStringLiteral("Button(1)"));
    });
    EXPECT_EQ(callMagnetOptions(), u"{|}");
    EXPECT_EQ(driver.runs(), 1);
    EXPECT_EQ(store.values, (Stored{{u"MagsIds", u"{|}"}, {u"MagsMask", u"7"}, {u"MagsPref", u""}, {u"MagsSuff", u""}}));
}

TEST_F(MagnetDialog, ok_stores_what_was_typed_and_returns_the_identifiers) {
    {
    WhenShown driver(QStringLiteral("WMagnet"), [](QDialog& w) {
        retype(box(w, "MagsPref"), QStringLiteral("  %B "));
        retype(box(w, "TrackId1"), QStringLiteral("ab"));  // one character only
        retype(box(w, "TrackId2"), QString());
        retype(box(w, "MagsSuff"), QStringLiteral("? \\r"));
        QTest::mouseClick(check(w, 2), Qt::LeftButton);
        click(w, QStringLiteral("Button(1)"));
    });
    EXPECT_EQ(callMagnetOptions(), u"a*}");
    EXPECT_EQ(store.values, (Stored{{u"MagsIds", u"a*}"}, {u"MagsMask", u"5"}, {u"MagsPref", u"  %B "},
                                    {u"MagsSuff", u"? \\r"}}));
    }

    // The next call opens with what was stored, the emptied box showing "*".
    WhenShown again(QStringLiteral("WMagnet"), [](QDialog& w) {
        EXPECT_EQ(box(w, "TrackId1")->text(), QStringLiteral("a"));
        EXPECT_EQ(box(w, "TrackId2")->text(), QStringLiteral("*"));
        EXPECT_EQ(box(w, "MagsPref")->text(), QStringLiteral("  %B "));
        EXPECT_EQ(check(w, 2)->checkState(), Qt::Unchecked);
        closeBox(w);
    });
    EXPECT_EQ(callMagnetOptions(), u"a*}");
}

TEST_F(MagnetDialog, the_close_box_stores_nothing_and_returns_the_stored_identifiers) {
    const struct {
        Stored stored;
        std::u16string result;
    } rows[] = {
        {{}, u"{|}"},
        {{{u"MagsIds", u"abcd"}, {u"MagsMask", u"5"}}, u"abcd"},
        {{{u"MagsIds", u"{"}}, u"{"},
    };
    for (const auto& row : rows) {
        store.values = row.stored;
        WhenShown driver(QStringLiteral("WMagnet"), [](QDialog& w) {
            retype(box(w, "TrackId1"), QStringLiteral("x"));
            retype(box(w, "MagsPref"), QStringLiteral("changed"));
            closeBox(w);
        });
        EXPECT_EQ(callMagnetOptions(), row.result);
        EXPECT_EQ(store.values, row.stored);
        EXPECT_EQ(driver.runs(), 1);
    }
}

TEST_F(MagnetDialog, stored_identifiers_and_mask_fill_the_boxes) {
    const struct {
        std::u16string ids, mask;
        const char* boxes;  // the three boxes, "." for an empty one
        const char* checks;
        std::u16string onOk;
    } rows[] = {
        {u"abcd", u"5", "abc", "101", u"abc"},
        {u"{", u"none", "{..", "000", u"{**"},
        {u"{|}", u"99999999999", "{|}", "111", u"{|}"},
    };
    for (const auto& row : rows) {
        store.values = {{u"MagsIds", row.ids}, {u"MagsMask", row.mask}};
        WhenShown driver(QStringLiteral("WMagnet"), [&row](QDialog& w) {
            QString boxes, checks;
            for (int k = 1; k <= 3; ++k) {
                const QString t = box(w, QStringLiteral("TrackId%1").arg(k).toLatin1().constData())->text();
                boxes += t.isEmpty() ? QStringLiteral(".") : t;
                checks += check(w, k)->isChecked() ? u'1' : u'0';
            }
            EXPECT_EQ(boxes, QLatin1String(row.boxes));
            EXPECT_EQ(checks, QLatin1String(row.checks));
            click(w, QStringLiteral("Button(1)"));
        });
        EXPECT_EQ(callMagnetOptions(), row.onOk);
        EXPECT_EQ(store.values[u"MagsIds"], row.onOk);
    }
}

TEST_F(MagnetDialog, esc_does_nothing_and_enter_presses_ok) {
    WhenShown driver(QStringLiteral("WMagnet"), [](QDialog& w) {
        auto* suffix = box(w, "MagsSuff");
        suffix->setFocus();
        QTest::keyClick(suffix, Qt::Key_Escape);
        EXPECT_TRUE(w.isVisible());
        QTest::keyClick(suffix, Qt::Key_Return);
    });
    EXPECT_EQ(callMagnetOptions(), u"{|}");
    EXPECT_EQ(store.values[u"MagsMask"], u"7");
}

TEST_F(MagnetDialog, help_opens_topic_8040_and_leaves_the_dialog_open) {
    RecordingHelpViewer help;
    WhenShown driver(QStringLiteral("WMagnet"), [&help](QDialog& w) {
        click(w, QStringLiteral("Button(112)"));
        QTRY_COMPARE(help.contexts.size(), size_t(1));
        EXPECT_TRUE(w.isVisible());
        click(w, QStringLiteral("Button(1)"));
    });
    callMagnetOptions();
    EXPECT_EQ(help.contexts, std::vector<int32_t>{8040});
    ASSERT_EQ(help.files.size(), 1u);
    EXPECT_TRUE(help.files[0].ends_with(u"/kxhelpd.chm"));
    EXPECT_EQ(driver.runs(), 1);
}

TEST_F(MagnetDialog, a_store_that_cannot_be_written_closes_returns_the_identifiers_and_says_so) {
    store.failWrites = Status::error(75, u"read-only store");
    Status status;
    {
    WhenShown driver(QStringLiteral("WMagnet"), [](QDialog& w) {
        retype(box(w, "TrackId3"), QStringLiteral("!"));
        click(w, QStringLiteral("Button(1)"));
    });
    EXPECT_EQ(callMagnetOptions(&status), u"{|!");
    EXPECT_EQ(driver.runs(), 1);
    EXPECT_EQ(status.number(), 75);
    EXPECT_EQ(status.description(), u"The magnetic stripe settings could not be stored "
                                    u"(MagsIds, MagsMask, MagsPref, MagsSuff): read-only store");
    EXPECT_TRUE(store.values.empty());
    }

    // Closing without OK writes nothing, so nothing fails.
    WhenShown close(QStringLiteral("WMagnet"), [](QDialog& w) { closeBox(w); });
    EXPECT_EQ(callMagnetOptions(&status), u"{|}");
    EXPECT_TRUE(status);
}

// The per-user store itself, in the test's own configuration folder.
TEST(MagnetDialogUserStore, keeps_the_settings_and_reports_a_folder_it_cannot_write) {
    const QString config = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    ASSERT_FALSE(config.isEmpty());
    ASSERT_TRUE(QDir().mkpath(config));
    const QString company = config + QStringLiteral("/Tolvane");

    {
        WhenShown typed(QStringLiteral("WMagnet"), [](QDialog& w) {
            retype(box(w, "MagsPref"), QStringLiteral(" pre "));
            retype(box(w, "TrackId2"), QStringLiteral("#"));
            click(w, QStringLiteral("Button(1)"));
        });
        EXPECT_EQ(callMagnetOptions(), u"{#}");
    }
    {
        WhenShown reread(QStringLiteral("WMagnet"), [](QDialog& w) {
            EXPECT_EQ(box(w, "MagsPref")->text(), QStringLiteral(" pre "));
            EXPECT_EQ(box(w, "TrackId2")->text(), QStringLiteral("#"));
            closeBox(w);
        });
        EXPECT_EQ(callMagnetOptions(), u"{#}");
    }

    // A plain file where the company folder belongs: the store cannot be
    // written, whoever runs the test.
    ASSERT_TRUE(QDir(company).removeRecursively());
    {
        QFile blocker(company);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    WhenShown blocked(QStringLiteral("WMagnet"), [](QDialog& w) {
        retype(box(w, "TrackId1"), QStringLiteral("%"));
        click(w, QStringLiteral("Button(1)"));
    });
    Status status;
    const std::u16string result = callMagnetOptions(&status);
    EXPECT_EQ(blocked.runs(), 1);
    EXPECT_EQ(status.number(), 75);
    const std::u16string prefix =
        u"The magnetic stripe settings could not be stored (MagsIds, MagsMask, MagsPref, MagsSuff): "
        u"The setting MagsIds could not be stored: ";
    EXPECT_EQ(status.description().substr(0, prefix.size()), prefix) << narrow(status.description());
    EXPECT_TRUE(status.description().ends_with(u"Kestrix.conf cannot be written")) << narrow(status.description());
    EXPECT_EQ(result, u"%|}");  // handed back although it could not be kept
    QFile::remove(company);
}
