// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "usim_app.h"

#include "gsm_sim.h"
#include "uicc_status.h"

namespace kxsim::card {

namespace {
constexpr uint8_t kClass = 0x00;
constexpr uint8_t kByIdentifier = 0x00, kByName = 0x04, kReturnFcp = 0x04;
constexpr uint16_t kMf = 0x3F00;

CardError cardError(const std::string& what) { return CardError(CardError::Kind::Card, what); }

bool triesLeft(uint16_t sw) { return (sw & 0xFFF0) == 0x63C0; }
}  // namespace

UsimApp::UsimApp(Transport& transport) : FileCommands(transport, kClass) {
    current_ = fileName(kMf);
    const Answer first = send({kClass, kSelect, kByIdentifier, kReturnFcp, 2, 0x3F, 0x00}, "SELECT");
    if (first.sw != 0x9000 && (first.sw >> 8) != 0x91)
        throw NoUsim("the card takes no class 00 commands (SELECT MF: " + describe(first.sw) +
                     "): a GSM SIM without a UICC's applications; use --app gsm (or no --app)");
    FileControl dir;
    try {
        dir = select(kEfDir);
    } catch (const CardError& e) {
        if (e.kind != CardError::Kind::Card) throw;
        throw NoUsim("the card has no EF DIR, so no USIM; use --app gsm for its GSM SIM");
    }
    if (dir.directory || dir.ef.structure != Structure::Linear)
        throw malformedAnswer("EF DIR is not a file of records, as a UICC has it");
    for (uint32_t r = 1; r <= dir.ef.records() && aid_.empty(); ++r) {
        const std::optional<Application> app = applicationRecord(readRecord(uint8_t(r), dir.ef.recordLength));
        if (app && isUsim(app->aid)) aid_ = app->aid, label_ = app->label;
    }
    if (aid_.empty()) throw NoUsim("the card lists no USIM application in EF DIR; use --app gsm for its GSM SIM");
    pins_ = selectAdf().pins;
}

FileCommands::Answer UsimApp::send(const Bytes& command, const char* what) {
    Answer answer = FileCommands::send(command, what);
    // 6Cxx: the card has xx bytes; the same command again asking for them.
    if ((answer.sw >> 8) == 0x6C && command.size() <= 5) {
        Bytes again(command.begin(), command.begin() + 4);
        again.push_back(uint8_t(answer.sw));
        answer = FileCommands::send(again, what);
    }
    // 61xx: xx bytes wait; GET RESPONSE fetches them, maybe in several parts.
    for (int parts = 0; (answer.sw >> 8) == 0x61 && parts < 16; ++parts) {
        Answer more = FileCommands::send({kClass, kGetResponse, 0, 0, uint8_t(answer.sw)}, "GET RESPONSE");
        if ((more.sw >> 8) == 0x6C) more = FileCommands::send({kClass, kGetResponse, 0, 0, uint8_t(more.sw)}, "GET RESPONSE");
        answer.data.insert(answer.data.end(), more.data.begin(), more.data.end());
        answer.sw = more.sw;
    }
    return answer;
}

std::string UsimApp::describe(uint16_t sw) const { return uiccStatusText(sw); }

FileControl UsimApp::select(uint16_t id) {
    current_ = fileName(id);
    Answer answer = send({kClass, kSelect, kByIdentifier, kReturnFcp, 2, uint8_t(id >> 8), uint8_t(id)}, "SELECT");
    if (answer.sw == 0x6A82) throw cardError(current_ + " is not on the card");
    // 6283: selected, but invalidated; the FCP may still wait to be fetched.
    if (answer.sw == 0x6283 && answer.data.empty()) {
        const Answer fcp = send({kClass, kGetResponse, 0, 0, 0}, "GET RESPONSE");
        answer.data = fcp.data;
    }
    if (answer.sw != 0x6283) expectOk(answer, "SELECT");
    FileControl fc = parseFcp(answer.data, current_);
    if (answer.sw == 0x6283) fc.ef.invalidated = true;
    if (fc.directory) dir_ = id;
    return fc;
}

FileControl UsimApp::selectAdf() {
    current_ = "ADF USIM";
    Bytes command{kClass, kSelect, kByName, kReturnFcp, uint8_t(aid_.size())};
    command.insert(command.end(), aid_.begin(), aid_.end());
    const Answer answer = send(command, "SELECT");
    if (answer.sw == 0x6A82) throw cardError("the USIM named in EF DIR (" + hex(aid_) + ") is not on the card");
    FileControl fc = parseFcp(expectOk(answer, "SELECT"), current_);
    dir_ = kApplicationDir;
    return fc;
}

void UsimApp::enter(const std::vector<uint16_t>& dirs, size_t count) {
    if (count == 0 || dirs.front() != kApplicationDir) select(kMf);
    for (size_t i = 0; i < count; ++i) {
        const FileControl fc = dirs[i] == kApplicationDir ? selectAdf() : select(dirs[i]);
        if (!fc.directory) throw malformedAnswer(current_ + " is not a directory");
    }
}

AccessLevels UsimApp::accessOf(const FileControl& file, const std::vector<uint16_t>& dirs) {
    switch (file.security.form) {
    case Security::Form::Compact: return compactAccess(file.security.rule);
    case Security::Form::Expanded: return expandedAccess(file.security.rule);
    case Security::Form::None: return {0, 0};  // no attributes: the card decides, its refusal is reported
    case Security::Form::Referenced: break;
    }
    const auto key = std::make_tuple(dir_, file.security.arr, file.security.record);
    if (auto it = rules_.find(key); it != rules_.end()) return it->second;
    const std::string name = current_;
    // EF ARR lies in the file's directory or in one above it.
    std::optional<FileControl> arr;
    for (size_t n = dirs.size() + 1; n-- > 0 && !arr;) {
        if (n < dirs.size()) enter(dirs, n);
        try {
            arr = select(file.security.arr);
        } catch (const CardError& e) {
            if (e.kind != CardError::Kind::Card) throw;
        }
    }
    if (!arr || arr->directory || arr->ef.structure != Structure::Linear || file.security.record == 0 ||
        file.security.record > arr->ef.records())
        throw malformedAnswer(name + " refers to record " + std::to_string(file.security.record) + " of EF " +
                              hex4(file.security.arr) + ", which the card does not hold as an access rule file");
    const AccessLevels levels = expandedAccess(readRecord(file.security.record, arr->ef.recordLength));
    rules_[key] = levels;
    enter(dirs, dirs.size());  // the file again, after EF ARR
    select(file.ef.id);
    return levels;
}

EfInfo UsimApp::selectPath(const std::vector<uint16_t>& dirs, uint16_t ef) {
    enter(dirs, dirs.size());
    control_ = select(ef);
    if (control_.directory) throw malformedAnswer(current_ + " is not an elementary file");
    const AccessLevels levels = accessOf(control_, dirs);
    control_.ef.read = levels.read;
    control_.ef.update = levels.update;
    return control_.ef;
}

uint8_t UsimApp::keyFor(int level) const {
    if (level == 2) return kKeyPin2;
    const KeyStatus* pin1 = nullptr;
    const KeyStatus* universal = nullptr;
    for (const KeyStatus& k : pins_) {
        if (k.key == kKeyPin1) pin1 = &k;
        if (k.key == kKeyUniversal) universal = &k;
    }
    if (pin1 && !pin1->enabled && universal && universal->enabled && universal->universalUsed) return kKeyUniversal;
    return kKeyPin1;
}

CodeState UsimApp::codeState(int level) {
    selectAdf();  // PIN2 is the ADF's own key
    const uint8_t key = keyFor(level);
    const Answer answer = send({kClass, kVerify, 0, key}, "VERIFY");
    if (triesLeft(answer.sw)) return CodeState{true, true, answer.sw & 0x0F};
    if (answer.sw == 0x9000) return CodeState{false, true, -1};  // verified already, or disabled: no count given
    if (answer.sw == 0x6983) return CodeState{true, true, 0};
    if (answer.sw == 0x6A88 || answer.sw == 0x6984) return CodeState{true, false, 0};
    throw cardError("VERIFY " + hex({key}) + " without a PIN (asking for the tries left) failed: " + describe(answer.sw));
}

bool UsimApp::verify(int level, std::string& pin) {
    const uint8_t key = keyFor(level);
    Bytes command = verifyCommand(kClass, key, pin);
    const WipeOnExit wiping{command};
    selectAdf();
    const Answer answer = send(command, "VERIFY");
    if (answer.sw == 0x9000) return true;
    if (triesLeft(answer.sw)) return false;
    throw cardError("VERIFY " + hex({key}) + " failed: " + describe(answer.sw));
}

bool UsimApp::verifyOnKeypad(int level) {
    const uint8_t key = keyFor(level);
    selectAdf();
    const Bytes response = transport_.verifyOnKeypad({kClass, kVerify, 0, key, 8});
    if (response.size() < 2) throw malformedAnswer("the reader's PIN entry gave no status word");
    const uint16_t sw = uint16_t(response[response.size() - 2] << 8 | response.back());
    if (sw == 0x9000) return true;
    if (triesLeft(sw)) return false;
    throw cardError("VERIFY " + hex({key}) + " on the keypad failed: " + describe(sw));
}

}  // namespace kxsim::card
