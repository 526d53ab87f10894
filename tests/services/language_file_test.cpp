// The shipped German language file has an entry for every design text of
// every form that translates itself, so a new control cannot be forgotten.

#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <set>

#include "kxsimlib/cdialogs.h"
#include "platform/control_types.h"
#include "platform/form.h"
#include "platform/profile_reader.h"
#include "platform/text_codec.h"
#include "support/member_calls.h"
#include "surface/tooling.h"

using namespace kxsim;

namespace {

struct FormText {
    std::u16string section;
    std::u16string text;
    bool operator<(const FormText& o) const { return std::tie(section, text) < std::tie(o.section, o.text); }
};

// Opens a form through \a open, collects its caption and every translatable
// text of its controls as designed, and closes it.
std::set<FormText> designTexts(const QString& formName, const std::function<void()>& open) {
    std::set<FormText> texts;
    platform::ScopedDisplayObserver observer([&](platform::Form& form) {
        if (form.name() != formName) return;
        texts.insert({u"Label", form.caption().toStdU16String()});
        for (const auto& control : form.controls()) {
            if (!control) continue;
            const auto found = platform::translatableTexts(control.data());
            for (const auto& t : found.texts) texts.insert({found.section.toStdU16String(), t.get().toStdU16String()});
        }
        QDialog* window = &form.window();
        QTimer::singleShot(0, window, [window] { window->close(); });
    });
    open();
    return texts;
}

// Texts without a letter ("?", "=", "/ 100", triangle glyphs) read the same in every language.
bool needsEntry(const std::u16string& text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return QChar(c).isLetter(); });
}

}  // namespace

TEST(language_file, the_german_file_translates_every_design_text) {
    const std::u16string file = platform::fromUtf8(KXSIM_SOURCE_DIR "/lang/kxsim_de.ini");
    ASSERT_TRUE(platform::isOrdinaryFile(file));
    std::vector<std::pair<std::string, std::function<void()>>> forms;
    for (const test::MemberCall& member : test::memberCalls()) {
        if (!test::translates(member)) continue;
        forms.emplace_back(member.form, [member] {
            test::Arguments ignored;
            member.call(u"Preferred Networks", ignored);  // the caption of SelectNetwork
        });
    }
    forms.emplace_back("WSms", [] {
        tooling::ShortMessageContents contents;
        int32_t action = 0;
        tooling::showShortMessageForm(contents, action);
    });
    for (const auto& [form, open] : forms) {
        const auto texts = designTexts(QString::fromStdString(form), open);
        EXPECT_GT(texts.size(), 5u) << form;
        for (const auto& t : texts) {
            if (!needsEntry(t.text)) continue;
            const std::u16string missing = u"\x01missing";
            EXPECT_NE(platform::profileString(file, t.section, t.text, missing, 512), u"\x01missing")
                << form << ": no [" << platform::toUtf8(t.section) << "] entry for \""
                << platform::toUtf8(t.text) << "\"";
        }
    }
}
