// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Files kxsim ships beside itself (operators.ini, language files), found from
// a build tree as from an installed prefix.

#include <QString>
#include <QStringList>

namespace kxsim::tool {

/// The first of \a relativePaths found in the program's folder or up to four
/// folders above it (a build tree, an installed prefix); empty when none is.
QString findAboveProgram(const QStringList& relativePaths);

}  // namespace kxsim::tool
