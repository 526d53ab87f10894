#include "services/translation.h"

#include <QDialog>

#include "core/module_data.h"
#include "platform/control_types.h"
#include "platform/form.h"
#include "platform/language_text.h"
#include "platform/profile_reader.h"

namespace kxsim::services {
namespace {

// One text of a form, looked up in the language file as it was when the walk began.
QString lookup(const platform::IniDocument& file, const QString& key, const QString& section) {
    const std::u16string text = key.toStdU16String();
    return QString::fromStdU16String(
        platform::profileString(&file, section.toStdU16String(), text, text, platform::kLanguageTextBuffer));
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
    if (!file) return;

    form.setCaption(lookup(*file, form.caption(), QString::fromUtf16(platform::kLabelSection.data(), platform::kLabelSection.size())));
    // Copy: the registry is the form's and a setter must not disturb the walk.
    const auto controls = form.controls();
    for (const auto& control : controls) {
        if (!control) continue;
        try {
            const platform::ControlTexts texts = platform::translatableTexts(control.data());
            for (const auto& text : texts.texts) {
                try {
                    text.set(lookup(*file, text.get(), texts.section));
                } catch (...) {
                    // A text that cannot be translated keeps its design text.
                }
            }
        } catch (...) {
        }
    }
}

}  // namespace kxsim::services
