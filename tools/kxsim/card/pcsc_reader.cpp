// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "pcsc_reader.h"

#include <PCSC/reader.h>
#include <arpa/inet.h>

#include <chrono>
#include <cstddef>
#include <cstring>
#include <thread>

#include "pcsc.h"

namespace kxsim::card {

struct PcscReader::Handles {
    PcscContext context;
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    bool connected = false;
};

bool PcscReader::cardPresent(const std::string& reader) {
    PcscContext context;
    SCARD_READERSTATE state{};
    state.szReader = reader.c_str();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    if (LONG rv = SCardGetStatusChange(context.handle(), 0, &state, 1); rv != SCARD_S_SUCCESS)
        throw pcscError(rv, "the reader \"" + reader + "\"");
    return (state.dwEventState & SCARD_STATE_PRESENT) && !(state.dwEventState & SCARD_STATE_MUTE);
}

PcscReader::PcscReader(const std::string& reader, const ReaderTiming& timing, int waitMs)
    : handles_(std::make_unique<Handles>()), reader_(reader), timing_(timing) {
    // Ask every pollMs until a card is there or the wait is over.
    const int poll = std::max(timing.pollMs, 50);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    SCARD_READERSTATE state{};
    state.szReader = reader_.c_str();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    for (;;) {
        LONG rv = SCardGetStatusChange(handles_->context.handle(), DWORD(poll), &state, 1);
        if (rv != SCARD_S_SUCCESS && rv != LONG(SCARD_E_TIMEOUT)) throw pcscError(rv, "the reader \"" + reader_ + "\"");
        if (rv == SCARD_S_SUCCESS) state.dwCurrentState = state.dwEventState & ~DWORD(SCARD_STATE_CHANGED);
        if ((state.dwEventState & SCARD_STATE_PRESENT) && !(state.dwEventState & SCARD_STATE_MUTE)) break;
        if (std::chrono::steady_clock::now() >= deadline)
            throw CardError(CardError::Kind::Reader, "no card in the reader \"" + reader_ + "\"");
    }
    if (timing.pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(timing.pauseMs));
    LONG rv = SCardConnect(handles_->context.handle(), reader_.c_str(), SCARD_SHARE_EXCLUSIVE,
                           SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &handles_->card, &handles_->protocol);
    if (rv != SCARD_S_SUCCESS) throw pcscError(rv, "connecting to the card in \"" + reader_ + "\"");
    handles_->connected = true;
    BYTE atr[MAX_ATR_SIZE];
    DWORD atrLength = sizeof atr, readerLength = 0, cardState = 0, protocol = 0;
    if (SCardStatus(handles_->card, nullptr, &readerLength, &cardState, &protocol, atr, &atrLength) == SCARD_S_SUCCESS)
        atr_.assign(atr, atr + atrLength);
}

PcscReader::~PcscReader() {
    if (handles_->connected) SCardDisconnect(handles_->card, SCARD_LEAVE_CARD);
}

Bytes PcscReader::transmit(const Bytes& command) {
    const SCARD_IO_REQUEST* pci = handles_->protocol == SCARD_PROTOCOL_T1 ? SCARD_PCI_T1 : SCARD_PCI_T0;
    Bytes response(258);
    DWORD length = DWORD(response.size());
    const LONG rv = SCardTransmit(handles_->card, pci, command.data(), DWORD(command.size()), nullptr,
                                  response.data(), &length);
    if (rv != SCARD_S_SUCCESS) throw pcscError(rv, "the reader \"" + reader_ + "\"");
    // A card always ends its answer with a status word; nothing at all
    // means it went away while the command was under way.
    if (length == 0)
        throw CardError(CardError::Kind::Removed, "the card in \"" + reader_ + "\" gave no answer: it was removed or lost power");
    response.resize(length);
    return response;
}

Bytes PcscReader::verifyOnKeypad(const Bytes& command) {
    // PC/SC part 10: the reader lists its features as tag, length 4, control code (big-endian).
    BYTE features[256];
    DWORD length = 0;
    DWORD verifyCode = 0;
    if (SCardControl(handles_->card, CM_IOCTL_GET_FEATURE_REQUEST, nullptr, 0, features, sizeof features, &length) ==
        SCARD_S_SUCCESS) {
        for (DWORD i = 0; i + 6 <= length; i += 2 + features[i + 1]) {
            uint32_t code = 0;
            std::memcpy(&code, features + i + 2, 4);
            if (features[i] == FEATURE_VERIFY_PIN_DIRECT && features[i + 1] == 4) verifyCode = ntohl(code);
        }
    }
    if (!verifyCode)
        throw CardError(CardError::Kind::Refused,
                        "the reader \"" + reader_ + "\" offers no PIN entry on its keypad (PC/SC part 10 verify "
                        "feature); clear \"PIN entry on card reader\" in the reader setup to type the PIN here");
    // The PIN goes in ASCII, left-justified, into the eight bytes after the header, padded with FF.
    Bytes request(offsetof(PIN_VERIFY_STRUCTURE, abData), 0);
    auto* pv = reinterpret_cast<PIN_VERIFY_STRUCTURE*>(request.data());
    pv->bTimerOut = 30;
    pv->bTimerOut2 = 30;
    pv->bmFormatString = 0x82;
    pv->bmPINBlockString = 0x08;
    pv->bmPINLengthFormat = 0x00;
    pv->wPINMaxExtraDigit = 0x0408;
    pv->bEntryValidationCondition = 0x02;
    pv->bNumberMessage = 0x01;
    pv->wLangId = 0x0409;
    Bytes apdu = command;
    apdu.resize(5 + 8, 0xFF);
    pv->ulDataLength = uint32_t(apdu.size());
    request.insert(request.end(), apdu.begin(), apdu.end());
    Bytes response(258);
    DWORD got = 0;
    const LONG rv = SCardControl(handles_->card, verifyCode, request.data(), DWORD(request.size()), response.data(),
                                 DWORD(response.size()), &got);
    if (rv != SCARD_S_SUCCESS) throw pcscError(rv, "PIN entry on the reader \"" + reader_ + "\"");
    response.resize(got);
    return response;
}

}  // namespace kxsim::card
