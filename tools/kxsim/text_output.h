// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Everything kxsim writes to a terminal passes printable: a control character
// in a value (a reader name from a device, a path, an argument, a message)
// could move the cursor, retitle or reprogram the terminal, and a
// bidirectional override could make a line read other than it is. Each is
// shown as an escape instead: C0 controls as \xHH, DEL, C1 controls and the
// overrides (U+202A to U+202E, U+2066 to U+2069) as \uHHHH, which inside a
// JSON string means the same character again.

#include <QString>

namespace kxsim::tool {

enum class LineBreaks { Escaped, Kept };

/// \a text with its control characters and bidirectional overrides escaped,
/// line feeds kept only when asked, so it prints as the text it is.
QString printable(const QString& text, LineBreaks breaks = LineBreaks::Escaped);

/// Writes \a text as UTF-8 to standard output, line feeds kept, every other
/// control escaped.
void printOut(const QString& text);
/// Writes a message to standard error: one line, everything escaped but the
/// line feed that ends it.
void printErr(const QString& text);
/// Writes a value read from a file, then a line feed, to standard output:
/// exactly as it is (UTF-8) to a pipe or file, so a script gets it back; on a
/// terminal escaped as printable, a tab kept.
void printValue(const QString& text);

}  // namespace kxsim::tool
