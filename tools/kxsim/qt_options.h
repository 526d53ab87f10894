// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Qt's own command-line options (-style NAME, -platformtheme NAME, ...) among
// kxsim's arguments: handed on to the QApplication, left out of kxsim's.

#include <QStringList>

namespace kxsim::tool {

/// kxsim's arguments from \a argv without Qt's options, which go to the
/// library's QApplication. "-platform NAME" becomes QT_QPA_PLATFORM, so the
/// library still checks that the platform can start before Qt is given it.
QStringList takeQtOptions(int argc, char** argv);

/// Qt's own messages (warnings such as "QStandardPaths: XDG_RUNTIME_DIR not
/// set", "This plugin does not support raise()", and its debug and info
/// lines) are turned off through Qt's logging categories unless \a args holds
/// "--verbose", which is taken out; QT_LOGGING_RULES still turns any category
/// on. kxsim's and the library's own error lines do not go through Qt's logging.
void quietQtMessages(QStringList& args);

}  // namespace kxsim::tool
