// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include "platform/accelerators.h"
#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"
#include "support/member_calls.h"
#include "support/temp_files.h"
#include "core/module_data.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

struct Shown {
    int width = 0;
    QStringList texts;
    QString okToolTip, okText;
};

// Shows the dialog once and reports its width and the texts a language file may replace.
Shown show(const char* form, const std::u16string& language) {
    Shown shown;
    WhenShown driver(QLatin1String(form), [&](QDialog& window) {
        shown.width = std::max(window.width(), window.sizeHint().width());
        shown.texts << window.windowTitle();
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (auto* l = qobject_cast<QLabel*>(w)) shown.texts << platform::designText(l, l->text());
            if (auto* b = qobject_cast<QAbstractButton*>(w)) shown.texts << platform::designText(b, b->text());
            if (auto* g = qobject_cast<QGroupBox*>(w)) shown.texts << g->title();
        }
        auto* ok = control<QAbstractButton>(window, QStringLiteral("CBAction(1)"));
        shown.okToolTip = ok ? ok->toolTip() : QString();
        shown.okText = ok ? ok->text() : QString();
        closeBox(window);
    });
    std::u16string file = language;
    CDialogs().Language(file);
    Arguments ignored;
    for (const MemberCall& member : memberCalls({}, language))
        if (member.form == std::string_view(form)) member.call(u"Networks", ignored);
    EXPECT_EQ(driver.runs(), 1);
    return shown;
}

TEST(LongTranslation, keepsEveryDialogWithinOneAndAHalfTimesItsDesignWidthAndTheFullTextInTheToolTip) {
    const struct { const char* name; QString text; } translations[] = {
        {"words", QStringLiteral("A rather long translated text ").repeated(20).left(511)},
        {"one word", QString(511, QLatin1Char('W'))},
    };
    TempFolder folder;
    for (const MemberCall& dialog : memberCalls()) {
        if (!translates(dialog)) continue;
        const Shown design = show(dialog.form, {});
        for (const auto& translation : translations) {
            SCOPED_TRACE(std::string(dialog.form) + ", " + translation.name);
            QString ini = QStringLiteral("[Label]\n");
            for (const QString& text : design.texts)
                if (!text.trimmed().isEmpty() && !text.contains(QLatin1Char('='))) ini += text + QLatin1Char('=') + translation.text + QLatin1Char('\n');
            const Shown translated = show(dialog.form, folder.write("long.ini", ini.toStdString()));
            EXPECT_GT(translated.width, 0);
            EXPECT_LE(translated.width, design.width * 3 / 2);
            EXPECT_EQ(translated.okToolTip, translation.text);
            EXPECT_NE(translated.okText, translation.text);
        }
    }
}

}  // namespace
