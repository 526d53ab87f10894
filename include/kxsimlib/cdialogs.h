// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The class through which a host opens the library's dialogs.

#include <cstdint>
#include <memory>
#include <string>

#include "kxsimlib/kxsimlib_export.h"
#include "kxsimlib/picture.h"
#include "kxsimlib/status.h"

namespace kxsim {

/*!
  \brief Opens the library's modal dialogs.

  Each member shows one dialog modally on the calling thread, which must be the
  thread of the Qt application (the library creates a QApplication on first need
  when the host has none). Arguments are taken by reference: the member writes
  its by-reference outputs back and its declared result through the final
  out-parameter. The returned Status says whether the call itself succeeded; what
  the user confirmed or cancelled is told by the result.

  The language file, and one form object per dialog, are kept per thread: they
  are shared by every CDialogs object of that thread.

  \code
  kxsim::CDialogs dialogs;
  std::u16string lang = u"/usr/share/kxsimlib/kxsim_de.ini";
  dialogs.Language(lang);
  std::u16string readers(u"Reader A\0Reader B", 17);
  std::u16string chosen;
  if (dialogs.Kartenleser(readers, chosen))
      use(chosen);
  \endcode
*/
class KXSIMLIB_EXPORT CDialogs {
public:
    CDialogs();
    ~CDialogs();
    CDialogs(const CDialogs&) = delete;
    CDialogs& operator=(const CDialogs&) = delete;

    /// Clone options: which files of a SIM card to clone. \a result receives
    /// the bit mask of the chosen files (bit n - 1 for file box n, -1 after
    /// "All"); 0 after Cancel or the window's close box. Every call starts
    /// from nothing chosen.
    Status CloneOptions(int32_t& result);

    /// Number converter: shows a decimal or hexadecimal ("h" in front) number in
    /// hexadecimal, decimal, octal and binary until the user closes the window.
    /// \a result is always empty.
    Status Converter(std::u16string& result);

    /// Card reader setup. \a Readers holds the reader names separated by NUL
    /// characters; \a result receives the chosen reader name, or the stored one
    /// when the user closed the window without OK.
    Status Kartenleser(std::u16string& Readers, std::u16string& result);

    /// Sets the path of the language file for the dialogs shown afterwards on
    /// this thread. Write-only; an empty or missing file switches translation off.
    Status Language(std::u16string& File);

    /// Magnetic stripe options: prefix, suffix and the three track identifiers
    /// with their presence, kept in the user's settings. \a result receives the
    /// three identifier characters (track 1 first, "*" for an empty one), or the
    /// stored ones when the user closed the window without OK. A failure after
    /// OK says the settings could not be stored; \a result is written even then.
    Status MagnetOptions(std::u16string& result);

    /// The call meter: units used \a Acm, maximum units \a Amv, currency \a Ccu
    /// and price per unit \a Ppu (hundredths of the currency), as decimal text,
    /// each cut to its field (8, 8, 3 and 4 characters). \a Icon shows top left.
    /// \a result is 1 for OK and 2 for Cancel, and the four texts come back as
    /// edited either way; when the window was closed otherwise \a result is 0 and
    /// the four texts stay as passed. Texts that give an amount beyond the range
    /// of a double fail the call with error 6 (Overflow) before the window shows.
    Status SelectMeter(std::u16string& Acm, std::u16string& Amv, std::u16string& Ccu,
                       std::u16string& Ppu, Picture& Icon, int32_t& result);

    /// Network list: edits an ordered list of numeric keys picked from section
    /// \a Section of the INI file \a InitFile, whose values are their texts.
    /// \a Keys is the list, each key followed by ";" ("26201;26202;"); OK writes
    /// the rebuilt list back and gives the result 1, Cancel and the close box
    /// leave \a Keys as passed and give 2. Add accepts up to \a Max entries.
    /// \a Caption is the window title, \a HelpId the help topic; \a Language
    /// becomes the language file of this and all later dialogs of the thread.
    /// A key in \a Keys (up to the first empty one) whose number does not fit
    /// a Long fails the call with error 6 before the dialog opens.
    Status SelectNetwork(std::u16string& Section, std::u16string& Keys, int32_t& Max,
                         std::u16string& InitFile, std::u16string& Caption, Picture& Icon,
                         int32_t& HelpId, std::u16string& Language, int32_t& result);

private:
    std::unique_ptr<class CDialogsPrivate> const d;
};

}  // namespace kxsim
