#pragma once
// Values from files and hosts in kxsim's text output. On a terminal a control
// character could move the cursor, retitle or reprogram it, so each is shown
// as \xHH (C1 controls as \u0080 to \u009f); everything else stays as it is.
// A pipe or file gets the value exactly, so a script can read it back.

#include <QString>

namespace kxsim::tool {

/// \a text with its control characters escaped, so it prints on one line as text.
QString printable(const QString& text);

/// \a text as standard output should carry it: escaped as printable (a tab
/// kept) where standard output is a terminal, unchanged anywhere else.
QString forStandardOutput(const QString& text);

}  // namespace kxsim::tool
