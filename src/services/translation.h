#pragma once
// Run-time translation of texts and forms from the language file of the thread.

#include <string>

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

}  // namespace kxsim::services
