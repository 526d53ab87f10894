// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "gsm_sim.h"

namespace kxsim::card {

namespace {
constexpr uint8_t kDfGsmId[] = {0x7F, 0x20};

// A SELECT response of \a file shorter than a GSM SIM gives (\a least bytes) is refused.
void requireSelectSize(const Bytes& r, size_t least, const std::string& file, const char* forWhat) {
    if (r.size() < least)
        throw malformedAnswer("the response to SELECT " + file + " is " + std::to_string(r.size()) +
                              " bytes; a GSM SIM gives at least " + std::to_string(least) + forWhat);
}
}  // namespace

std::string statusText(uint16_t sw) {
    const uint8_t sw1 = sw >> 8;
    const char* text = nullptr;
    switch (sw) {
    case 0x9240: text = "memory problem"; break;
    case 0x9300: text = "the SIM application toolkit is busy"; break;
    case 0x9400: text = "no file selected"; break;
    case 0x9402: text = "out of range (invalid address or record)"; break;
    case 0x9404: text = "file not found"; break;
    case 0x9408: text = "the file does not allow this command (structure)"; break;
    case 0x9802: text = "no PIN initialised"; break;
    case 0x9804: text = "access condition not fulfilled, or a wrong PIN"; break;
    case 0x9808: text = "in contradiction with the PIN status"; break;
    case 0x9810: text = "the file is invalidated"; break;
    case 0x9840: text = "PIN blocked (no attempt left); only the unblocking code (PUK) helps"; break;
    case 0x9850: text = "the maximum value is reached"; break;
    default: break;
    }
    if (!text) {
        switch (sw1) {
        case 0x67: text = "wrong length (P3)"; break;
        case 0x6B: text = "wrong parameter P1 or P2"; break;
        case 0x6D: text = "unknown instruction"; break;
        case 0x6E: text = "class A0 not supported: a UICC without the 2G (GSM SIM) mode; use its USIM (--app usim)"; break;
        case 0x6F: text = "technical problem, no diagnosis given"; break;
        default: text = "a status word a GSM SIM does not give"; break;
        }
    }
    return hex4(sw) + ": " + text;
}

Bytes verifyCommand(uint8_t cla, uint8_t key, std::string& pin) {
    const bool wellFormed = pin.size() >= 4 && pin.size() <= 8 &&
                            pin.find_first_not_of("0123456789") == std::string::npos;
    Bytes command;
    if (wellFormed) {
        command.reserve(13);
        command.insert(command.end(), {cla, kVerify, 0, key, 8});
        for (size_t i = 0; i < 8; ++i) command.push_back(i < pin.size() ? uint8_t(pin[i]) : 0xFF);
    }
    wipe(pin);
    if (!wellFormed) throw refused("a PIN is 4 to 8 digits; nothing was sent to the card");
    return command;
}

SimCard::Answer SimCard::send(const Bytes& command, const char* what) {
    Answer answer = FileCommands::send(command, what);
    if ((answer.sw >> 8) == 0x6E)
        throw CardError(CardError::Kind::Card, "the card answers only class 00 commands: a UICC without the 2G "
                                               "(GSM SIM) mode; use its USIM (--app usim, or no --app)");
    return answer;
}

Bytes SimCard::selectRaw(uint16_t id) {
    current_ = fileName(id);
    const Answer answer = send({cla_, kSelect, 0, 0, 2, uint8_t(id >> 8), uint8_t(id)}, "SELECT");
    if ((answer.sw >> 8) != 0x9F) {
        if (answer.sw == 0x9404) throw CardError(CardError::Kind::Card, current_ + " is not on the card");
        expectOk(answer, "SELECT");
        throw malformedAnswer("SELECT " + current_ + ": the card gave no response data");
    }
    const uint8_t length = answer.sw & 0xFF;
    const Answer response = send({cla_, kGetResponse, 0, 0, length}, "GET RESPONSE");
    Bytes data = expectOk(response, "GET RESPONSE");
    if (data.size() != length)
        throw malformedAnswer("GET RESPONSE " + current_ + ": the card announced " + std::to_string(length) +
                              " bytes and gave " + std::to_string(data.size()));
    return data;
}

DirInfo SimCard::selectDir(uint16_t id) {
    const Bytes r = selectRaw(id);
    requireSelectSize(r, 22, current_, "");
    if (r[6] != 0x01 && r[6] != 0x02)
        throw malformedAnswer(current_ + " is not a directory (type " + hex4(r[6]).substr(2) + ")");
    DirInfo info;
    info.id = id;
    info.chv1Enabled = !(r[13] & 0x80);
    auto state = [](uint8_t b) { return ChvState{(b & 0x80) != 0, b & 0x0F}; };
    info.chv1 = state(r[18]);
    info.chv2 = state(r[20]);
    return info;
}

EfInfo SimCard::selectEf(uint16_t id) {
    const Bytes r = selectRaw(id);
    requireSelectSize(r, 14, current_, " for a file");
    if (r[6] != 0x04) throw malformedAnswer(current_ + " is not an elementary file");
    EfInfo info;
    info.id = id;
    info.size = uint32_t(r[2] << 8 | r[3]);
    info.read = r[8] >> 4;
    info.update = r[8] & 0x0F;
    // File status: b1 clear marks the file invalidated, b3 set keeps it readable and updatable so.
    info.invalidated = !(r[11] & 0x01);
    info.usableInvalidated = (r[11] & 0x04) != 0;
    switch (r[13]) {
    case 0: info.structure = Structure::Transparent; break;
    case 1: info.structure = Structure::Linear; break;
    case 3: info.structure = Structure::Cyclic; break;
    default: throw malformedAnswer(current_ + " has an unknown structure (" + hex4(r[13]).substr(2) + ")");
    }
    if (info.structure != Structure::Transparent) {
        if (r.size() < 15 || r[14] == 0 || info.size % r[14] != 0)
            throw malformedAnswer(current_ + ": the card gives no usable record length");
        info.recordLength = r[14];
    }
    return info;
}

EfInfo SimCard::selectPath(const std::vector<uint16_t>& dirs, uint16_t ef) {
    selectDir(0x3F00);
    for (uint16_t dir : dirs) selectDir(dir == kApplicationDir ? uint16_t(kDfGsmId[0] << 8 | kDfGsmId[1]) : dir);
    return selectEf(ef);
}

CodeState SimCard::codeState(int level) {
    const DirInfo mf = selectDir(0x3F00);
    const ChvState chv = level == 1 ? mf.chv1 : mf.chv2;
    return CodeState{level == 1 ? mf.chv1Enabled : true, chv.initialised, chv.tries};
}

bool SimCard::verify(int chv, std::string& pin) {
    Bytes command = verifyCommand(cla_, uint8_t(chv), pin);
    const WipeOnExit wiping{command};
    const Answer answer = send(command, "VERIFY CHV");
    if (answer.sw == 0x9000) return true;
    if (answer.sw == 0x9804) return false;
    throw CardError(CardError::Kind::Card, "VERIFY CHV" + std::to_string(chv) + " failed: " + statusText(answer.sw));
}

bool SimCard::verifyOnKeypad(int chv) {
    const Bytes response = transport_.verifyOnKeypad({cla_, kVerify, 0, uint8_t(chv), 8});
    if (response.size() < 2) throw malformedAnswer("the reader's PIN entry gave no status word");
    const uint16_t sw = uint16_t(response[response.size() - 2] << 8 | response.back());
    if (sw == 0x9000) return true;
    if (sw == 0x9804) return false;
    throw CardError(CardError::Kind::Card, "VERIFY CHV" + std::to_string(chv) + " on the keypad failed: " + statusText(sw));
}

}  // namespace kxsim::card
