// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// Every form as a keyboard user, a screen reader and a dark-theme user meet
// it: Enter on a focused button, accessible names, accelerators, text
// contrast and controls that neither overlap nor clip their texts.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include "kxsimlib/cdialogs.h"
#include "platform/accelerators.h"
#include "platform/design.h"
#include "platform/text_codec.h"
#include "services/settings.h"
#include "support/dialog_driver.h"
#include "support/fake_help_viewer.h"
#include "support/member_calls.h"
#include "support/temp_files.h"
#include "surface/tooling.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

const std::u16string kGerman = platform::fromUtf8(KXSIM_SOURCE_DIR "/lang/kxsim_de.ini");

// Each form shown by its member (WSms by the tooling call), with \a act run in its window.
class AllForms : public ::testing::Test {
protected:
    TempFolder folder;
    std::u16string ini = folder.write("n.ini", "[Networks]\r\n26201=Telekom\r\n26202=Vodafone\r\n");
    core::MemorySettingsStore store;
    services::ScopedSettingsStore scope{store};

    void TearDown() override {
        std::u16string none;
        CDialogs().Language(none);
    }

    // Runs \a act in every form, in \a language; returns each call's arguments as it left them.
    std::map<std::string, std::u16string> eachForm(const std::u16string& language,
                                                   const std::function<void(QDialog&)>& act) {
        std::u16string lang = language;
        CDialogs().Language(lang);
        std::map<std::string, std::u16string> returned;
        for (const MemberCall& m : memberCalls(ini, language)) {
            WhenShown driver(QString::fromLatin1(m.form), act);
            Arguments a;
            m.call(u"t", a);
            EXPECT_EQ(driver.runs(), 1) << m.form;
            returned[m.form] = a.returned;
        }
        WhenShown driver(QStringLiteral("WSms"), act);
        tooling::ShortMessageContents contents;
        int32_t action = -1;
        EXPECT_TRUE(tooling::showShortMessageForm(contents, action));
        returned["WSms"] = QString::number(action).toStdU16String();
        return returned;
    }
};

// The controls in \a w (not Qt's own parts), visible ones or all.
std::vector<QWidget*> controls(QWidget& w, bool visibleOnly) {
    std::vector<QWidget*> out;
    for (QWidget* c : w.findChildren<QWidget*>())
        if (!c->objectName().isEmpty() && !c->objectName().startsWith(u"qt_") && (c->isVisible() || !visibleOnly))
            out.push_back(c);
    return out;
}

QString captionOf(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    return {};
}

}  // namespace

// Tab to a button and press Enter: that button acts, not the default one.
TEST_F(AllForms, enter_on_a_focused_button_presses_that_button) {
    struct Row {
        const char* form;
        const char* button;
        int32_t help;            // the topic it opens, 0 for none; the dialog stays open
        const char* result;      // how the call ends when the button closes it
        const char* field = "";  // a field the button sets to "0"
    };
    const Row rows[] = {
        {"WAcm", "CBAction(2)", 0, "|2"},      {"WAcm", "CBClear(1)", 0, nullptr, "TBAcm"},
        {"WNetze", "CBAction(2)", 0, "|2"},    {"WSms", "CBAction(2)", 0, "2"},
        {"WMagnet", "Button(112)", 8040, nullptr}, {"WLeser", "BAction(112)", 8030, nullptr},
        {"WCopysim", "CBAction(112)", 7108, nullptr}, {"WConvert", "CBAction(112)", 8100, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.form) + " " + row.button);
        RecordingHelpViewer viewer;
        bool stayed = false;
        const auto returned = eachForm({}, [&](QDialog& w) {
            if (w.objectName() != QLatin1String(row.form)) return closeBox(w);
            auto* target = control<QWidget>(w, QLatin1String(row.button));
            for (int i = 0; i < 40 && w.focusWidget() != target; ++i)
                QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, Qt::Key_Tab);
            ASSERT_EQ(w.focusWidget(), target);
            QTest::keyClick(target, Qt::Key_Return);
            QCoreApplication::sendPostedEvents();
            if (*row.field) {
                EXPECT_EQ(control<QLineEdit>(w, QLatin1String(row.field))->text(), QStringLiteral("0"));
            }
            stayed = w.isVisible();
            if (stayed) closeBox(w);
        });
        EXPECT_EQ(stayed, row.result == nullptr);
        EXPECT_EQ(viewer.contexts, row.help ? std::vector<int32_t>{row.help} : std::vector<int32_t>{});
        if (row.result) {
            EXPECT_TRUE(QString::fromStdU16String(returned.at(row.form)).endsWith(QLatin1String(row.result)));
        }
    }
    EXPECT_TRUE(store.values.empty());  // no "?" wrote the settings
}

// A screen reader names every control, uniquely within its form, in the form's
// language; buttons, check boxes and labelled fields have unique accelerators.
TEST_F(AllForms, every_focusable_control_has_a_unique_name_and_accelerators_are_unique) {
    for (const std::u16string& language : {std::u16string(), kGerman}) {
        eachForm(language, [&](QDialog& w) {
            SCOPED_TRACE(w.objectName().toStdString());
            std::map<QString, QString> owners;
            for (QWidget* c : controls(w, false)) {
                if (c->focusPolicy() == Qt::NoFocus) continue;
                const QString name = QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name);
                EXPECT_FALSE(name.isEmpty()) << c->objectName().toStdString();
                EXPECT_EQ(owners.emplace(name, c->objectName()).first->second, c->objectName())
                    << name.toStdString() << " names two controls";
            }
            std::map<int, QString> keys;
            for (QWidget* c : w.findChildren<QWidget*>()) {
                auto* label = qobject_cast<QLabel*>(c);
                const QString text = captionOf(c);
                if ((label && !label->buddy()) || platform::spokenText(text).size() < 2) continue;
                const QKeySequence key = QKeySequence::mnemonic(text);
                EXPECT_FALSE(key.isEmpty()) << text.toStdString();
                if (!key.isEmpty()) {
                    EXPECT_TRUE(keys.emplace(key[0].toCombined(), text).second) << text.toStdString();
                }
            }
            closeBox(w);
        });
    }
}

// The contrast of every text against what is behind it, light and dark.
TEST_F(AllForms, texts_keep_their_contrast_on_a_light_and_a_dark_palette) {
    const QPalette original = QApplication::palette();
    for (const QPalette& palette : {QApplication::style()->standardPalette(), platform::darkPalette()}) {
        QApplication::setPalette(palette);
        eachForm(kGerman, [&](QDialog& w) {
            for (QWidget* c : w.findChildren<QWidget*>()) {
                if (captionOf(c).isEmpty() || !c->isVisible() || !c->isEnabled()) continue;
                const QColor text = c->palette().color(c->foregroundRole());
                QColor behind = c->palette().color(QPalette::Button);
                if (!qobject_cast<QPushButton*>(c)) {
                    const QWidget* filled = c->parentWidget();
                    while (!filled->autoFillBackground() && !filled->isWindow()) filled = filled->parentWidget();
                    behind = filled->palette().color(filled->backgroundRole());
                }
                EXPECT_GE(platform::contrastRatio(text, behind), platform::kMinContrast)
                    << w.objectName().toStdString() << "." << c->objectName().toStdString() << " "
                    << text.name().toStdString() << " on " << behind.name().toStdString();
            }
            closeBox(w);
        });
    }
    QApplication::setPalette(original);
}

// At the scale of this run (QT_SCALE_FACTOR), in English and German: no two
// controls overlap, every control lies inside its window and shows its text whole.
TEST_F(AllForms, Geometry_no_two_controls_overlap_and_no_text_is_clipped) {
    for (const std::u16string& language : {std::u16string(), kGerman}) {
        eachForm(language, [](QDialog& w) {
            SCOPED_TRACE(w.objectName().toStdString());
            std::vector<QWidget*> leaves = controls(w, true);
            std::erase_if(leaves, [](QWidget* c) { return !controls(*c, false).empty(); });  // bands, frames
            const auto rectOf = [&w](QWidget* c) { return QRect(c->mapTo(&w, QPoint(0, 0)), c->size()); };
            for (size_t i = 0; i < leaves.size(); ++i) {
                QWidget* c = leaves[i];
                EXPECT_TRUE(w.rect().contains(rectOf(c))) << c->objectName().toStdString();
                for (size_t j = i + 1; j < leaves.size(); ++j)
                    EXPECT_FALSE(rectOf(c).intersects(rectOf(leaves[j])))
                        << c->objectName().toStdString() << " overlaps " << leaves[j]->objectName().toStdString();
                const QString text = platform::spokenText(captionOf(c));
                if (text.isEmpty()) continue;
                EXPECT_FALSE(text.endsWith(QChar(0x2026))) << "shortened: " << text.toStdString();
                const int width = c->fontMetrics().horizontalAdvance(text);
                if (auto* label = qobject_cast<QLabel*>(c); label && label->wordWrap())
                    EXPECT_LE(label->heightForWidth(label->contentsRect().width()), label->contentsRect().height())
                        << c->objectName().toStdString();
                else if (qobject_cast<QPushButton*>(c))
                    EXPECT_LE(width + 8, c->width()) << c->objectName().toStdString();
                else
                    EXPECT_LE(c->sizeHint().width(), c->width()) << c->objectName().toStdString();
                EXPECT_LE(c->fontMetrics().height(), c->height()) << c->objectName().toStdString();
            }
            closeBox(w);
        });
    }
}
