#pragma once
// Qt's own command-line options (-style NAME, -platformtheme NAME, ...) among
// kxsim's arguments: handed on to the QApplication, left out of kxsim's.

#include <QStringList>

namespace kxsim::tool {

/// kxsim's arguments from \a argv without Qt's options, which go to the
/// library's QApplication. "-platform NAME" becomes QT_QPA_PLATFORM, so the
/// library still checks that the platform can start before Qt is given it.
QStringList takeQtOptions(int argc, char** argv);

}  // namespace kxsim::tool
