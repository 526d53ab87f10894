// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// What the library's own tools (kxsim, the Python module, the benchmarks)
// may use beyond the public API: the one internal header they include. It is
// exported from the shared library, so a tool links that library alone and
// every internal it needs is a function here. Not installed; hosts do not see it.
// It includes public headers, Qt and the standard library only, so the tools'
// include path (the kxsim_tooling target) holds this header and nothing of src/.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "kxsimlib/cdialogs.h"
#include "kxsimlib/kxsimlib_export.h"
#include "kxsimlib/member_description.h"
#include "kxsimlib/picture.h"
#include "kxsimlib/status.h"

namespace kxsim::tooling {

/// The CDialogs members' descriptions (src/dialogs/<role>/<role>_member.h),
/// in dispatch order.
KXSIMLIB_EXPORT const std::vector<const MemberDescription*>& cdialogsMembers();
/// The CDialogs member named \a name, or the short message form ("WSms"); null when none.
KXSIMLIB_EXPORT const MemberDescription* findMember(std::u16string_view name);

/// An argument or result of a typed call: Number parameters are int32_t,
/// Picture ones a Picture, all others text; monostate for none.
using Argument = std::variant<std::monostate, int32_t, std::u16string, Picture>;
/// Calls \a member on \a target with \a args in its parameter order, writes
/// the parameters back into \a args and the result into \a result. Error 450
/// for a wrong count, 13 for an argument of another type than its parameter.
KXSIMLIB_EXPORT Status callMember(CDialogs& target, const MemberDescription& member, std::vector<Argument>& args,
                                  Argument& result);

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

/// The short message form's contents (see dialogs::ShortMessageContents).
struct ShortMessageContents {
    std::u16string name;
    int statusIndex = -1;
    std::u16string address;
    int validityIndex = -1;
    struct Validity {
        std::u16string label;
        int32_t value = 0;
    } validity;
    std::u16string center;
    std::u16string text;
    int report = 0;
};

/// Shows the short message form WSms, which no public member shows, filled
/// with \a contents (text boxes and check box; a name moves it to name mode).
/// \a action receives the index of the button that closed it (0 for the close
/// box); after OK, \a contents receives what the form holds.
KXSIMLIB_EXPORT Status showShortMessageForm(ShortMessageContents& contents, int32_t& action);

/// Opens the library's help file at \a contextId in the help window and
/// returns that window, or null when none could be shown. Sets \a problem to
/// the text the window shows instead of a topic, or empties it.
KXSIMLIB_EXPORT QWidget* showHelpTopic(int32_t contextId, std::u16string& problem);

/// The INI reader (see platform/profile_reader.h): one value, the key names of
/// a section, the section names, and why a path is no file it reads (to
/// follow the path in a message: "is not there", "is larger than 67108864
/// bytes", ...; empty when it reads it).
KXSIMLIB_EXPORT std::u16string profileString(const std::u16string& file, std::u16string_view section,
                                             std::u16string_view key, std::u16string_view fallback,
                                             size_t bufferSize);
KXSIMLIB_EXPORT std::vector<std::u16string> profileKeyNames(const std::u16string& file, std::u16string_view section,
                                                            size_t bufferSize, std::u16string_view fallback);
KXSIMLIB_EXPORT std::vector<std::u16string> profileSectionNames(const std::u16string& file, size_t bufferSize);
KXSIMLIB_EXPORT std::u16string whyNoProfileFile(const std::u16string& path);

/// Names as the INI reader matches them: blanks around dropped, letter case folded.
KXSIMLIB_EXPORT std::u16string profileNameKey(std::u16string_view name);

/// A text a translation looks up: the form ("WAcm"), the section ("Label") and the key.
struct TranslatableText { std::u16string form, section, key; };
/// While the returned guard lives, each text the translation walk looks up on
/// this thread is handed to \a record, also when no language file is set.
KXSIMLIB_EXPORT std::shared_ptr<void> recordTranslationLookups(std::function<void(const TranslatableText&)> record);
/// The texts forms translate with TranslateText outside the walk (section "Label").
KXSIMLIB_EXPORT std::vector<TranslatableText> formTranslateTexts();


/// The number converter's four fields for \a input, as the dialog shows them;
/// after a failure each text is the error's description.
struct ConverterFields {
    Status status;
    std::u16string hex, dec, oct, bin;
};
KXSIMLIB_EXPORT ConverterFields convertNumber(std::u16string_view input);

/// A class the registration file lists.
struct RegisteredClass {
    std::u16string name, classId, interfaceName, interfaceId;
    bool creatable = false;
    std::u16string library;
};
/// The classes the registration file lists, in its order.
KXSIMLIB_EXPORT std::vector<RegisteredClass> registeredClasses();

/// The stored reader setup of Kartenleser (the same keys and store): name,
/// card polling interval and wait before the first command in milliseconds
/// (a value that reads as no number gives the key's default), PIN on the keypad.
struct ReaderSetup { std::u16string name; int32_t pollMs = 500; int32_t pauseMs = 0; bool pinpad = false; };
KXSIMLIB_EXPORT ReaderSetup readerSetup();

/// UTF-8 bytes as the library decodes them (an invalid sequence becomes U+FFFD).
KXSIMLIB_EXPORT std::u16string fromUtf8(std::string_view bytes);

}  // namespace kxsim::tooling
