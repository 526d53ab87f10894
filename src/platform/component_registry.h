// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The per-user registration file through which hosts find the library by
// class identifier: kxsimlib/components.ini under $XDG_DATA_HOME.
//
//   [Classes]                 class name = class identifier, for every class
//   CDialogs={E51D9852-...}
//   [{E51D9852-...}]          one section per class identifier
//   Class=CDialogs
//   Interface=_CDialogs
//   InterfaceId={7D9C7F8C-...}
//   Creatable=1
//   Library=/usr/lib/kxsimlib/libkxsimlib.so.31
//   [TypeLibrary]             Id, Name, Description, Version, Locale, Library

#include <string>
#include <vector>

namespace kxsim::platform {

/// $XDG_DATA_HOME/kxsimlib/components.ini; ~/.local/share when XDG_DATA_HOME
/// is unset or not an absolute path.
std::string registrationFilePath();

/// What went wrong in a registration: nothing when \c what is empty.
struct RegistrationError {
    std::string what;  ///< what failed, naming the path: "cannot write /home/ann/.local/share/kxsimlib/components.ini"
    int error = 0;     ///< the system's errno; 0 when \c what says why ("... is read-only")
    explicit operator bool() const { return !what.empty(); }
    /// "what: the system's reason", or \c what alone; empty on success.
    std::string message() const;
};

/// Writes the file for the library at \a libraryPath, replacing it whole (a
/// reader never sees half a file). Concurrent writers and removers take turns
/// through a lock file beside it, waiting at most 5 s. Only a missing file or
/// an ordinary file of the user's own that the user may write is replaced
/// (through a link to the file it names), as the settings store does.
RegistrationError writeRegistration(const std::string& libraryPath);

/// Removes the file, and its folder when nothing else is in it; no file to
/// remove is no failure.
RegistrationError removeRegistration();

struct RegisteredClass {
    std::u16string name;
    std::u16string classId;
    std::u16string interfaceName;
    std::u16string interfaceId;
    bool creatable = false;
    std::u16string library;
};

/// The classes the file lists, in its order; empty when there is no file.
std::vector<RegisteredClass> readRegistration();

}  // namespace kxsim::platform
