#pragma once
// What the library's own tools (kxsim, the screenshots) may use beyond the
// public API. Not installed; hosts do not see it.

#include <QDialog>
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

}  // namespace kxsim::tooling
