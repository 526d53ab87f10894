// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"
#include "support/member_calls.h"
#include "support/temp_files.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

// What a user sees of a window: each control's name, visibility and text.
QStringList looks(QDialog& window) {
    QStringList out{window.windowTitle(), QString::number(window.isVisible())};
    for (QWidget* w : window.findChildren<QWidget*>()) {
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
        if (auto* e = qobject_cast<QLineEdit*>(w)) text = e->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text() + QString::number(b->isChecked());
        if (auto* l = qobject_cast<QListWidget*>(w)) text = QString::number(l->count());
        out << w->objectName() + QLatin1Char('=') + QString::number(w->isVisible()) + text;
    }
    return out;
}

TEST(NestedCall, aMemberCalledWhileItsFormIsOpenFailsWith400AndTouchesNeitherTheDialogNorItsArguments) {
    TempFolder folder;
    const std::u16string ini = folder.write("networks.ini", "[Networks]\n26201=Telekom\n26202=Vodafone\n");
    for (const MemberCall& member : memberCalls(ini)) {
        SCOPED_TRACE(member.form);
        const QString form = QLatin1String(member.form);
        Arguments alone;
        {
            WhenShown closer(form, closeBox);
            ASSERT_TRUE(member.call(u"outer", alone));
        }
        Status nested;
        Arguments nestedArguments, outer;
        QStringList before, after;
        WhenShown driver(form, [&](QDialog& window) {
            before = looks(window);
            nested = member.call(u"inner", nestedArguments);
            after = looks(window);
            closeBox(window);
        });
        EXPECT_TRUE(member.call(u"outer", outer));
        EXPECT_EQ(driver.runs(), 1);
        EXPECT_EQ(nested, Status::error(400, u"Form already displayed; can't show modally"));
        EXPECT_EQ(nestedArguments.returned, nestedArguments.passed);
        EXPECT_EQ(after, before);
        EXPECT_EQ(outer.returned, alone.returned);
    }
}

TEST(NestedCall, aDifferentDialogOpensOverTheOpenOneAndBothEndNormally) {
    Arguments clone, converter;
    Status inner;
    bool outerStillOpen = false;
    WhenShown convert(QStringLiteral("WConvert"), [&](QDialog& window) {
        outerStillOpen = QApplication::activeModalWidget() == &window;
        click(window, QStringLiteral("CBAction(1)"));
    });
    WhenShown copy(QStringLiteral("WCopysim"), [&](QDialog& window) {
        inner = memberCalls()[1].call(u"inner", converter);
        outerStillOpen = outerStillOpen && window.isVisible();
        click(window, QStringLiteral("CBAction(2)"));
    });
    EXPECT_TRUE(memberCalls()[0].call(u"outer", clone));
    EXPECT_TRUE(inner);
    EXPECT_EQ(convert.runs(), 1);
    EXPECT_TRUE(outerStillOpen);
    EXPECT_EQ(converter.returned, u"");
}

}  // namespace
