// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "language_texts.h"

#include <QDialog>
#include <QTimer>
#include <map>

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

std::vector<LanguageText> languageTexts(QStringList& unusable) {
    std::vector<LanguageText> texts;
    std::map<std::pair<std::u16string, std::u16string>, size_t> index;  // matched as the reader matches
    const auto add = [&](const tooling::TranslatableText& t) {
        const QString key = QString::fromStdU16String(t.key), form = QString::fromStdU16String(t.form);
        if (!canBeKey(key)) {
            if (!key.trimmed().isEmpty() && !unusable.contains(key)) unusable.append(key);
            return;
        }
        const auto name = std::make_pair(tooling::profileNameKey(t.section), tooling::profileNameKey(t.key));
        auto [it, fresh] = index.emplace(name, texts.size());
        if (fresh) texts.push_back(LanguageText{QString::fromStdU16String(t.section), key, {}});
        QStringList& forms = texts[it->second].forms;
        if (!forms.contains(form)) forms.append(form);
    };
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
