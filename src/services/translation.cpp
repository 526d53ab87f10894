// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/translation.h"

#include <QDialog>

#include "core/module_data.h"
#include "platform/control_types.h"
#include "platform/form.h"
#include "platform/language_text.h"
#include "platform/profile_reader.h"

namespace kxsim::services {
namespace {

thread_local std::function<void(const LookedUpText&)>* t_record = nullptr;

std::vector<const FormText*>& registeredFormTexts() {
    static std::vector<const FormText*> texts;
    return texts;
}

// One text of a form, looked up in the language file as it was when the walk
// began (null: no file, the text stays).
QString lookup(const platform::Form& form, const platform::IniDocument* file, const QString& key,
               const QString& section) {
    const std::u16string text = key.toStdU16String();
    if (t_record) (*t_record)(LookedUpText{form.name().toStdU16String(), section.toStdU16String(), text});
    return QString::fromStdU16String(
        platform::profileString(file, section.toStdU16String(), text, text, platform::kLanguageTextBuffer));
}

}  // namespace

std::u16string LookupText(const std::u16string& key, const std::u16string& section) {
    return platform::languageText(key, section);
}

std::u16string TranslateText(const std::u16string& text) {
    if (text.empty()) return {};
    std::u16string value = LookupText(text, std::u16string(platform::kLabelSection));
    for (size_t pos = 0; (pos = value.find(u"\\n", pos)) != std::u16string::npos; ++pos)
        value.replace(pos, 2, 1, u'\n');
    return value;
}

void TranslateForm(platform::Form& form) {
    // Read (or found unchanged in the cache) once per form, not once per text;
    // no ordinary file at the path leaves the form as designed.
    const auto file = platform::loadIniFile(core::languageFile());
    if (!file && !t_record) return;

    form.setCaption(lookup(form, file.get(), form.caption(), QString::fromUtf16(platform::kLabelSection.data(), platform::kLabelSection.size())));
    // Copy: the registry is the form's and a setter must not disturb the walk.
    const auto controls = form.controls();
    for (const auto& control : controls) {
        if (!control) continue;
        try {
            const platform::ControlTexts texts = platform::translatableTexts(control.data());
            for (const auto& text : texts.texts) {
                try {
                    text.set(lookup(form, file.get(), text.get(), texts.section));
                } catch (...) {
                    // A text that cannot be translated keeps its design text.
                }
            }
        } catch (...) {
        }
    }
}

FormText::FormText(std::u16string_view form, std::u16string_view text) : form_(form), text_(text) {
    registeredFormTexts().push_back(this);
}

const std::vector<const FormText*>& formTexts() { return registeredFormTexts(); }

std::shared_ptr<void> recordLookups(std::function<void(const LookedUpText&)> record) {
    auto held = std::make_shared<std::function<void(const LookedUpText&)>>(std::move(record));
    auto* previous = t_record;
    t_record = held.get();
    return std::shared_ptr<void>(held.get(), [held, previous](void*) { t_record = previous; });
}

}  // namespace kxsim::services
