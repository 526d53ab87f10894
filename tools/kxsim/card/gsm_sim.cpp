#include "gsm_sim.h"

#include <algorithm>
#include <cstdio>

namespace kxsim::card {

namespace {
constexpr uint8_t kClass = 0xA0;
enum : uint8_t { kSelect = 0xA4, kGetResponse = 0xC0, kReadBinary = 0xB0, kUpdateBinary = 0xD6,
                 kReadRecord = 0xB2, kUpdateRecord = 0xDC, kVerify = 0x20 };
enum : uint8_t { kModePrevious = 0x03, kModeAbsolute = 0x04 };
// READ/UPDATE BINARY move at most this many bytes per command (P3 is one byte).
constexpr uint32_t kChunk = 255;

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

CardError malformed(const std::string& what) { return CardError(CardError::Kind::Answer, what); }

// A SELECT response of \a file shorter than a GSM SIM gives (\a least bytes) is refused.
void requireSelectSize(const Bytes& r, size_t least, const std::string& file, const char* forWhat) {
    if (r.size() < least)
        throw malformed("the response to SELECT " + file + " is " + std::to_string(r.size()) +
                        " bytes; a GSM SIM gives at least " + std::to_string(least) + forWhat);
}
}  // namespace

std::string accessName(Access level) {
    switch (level) {
    case 0: return "ALW";
    case 1: return "CHV1";
    case 2: return "CHV2";
    case 3: return "RFU";
    case 15: return "NEV";
    default: return "ADM";
    }
}

std::string statusText(uint16_t sw) {
    const uint8_t sw1 = sw >> 8, sw2 = sw & 0xFF;
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
    case 0x9810: text = "in contradiction with the invalidation status"; break;
    case 0x9840: text = "PIN blocked (no attempt left); only the unblocking code (PUK) helps"; break;
    case 0x9850: text = "the maximum value is reached"; break;
    default: break;
    }
    if (!text) {
        switch (sw1) {
        case 0x67: text = "wrong length (P3)"; break;
        case 0x6B: text = "wrong parameter P1 or P2"; break;
        case 0x6D: text = "unknown instruction"; break;
        case 0x6E: text = "class A0 not supported: a UICC without the 2G (GSM SIM) mode; USIM access is not supported"; break;
        case 0x6F: text = "technical problem, no diagnosis given"; break;
        default: text = "a status word a GSM SIM does not give"; break;
        }
    }
    (void)sw2;
    return hex4(sw) + ": " + text;
}

SimCard::Answer SimCard::send(const Bytes& command, const char* what) {
    Bytes response = transport_.transmit(command);
    if (response.size() < 2)
        throw malformed(std::string(what) + " " + current_ + ": the card answered " +
                        std::to_string(response.size()) + " byte(s), not even a status word");
    Answer answer;
    answer.sw = uint16_t(response[response.size() - 2] << 8 | response.back());
    response.resize(response.size() - 2);
    answer.data = std::move(response);
    if ((answer.sw >> 8) == 0x6E)
        throw CardError(CardError::Kind::Card, "the card answers only class 00 commands: a UICC without the 2G "
                                               "(GSM SIM) mode; this tool speaks class A0 and does not reach USIM files yet");
    return answer;
}

Bytes SimCard::expectOk(const Answer& answer, const char* what) {
    const uint8_t sw1 = answer.sw >> 8;
    if (answer.sw == 0x9000 || sw1 == 0x91 || (sw1 == 0x92 && (answer.sw & 0xF0) == 0)) return answer.data;
    throw CardError(CardError::Kind::Card, std::string(what) + " " + current_ + " failed: " + statusText(answer.sw));
}

Bytes SimCard::selectRaw(uint16_t id) {
    current_ = (id >> 8 == 0x6F || id >> 8 == 0x2F ? "EF " : id == 0x3F00 ? "MF " : "DF ") + hex4(id);
    const Answer answer = send({kClass, kSelect, 0, 0, 2, uint8_t(id >> 8), uint8_t(id)}, "SELECT");
    if ((answer.sw >> 8) != 0x9F) {
        if (answer.sw == 0x9404) throw CardError(CardError::Kind::Card, current_ + " is not on the card");
        expectOk(answer, "SELECT");
        throw malformed("SELECT " + current_ + ": the card gave no response data");
    }
    const uint8_t length = answer.sw & 0xFF;
    const Answer response = send({kClass, kGetResponse, 0, 0, length}, "GET RESPONSE");
    Bytes data = expectOk(response, "GET RESPONSE");
    if (data.size() != length)
        throw malformed("GET RESPONSE " + current_ + ": the card announced " + std::to_string(length) +
                        " bytes and gave " + std::to_string(data.size()));
    return data;
}

DirInfo SimCard::selectDir(uint16_t id) {
    const Bytes r = selectRaw(id);
    requireSelectSize(r, 22, current_, "");
    if (r[6] != 0x01 && r[6] != 0x02)
        throw malformed(current_ + " is not a directory (type " + hex4(r[6]).substr(2) + ")");
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
    if (r[6] != 0x04) throw malformed(current_ + " is not an elementary file");
    EfInfo info;
    info.id = id;
    info.size = uint32_t(r[2] << 8 | r[3]);
    info.read = r[8] >> 4;
    info.update = r[8] & 0x0F;
    switch (r[13]) {
    case 0: info.structure = Structure::Transparent; break;
    case 1: info.structure = Structure::Linear; break;
    case 3: info.structure = Structure::Cyclic; break;
    default: throw malformed(current_ + " has an unknown structure (" + hex4(r[13]).substr(2) + ")");
    }
    if (info.structure != Structure::Transparent) {
        if (r.size() < 15 || r[14] == 0 || info.size % r[14] != 0)
            throw malformed(current_ + ": the card gives no usable record length");
        info.recordLength = r[14];
    }
    return info;
}

EfInfo SimCard::selectPath(std::initializer_list<uint16_t> dirs, uint16_t ef) {
    selectDir(0x3F00);
    for (uint16_t dir : dirs) selectDir(dir);
    return selectEf(ef);
}

Bytes SimCard::readBinary(uint32_t offset, uint32_t length) {
    Bytes data;
    while (data.size() < length) {
        const uint32_t at = offset + uint32_t(data.size());
        const uint8_t n = uint8_t(std::min(kChunk, length - uint32_t(data.size())));
        Bytes part = expectOk(send({kClass, kReadBinary, uint8_t(at >> 8), uint8_t(at), n}, "READ BINARY"), "READ BINARY");
        if (part.size() != n)
            throw malformed("READ BINARY " + current_ + ": asked for " + std::to_string(n) + " bytes, the card gave " +
                            std::to_string(part.size()));
        data.insert(data.end(), part.begin(), part.end());
    }
    return data;
}

void SimCard::updateBinary(uint32_t offset, const Bytes& data) {
    for (uint32_t done = 0; done < data.size();) {
        const uint32_t at = offset + done;
        const uint8_t n = uint8_t(std::min<uint32_t>(kChunk, uint32_t(data.size()) - done));
        Bytes command{kClass, kUpdateBinary, uint8_t(at >> 8), uint8_t(at), n};
        command.insert(command.end(), data.begin() + done, data.begin() + done + n);
        expectOk(send(command, "UPDATE BINARY"), "UPDATE BINARY");
        done += n;
    }
}

Bytes SimCard::readRecord(uint8_t number, uint8_t length) {
    Bytes data = expectOk(send({kClass, kReadRecord, number, kModeAbsolute, length}, "READ RECORD"), "READ RECORD");
    if (data.size() != length)
        throw malformed("READ RECORD " + current_ + ": asked for " + std::to_string(length) + " bytes, the card gave " +
                        std::to_string(data.size()));
    return data;
}

void SimCard::updateRecord(uint8_t number, const Bytes& data) {
    Bytes command{kClass, kUpdateRecord, number, kModeAbsolute, uint8_t(data.size())};
    command.insert(command.end(), data.begin(), data.end());
    expectOk(send(command, "UPDATE RECORD"), "UPDATE RECORD");
}

void SimCard::updateCyclic(const Bytes& data) {
    Bytes command{kClass, kUpdateRecord, 0, kModePrevious, uint8_t(data.size())};
    command.insert(command.end(), data.begin(), data.end());
    expectOk(send(command, "UPDATE RECORD"), "UPDATE RECORD");
}

bool SimCard::verifyChv(int chv, std::string& pin) {
    Bytes command{kClass, kVerify, 0, uint8_t(chv), 8};
    const bool wellFormed = pin.size() >= 4 && pin.size() <= 8 &&
                            pin.find_first_not_of("0123456789") == std::string::npos;
    for (size_t i = 0; i < 8; ++i) command.push_back(i < pin.size() ? uint8_t(pin[i]) : 0xFF);
    wipe(pin);
    if (!wellFormed) {
        wipe(command);
        throw CardError(CardError::Kind::Refused, "a PIN is 4 to 8 digits; nothing was sent to the card");
    }
    Answer answer;
    try {
        answer = send(command, "VERIFY CHV");
    } catch (...) {
        wipe(command);
        throw;
    }
    wipe(command);
    if (answer.sw == 0x9000) return true;
    if (answer.sw == 0x9804) return false;
    throw CardError(CardError::Kind::Card, "VERIFY CHV" + std::to_string(chv) + " failed: " + statusText(answer.sw));
}

bool SimCard::verifyChvOnKeypad(int chv) {
    const Bytes response = transport_.verifyOnKeypad({kClass, kVerify, 0, uint8_t(chv), 8});
    if (response.size() < 2) throw malformed("the reader's PIN entry gave no status word");
    const uint16_t sw = uint16_t(response[response.size() - 2] << 8 | response.back());
    if (sw == 0x9000) return true;
    if (sw == 0x9804) return false;
    throw CardError(CardError::Kind::Card, "VERIFY CHV" + std::to_string(chv) + " on the keypad failed: " + statusText(sw));
}

}  // namespace kxsim::card
