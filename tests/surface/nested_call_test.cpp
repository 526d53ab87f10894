#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"
#include "support/temp_files.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

// Calls one member with arguments made from \a tag; \a passed and \a returned
// get every argument joined, as made and as the call left them.
struct Arguments {
    std::u16string passed, returned;
};
using MemberCall = std::function<Status(const std::u16string& tag, Arguments& arguments)>;

template <class... T>
std::u16string join(const T&... values) {
    QStringList parts;
    auto add = [&](const auto& v) {
        if constexpr (std::is_integral_v<std::decay_t<decltype(v)>>) parts << QString::number(v);
        else parts << QString::fromStdU16String(v);
    };
    (add(values), ...);
    return parts.join(QLatin1Char('|')).toStdU16String();
}

struct Member {
    const char* form;
    MemberCall call;
};

std::vector<Member> members(const std::u16string& ini) {
    return {
        {"WCopysim", [](const std::u16string&, Arguments& a) {
             int32_t result = -7;
             a.passed = join(result);
             Status s = CDialogs().CloneOptions(result);
             a.returned = join(result);
             return s;
         }},
        {"WConvert", [](const std::u16string& tag, Arguments& a) {
             std::u16string result = tag;
             a.passed = join(result);
             Status s = CDialogs().Converter(result);
             a.returned = join(result);
             return s;
         }},
        {"WLeser", [](const std::u16string& tag, Arguments& a) {
             std::u16string readers = tag + u" reader", result = tag;
             a.passed = join(readers, result);
             Status s = CDialogs().Kartenleser(readers, result);
             a.returned = join(readers, result);
             return s;
         }},
        {"WMagnet", [](const std::u16string& tag, Arguments& a) {
             std::u16string result = tag;
             a.passed = join(result);
             Status s = CDialogs().MagnetOptions(result);
             a.returned = join(result);
             return s;
         }},
        {"WAcm", [](const std::u16string& tag, Arguments& a) {
             std::u16string acm = tag == u"outer" ? u"120" : u"7", amv = u"500", ccu = tag, ppu = u"12";
             Picture icon;
             int32_t result = -7;
             a.passed = join(acm, amv, ccu, ppu, result);
             Status s = CDialogs().SelectMeter(acm, amv, ccu, ppu, icon, result);
             a.returned = join(acm, amv, ccu, ppu, result);
             return s;
         }},
        {"WNetze", [ini](const std::u16string& tag, Arguments& a) {
             std::u16string section = u"Networks", keys = tag == u"outer" ? u"26201;" : u"26202;", file = ini;
             std::u16string caption = tag, language;
             int32_t max = 5, helpId = 7120, result = -7;
             Picture icon;
             a.passed = join(section, keys, max, file, caption, helpId, language, result);
             Status s = CDialogs().SelectNetwork(section, keys, max, file, caption, icon, helpId, language, result);
             a.returned = join(section, keys, max, file, caption, helpId, language, result);
             return s;
         }},
    };
}

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
    for (const Member& member : members(ini)) {
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
        inner = members({})[1].call(u"inner", converter);
        outerStillOpen = outerStillOpen && window.isVisible();
        click(window, QStringLiteral("CBAction(2)"));
    });
    EXPECT_TRUE(members({})[0].call(u"outer", clone));
    EXPECT_TRUE(inner);
    EXPECT_EQ(convert.runs(), 1);
    EXPECT_TRUE(outerStillOpen);
    EXPECT_EQ(converter.returned, u"");
}

}  // namespace
