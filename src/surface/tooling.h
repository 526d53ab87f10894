#pragma once
// What the library's own tools (kxsim, the Python module, the benchmarks)
// may use beyond the public API: the one internal header they include. It is
// exported from the shared library, so a tool links that library alone and
// every internal it needs is a function here. Not installed; hosts do not see it.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <string_view>
#include <vector>

#include "core/buttons.h"
#include "core/help_context.h"
#include "dialogs/number_converter/number_converter_model.h"
#include "dialogs/short_message/short_message_model.h"
#include "kxsimlib/kxsimlib_export.h"
#include "kxsimlib/status.h"
#include "platform/component_registry.h"

namespace kxsim::tooling {

/// Calls \a observer with each dialog window of this thread once it is
/// displayed and initialised, while the returned guard lives.
KXSIMLIB_EXPORT std::shared_ptr<void> observeDisplayedDialogs(std::function<void(QDialog&)> observer);

/// Starts the QApplication as a dialog member would (the platform checked
/// first, see platform::choosePlatform), or fails with error 429 saying why.
KXSIMLIB_EXPORT Status startApplication();

/// Qt options ("-style", "Fusion") for the QApplication startApplication or
/// the first dialog creates; call before either.
KXSIMLIB_EXPORT void setQtArguments(std::vector<std::string> arguments);

/// Shows every window from now on in the dark palette of platform/design.
KXSIMLIB_EXPORT void useDarkPalette();

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

/// The INI reader (see platform/profile_reader.h): one value, the key names of
/// a section, the section names, and whether a path is a file it reads.
KXSIMLIB_EXPORT std::u16string profileString(const std::u16string& file, std::u16string_view section,
                                             std::u16string_view key, std::u16string_view fallback,
                                             size_t bufferSize);
KXSIMLIB_EXPORT std::vector<std::u16string> profileKeyNames(const std::u16string& file, std::u16string_view section,
                                                            size_t bufferSize, std::u16string_view fallback);
KXSIMLIB_EXPORT std::vector<std::u16string> profileSectionNames(const std::u16string& file, size_t bufferSize);
KXSIMLIB_EXPORT bool isProfileFile(const std::u16string& path);

/// The number converter's four fields for \a input, as the dialog shows them.
KXSIMLIB_EXPORT dialogs::ConverterFields convertNumber(std::u16string_view input);

/// The classes the registration file lists, in its order.
KXSIMLIB_EXPORT std::vector<platform::RegisteredClass> registeredClasses();

/// The stored reader setup of Kartenleser (the same keys and store): name,
/// card polling interval and wait before the first command in milliseconds
/// (a value that reads as no number gives the key's default), PIN on the keypad.
struct ReaderSetup { std::u16string name; int32_t pollMs = 500; int32_t pauseMs = 0; bool pinpad = false; };
KXSIMLIB_EXPORT ReaderSetup readerSetup();

/// UTF-8 bytes as the library decodes them (an invalid sequence becomes U+FFFD).
KXSIMLIB_EXPORT std::u16string fromUtf8(std::string_view bytes);

}  // namespace kxsim::tooling
