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

    /// Card reader setup. \a Readers holds the reader names separated by NUL
    /// characters; \a result receives the chosen reader name, or the stored one
    /// when the user closed the window without OK.
    Status Kartenleser(std::u16string& Readers, std::u16string& result);

    /// Sets the path of the language file for the dialogs shown afterwards on
    /// this thread. Write-only; an empty or missing file switches translation off.
    Status Language(std::u16string& File);

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
