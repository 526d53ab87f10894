// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "language_texts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QTimer>
#include <cstdlib>
#include <map>
#include <tuple>

#include "command.h"
#include "dialog_tool.h"
#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

// Shows a dialog through \a show and closes it with its close box once it is
// displayed: its translation walk has run by then.
void showAndClose(const std::function<void()>& show) {
    auto guard = tooling::observeDisplayedDialogs(
        [](QDialog& window) { QTimer::singleShot(0, &window, [&window] { window.close(); }); });
    show();
}

// A text a lookup can find: the reader takes the key up to the first "=" of
// a line, and a line starting "[" and holding "]" is a header.
bool canBeKey(const QString& text) {
    return !text.trimmed().isEmpty() && !text.contains(QLatin1Char('=')) && !text.contains(QLatin1Char('\n')) &&
           !text.contains(QLatin1Char('\r')) && !(text.trimmed().startsWith(QLatin1Char('[')) && text.contains(QLatin1Char(']')));
}

}  // namespace

std::vector<LanguageText> languageTexts(std::vector<LanguageText>& unusable) {
    std::vector<LanguageText> texts;
    // Texts matched as the reader matches names, in each list.
    std::map<std::tuple<bool, std::u16string, std::u16string>, size_t> index;
    const auto add = [&](const tooling::TranslatableText& t) {
        const QString key = QString::fromStdU16String(t.key), form = QString::fromStdU16String(t.form);
        if (key.trimmed().isEmpty()) return;  // nothing to translate
        const bool usable = canBeKey(key);
        auto& list = usable ? texts : unusable;
        auto [it, fresh] = index.emplace(
            std::make_tuple(usable, tooling::profileNameKey(t.section), tooling::profileNameKey(t.key)), list.size());
        if (fresh) list.push_back(LanguageText{QString::fromStdU16String(t.section), key, {}});
        QStringList& forms = list[it->second].forms;
        if (!forms.contains(form)) forms.append(form);
    };
    // The dialogs need not flash up on the user's screen.
    if (!QCoreApplication::instance()) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ensureRenderingApplication();
    {
        auto recording = tooling::recordTranslationLookups(add);
        for (const DialogTool& tool : dialogTools()) {
            const Inputs inputs = sampleInputs(tool);
            showAndClose([&] { tool.call(inputs); });
            for (const auto& [suffix, show] : tool.extraShots) showAndClose(show);
        }
    }
    for (const auto& text : tooling::formTranslateTexts()) add(text);
    return texts;
}

}  // namespace kxsim::tool
