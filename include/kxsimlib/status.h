// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Outcome of a public member: success, or a run-time error number with its description.

#include <cstdint>
#include <string>

#include "kxsimlib/kxsimlib_export.h"

namespace kxsim {

/*!
  \brief What a public member reports to its host besides its declared result.

  A failure carries a run-time error number and its description, for example
  6 "Overflow". No C++ exception ever crosses a public member: a failure inside
  comes back as a failed Status.

  \code
  std::u16string chosen;
  std::u16string readers = u"Reader A";
  if (kxsim::Status s = dialogs.Kartenleser(readers, chosen); !s)
      std::cerr << s.number() << '\n';
  \endcode
*/
class KXSIMLIB_EXPORT Status {
public:
    /// Success.
    Status() = default;

    /// Failure with the standard English description of run-time error \a number.
    static Status error(int32_t number);
    /// Failure with a description of its own.
    static Status error(int32_t number, std::u16string description);

    bool ok() const { return number_ == 0; }
    explicit operator bool() const { return ok(); }

    /// 0 on success.
    int32_t number() const { return number_; }
    /// Empty on success.
    const std::u16string& description() const { return description_; }

    /// The standard English text of a run-time error number ("Overflow" for 6);
    /// "Application-defined or object-defined error" for numbers it does not know.
    static std::u16string standardDescription(int32_t number);

    friend bool operator==(const Status&, const Status&) = default;

private:
    Status(int32_t number, std::u16string description)
        : number_(number), description_(std::move(description)) {}

    int32_t number_ = 0;
    std::u16string description_;
};

/// Run-time error numbers the library raises.
namespace errors {
inline constexpr int32_t InvalidCall = 5;    ///< Invalid procedure call or argument
inline constexpr int32_t Overflow = 6;       ///< Overflow
inline constexpr int32_t OutOfMemory = 7;    ///< Out of memory
inline constexpr int32_t TypeMismatch = 13;  ///< Type mismatch
inline constexpr int32_t Internal = 51;      ///< Internal error
inline constexpr int32_t PathFileAccess = 75;  ///< Path/File access error
inline constexpr int32_t InvalidPropertyValue = 380;  ///< Invalid property value
inline constexpr int32_t FormAlreadyShown = 400;  ///< Form already displayed; can't show modally
inline constexpr int32_t CantCreateObject = 429;  ///< ActiveX component can't create object
inline constexpr int32_t NotSupported = 438;  ///< Object doesn't support this property or method
inline constexpr int32_t WrongArgCount = 450;  ///< Wrong number of arguments or invalid property assignment
}  // namespace errors

}  // namespace kxsim
