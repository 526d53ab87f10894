#pragma once
// What the library's own tools (kxsim, the screenshots) may use beyond the
// public API. Not installed; hosts do not see it.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "dialogs/short_message/short_message_model.h"
#include "kxsimlib/kxsimlib_export.h"
#include "kxsimlib/status.h"

namespace kxsim::tooling {

/// Calls \a observer with each dialog window of this thread once it is
/// displayed and initialised, while the returned guard lives.
KXSIMLIB_EXPORT std::shared_ptr<void> observeDisplayedDialogs(std::function<void(QDialog&)> observer);

/// Starts the QApplication as a dialog member would (the platform checked
/// first, see platform::choosePlatform), or fails with error 429 saying why.
KXSIMLIB_EXPORT Status startApplication();

/// The folder the library looks in for its help file and profile files.
KXSIMLIB_EXPORT std::u16string libraryFolder();

/// Shows the short message form WSms, which no public member shows, filled
/// with \a contents (text boxes and check box; a name moves it to name mode).
/// \a action receives the index of the button that closed it (0 for the close
/// box); after OK, \a contents receives what the form holds.
KXSIMLIB_EXPORT Status showShortMessageForm(dialogs::ShortMessageContents& contents, int32_t& action);

/// Opens the library's help file at \a contextId in the help window and
/// returns that window, or null when none could be shown. Sets \a problem to
/// the text the window shows instead of a topic, or empties it.
KXSIMLIB_EXPORT QWidget* showHelpTopic(int32_t contextId, std::u16string& problem);

}  // namespace kxsim::tooling
