#pragma once
// What the library's own tools (kxsim, the screenshots) may use beyond the
// public API. Not installed; hosts do not see it.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "kxsimlib/kxsimlib_export.h"

namespace kxsim::tooling {

/// Calls \a observer with each dialog window of this thread once it is
/// displayed and initialised, while the returned guard lives.
KXSIMLIB_EXPORT std::shared_ptr<void> observeDisplayedDialogs(std::function<void(QDialog&)> observer);

/// The folder the library looks in for its help file and profile files.
KXSIMLIB_EXPORT std::u16string libraryFolder();

/// Opens the library's help file at \a contextId in the help window and
/// returns that window, or null when none could be shown. Sets \a problem to
/// the text the window shows instead of a topic, or empties it.
KXSIMLIB_EXPORT QWidget* showHelpTopic(int32_t contextId, std::u16string& problem);

}  // namespace kxsim::tooling
