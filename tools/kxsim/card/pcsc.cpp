// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "pcsc.h"

#include <QString>
#include <cstdio>
#include <initializer_list>

namespace kxsim::card {

namespace {

constexpr char kListing[] = "the PC/SC daemon could not list the readers";

bool isAny(LONG rv, std::initializer_list<LONG> codes) {
    for (LONG code : codes)
        if (rv == code) return true;
    return false;
}

}  // namespace

PcscError pcscError(LONG rv, const std::string& doing) {
    using Kind = CardError::Kind;
    if (isAny(rv, {SCARD_E_NO_SERVICE, SCARD_E_SERVICE_STOPPED}))
        return PcscError(Kind::Reader, "no PC/SC daemon is running (start pcscd)", rv);
    if (rv == SCARD_E_NO_READERS_AVAILABLE)
        return PcscError(Kind::Reader, "the PC/SC daemon lists no connected reader", rv);
    if (isAny(rv, {SCARD_W_REMOVED_CARD, SCARD_E_NO_SMARTCARD, SCARD_W_RESET_CARD, SCARD_W_UNPOWERED_CARD}))
        return PcscError(Kind::Removed, doing + ": the card was removed or reset", rv);
    if (rv == SCARD_E_UNKNOWN_READER)
        return PcscError(Kind::Reader, doing + ": the PC/SC daemon knows no such reader", rv);
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(rv));
    return PcscError(Kind::Reader, doing + ": " + pcsc_stringify_error(rv) + " (" + code + ")", rv);
}

PcscContext::PcscContext() {
    if (LONG rv = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &handle_); rv != SCARD_S_SUCCESS)
        throw pcscError(rv, "the PC/SC daemon gave no context");
}

PcscContext::~PcscContext() { SCardReleaseContext(handle_); }

std::vector<std::string> splitReaderList(std::string_view multi) {
    std::vector<std::string> names;
    for (size_t start = 0; start < multi.size();) {
        size_t end = multi.find('\0', start);
        if (end == std::string_view::npos) end = multi.size();
        if (end == start) break;  // the empty name that ends the list
        names.emplace_back(multi.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::u16string kartenleserList(const std::vector<std::string>& names) {
    std::u16string list;
    for (const std::string& name : names) {
        if (&name != &names.front()) list += u'\0';
        list += QString::fromUtf8(name.data(), qsizetype(name.size())).toStdU16String();
    }
    return list;
}

ReaderListing listReaders() {
    ReaderListing listing;
    try {
        PcscContext context;
        char* multi = nullptr;
        DWORD length = SCARD_AUTOALLOCATE;  // one call: a reader plugged in meanwhile cannot outgrow a buffer
        if (LONG rv = SCardListReaders(context.handle(), nullptr, reinterpret_cast<LPSTR>(&multi), &length);
            rv != SCARD_S_SUCCESS)
            throw pcscError(rv, kListing);
        listing.names = splitReaderList(std::string_view(multi, multi ? length : 0));
        SCardFreeMemory(context.handle(), multi);
        if (listing.names.empty()) throw pcscError(SCARD_E_NO_READERS_AVAILABLE, kListing);
        listing.kind = ReaderListing::Kind::Readers;
    } catch (const PcscError& e) {
        listing.kind = isAny(e.result, {SCARD_E_NO_SERVICE, SCARD_E_SERVICE_STOPPED}) ? ReaderListing::Kind::NoDaemon
                       : e.result == SCARD_E_NO_READERS_AVAILABLE                    ? ReaderListing::Kind::NoReaders
                                                                                    : ReaderListing::Kind::Failed;
        listing.problem = e.what();
        listing.names.clear();
    }
    return listing;
}

}  // namespace kxsim::card
