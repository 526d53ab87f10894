// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The texts a language file can translate, found by showing every dialog (and
// each further state the screenshots show) while the library reports what its
// translation walk looks up, plus the texts forms translate on their own.

#include <QString>
#include <QStringList>
#include <vector>

namespace kxsim::tool {

/// One key of a language file: its section, the text (as first spelled; the
/// reader matches case-blind) and the forms that look it up, in order.
struct LanguageText {
    QString section, key;
    QStringList forms;
};

/// Every text the dialogs look up, sections and texts in the order first met.
/// Texts that cannot be keys of an INI file (holding "=" or a line break)
/// are left out and put in \a unusable.
std::vector<LanguageText> languageTexts(std::vector<LanguageText>& unusable);

}  // namespace kxsim::tool
