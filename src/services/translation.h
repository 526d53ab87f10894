// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Run-time translation of texts and forms from the language file of the thread.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kxsim::platform {
class Form;
}

namespace kxsim::services {

/// The value of \a key in \a section of the language file (at most 511
/// characters), or \a key itself with its trailing blanks dropped.
std::u16string LookupText(const std::u16string& key, const std::u16string& section);

/// \a text translated through section "Label", with each "\n" (backslash, n)
/// turned into a line feed; an empty text stays empty.
std::u16string TranslateText(const std::u16string& text);

/// Translates the caption of \a form and then every text of its controls, in
/// creation order. Does nothing without an ordinary language file; a text that
/// cannot be read or set is skipped and the walk goes on.
void TranslateForm(platform::Form& form);

/// A text a form translates with TranslateText when it needs it (a prompt,
/// its buttons) rather than in the walk. Declared at namespace scope beside
/// its use, so formTexts() lists it for the language template:
/// `const services::FormText kPrompt{selectNetworkMember().form, u"Please enter the number to add:"};`
class FormText {
public:
    /// \a form and \a text must outlive the program's static objects (literals).
    FormText(std::u16string_view form, std::u16string_view text);
    FormText(const FormText&) = delete;
    FormText& operator=(const FormText&) = delete;

    std::u16string_view form() const { return form_; }
    std::u16string_view text() const { return text_; }
    /// The text translated now (TranslateText).
    std::u16string translated() const { return TranslateText(std::u16string(text_)); }

private:
    std::u16string_view form_;
    std::u16string_view text_;
};

/// Every FormText of the library, in the order they were declared.
const std::vector<const FormText*>& formTexts();

/// One text the translation walk looked up: the form's name ("WAcm"), the
/// section ("Label", "Menu") and the key (the design text).
struct LookedUpText {
    std::u16string form, section, key;
};

/// While the returned guard lives, TranslateForm reports every text it looks
/// up on this thread to \a record, and walks a form also without a language
/// file (its texts then stay as designed).
std::shared_ptr<void> recordLookups(std::function<void(const LookedUpText&)> record);

}  // namespace kxsim::services
