#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include "kxsimlib/cdialogs.h"
#include "support/dialog_driver.h"
#include "support/temp_files.h"
#include "core/module_data.h"

using namespace kxsim;
using namespace kxsim::test;

namespace {

struct Dialog {
    const char* form;
    const char* okButton;
    std::function<void(CDialogs&)> call;
};

// WLeser and WMagnet show fixed German texts of their own, untranslated.
const Dialog kDialogs[] = {
    {"WCopysim", "CBAction(1)", [](CDialogs& d) { int32_t r; d.CloneOptions(r); }},
    {"WConvert", "CBAction(1)", [](CDialogs& d) { std::u16string r; d.Converter(r); }},
    {"WAcm", "CBAction(1)", [](CDialogs& d) {
         std::u16string acm = u"1", amv = u"2", ccu = u"EUR", ppu = u"3";
         Picture icon;
         int32_t r;
         d.SelectMeter(acm, amv, ccu, ppu, icon, r);
     }},
    {"WNetze", "CBAction(1)", [](CDialogs& d) {
         // This member takes the language file as an argument of its own.
         std::u16string section = u"N", keys, file, caption = u"Networks", language = core::languageFile();
         int32_t max = 5, help = 0, r;
         Picture icon;
         d.SelectNetwork(section, keys, max, file, caption, icon, help, language, r);
     }},
};

struct Shown {
    int width = 0;
    QStringList texts;
    QString okToolTip, okText;
};

// Shows the dialog once and reports its width and the texts a language file may replace.
Shown show(const Dialog& dialog, const std::u16string& language) {
    Shown shown;
    WhenShown driver(QLatin1String(dialog.form), [&](QDialog& window) {
        shown.width = std::max(window.width(), window.sizeHint().width());
        shown.texts << window.windowTitle();
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (auto* l = qobject_cast<QLabel*>(w)) shown.texts << l->text();
            if (auto* b = qobject_cast<QAbstractButton*>(w)) shown.texts << b->text();
            if (auto* g = qobject_cast<QGroupBox*>(w)) shown.texts << g->title();
        }
        auto* ok = control<QAbstractButton>(window, QLatin1String(dialog.okButton));
        shown.okToolTip = ok ? ok->toolTip() : QString();
        shown.okText = ok ? ok->text() : QString();
        closeBox(window);
    });
    CDialogs dialogs;
    std::u16string file = language;
    dialogs.Language(file);
    dialog.call(dialogs);
    EXPECT_EQ(driver.runs(), 1);
    return shown;
}

TEST(LongTranslation, keepsEveryDialogWithinOneAndAHalfTimesItsDesignWidthAndTheFullTextInTheToolTip) {
    const struct { const char* name; QString text; } translations[] = {
        {"words", QStringLiteral("A rather long translated text ").repeated(20).left(511)},
        {"one word", QString(511, QLatin1Char('W'))},
    };
    TempFolder folder;
    for (const Dialog& dialog : kDialogs) {
        const Shown design = show(dialog, {});
        for (const auto& translation : translations) {
            SCOPED_TRACE(std::string(dialog.form) + ", " + translation.name);
            QString ini = QStringLiteral("[Label]\n");
            for (const QString& text : design.texts)
                if (!text.trimmed().isEmpty() && !text.contains(QLatin1Char('='))) ini += text + QLatin1Char('=') + translation.text + QLatin1Char('\n');
            const Shown translated = show(dialog, folder.write("long.ini", ini.toStdString()));
            EXPECT_GT(translated.width, 0);
            EXPECT_LE(translated.width, design.width * 3 / 2);
            EXPECT_EQ(translated.okToolTip, translation.text);
            EXPECT_NE(translated.okText, translation.text);
        }
    }
}

}  // namespace
