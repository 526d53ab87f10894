// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// kxsim's one way into the PC/SC daemon (pcscd, pcsc-lite): the context every
// call runs in, the reader list, and what a PC/SC result means for the user.
// kxsim reader --pcsc, the card commands and the workbench's card page all
// go through here, so they say the same thing about the same cause.

#include <winscard.h>

#include <string>
#include <string_view>
#include <vector>

#include "transport.h"

namespace kxsim::card {

/// A PC/SC result other than success, as the CardError the user reads; the
/// result stays with it for callers that choose by the cause.
struct PcscError : CardError {
    PcscError(Kind kind, const std::string& message, LONG result) : CardError(kind, message), result(result) {}
    LONG result;
};

/// The error of PC/SC result \a rv while \a doing ("connecting to the card in
/// \"X\""). No daemon and no reader are sentences of their own; a card gone
/// or reset is Removed; anything else names pcsc-lite's text and the code.
PcscError pcscError(LONG rv, const std::string& doing);

/// A context with the daemon, released on every way out. Throws PcscError
/// when there is no daemon or it gives none.
class PcscContext {
public:
    PcscContext();
    ~PcscContext();
    PcscContext(const PcscContext&) = delete;
    PcscContext& operator=(const PcscContext&) = delete;
    SCARDCONTEXT handle() const { return handle_; }

private:
    SCARDCONTEXT handle_ = 0;
};

/// The names in a PC/SC reader multi-string: each name ends with a NUL and
/// an empty name ends the list ("A\0B\0\0"). Bytes after the list's end are
/// ignored; a list cut off without its final NUL keeps its last name.
std::vector<std::string> splitReaderList(std::string_view multi);

/// Reader names (UTF-8) as the reader list Kartenleser takes: joined by NUL,
/// no NUL at the end ("A\0B"); an invalid byte becomes U+FFFD.
std::u16string kartenleserList(const std::vector<std::string>& names);

/// What the daemon answered to "which readers are connected?".
struct ReaderListing {
    enum class Kind { Readers, NoDaemon, NoReaders, Failed };
    Kind kind = Kind::Failed;
    std::vector<std::string> names;  ///< with Readers: at least one
    std::string problem;             ///< otherwise: the sentence saying why there is none
};

/// Asks the daemon for the connected readers; never throws for a PC/SC cause.
ReaderListing listReaders();

}  // namespace kxsim::card
