#pragma once
// Values from files and hosts in kxsim's text output: a control character
// could move the cursor, retitle or reprogram the terminal, so each is shown
// as \xHH (C1 controls as \u0080 to \u009f); everything else stays as it is.

#include <QString>

namespace kxsim::tool {

/// \a text with its control characters escaped, so it prints on one line as text.
QString printable(const QString& text);

}  // namespace kxsim::tool
