// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// READ/UPDATE BINARY and READ/UPDATE RECORD, the same on a GSM SIM and a
// UICC but for the class byte and the status words.

#include <cstdint>
#include <string>

#include "card_app.h"

namespace kxsim::card {

enum class Structure : uint8_t { Transparent = 0, Linear = 1, Cyclic = 3 };
/// Instruction bytes of the commands a GSM SIM and a UICC both take.
enum Instruction : uint8_t {
    kVerify = 0x20, kSelect = 0xA4, kReadBinary = 0xB0, kReadRecord = 0xB2,
    kGetResponse = 0xC0, kUpdateBinary = 0xD6, kUpdateRecord = 0xDC,
};

/// An access condition level: 0 always, 1 PIN, 2 PIN2, 4 to E administrative, F never.
using Access = uint8_t;
std::string accessName(Access level);  ///< "ALW", "CHV1", "CHV2", "ADM", "NEV", "RFU"

/// What SELECT tells of an elementary file.
struct EfInfo {
    uint16_t id = 0;
    uint32_t size = 0;
    Structure structure = Structure::Transparent;
    uint8_t recordLength = 0;
    Access read = 0, update = 0;
    bool invalidated = false;        ///< marked invalidated (deactivated) by the card
    bool usableInvalidated = false;  ///< and still readable and updatable so
    uint32_t records() const { return recordLength ? size / recordLength : 0; }
};

class FileCommands : public CardApp {
public:
    Bytes readBinary(uint32_t offset, uint32_t length) override;
    void updateBinary(uint32_t offset, const Bytes& data) override;
    Bytes readRecord(uint8_t number, uint8_t length) override;
    void updateRecord(uint8_t number, const Bytes& data) override;
    void updateCyclic(const Bytes& data) override;
    const std::string& current() const override { return current_; }

protected:
    FileCommands(Transport& transport, uint8_t cla) : transport_(transport), cla_(cla) {}
    struct Answer {
        Bytes data;
        uint16_t sw = 0;
    };
    /// Sends \a command and splits off the status word.
    virtual Answer send(const Bytes& command, const char* what);
    /// The status word as a sentence.
    virtual std::string describe(uint16_t sw) const = 0;
    /// The data of an answer that succeeded; throws CardError (Card) with the sentence otherwise.
    Bytes expectOk(const Answer& answer, const char* what);
    /// A file's name for messages: "EF 6F39", "DF 7F20", "MF 3F00".
    static std::string fileName(uint16_t id);

    Transport& transport_;
    const uint8_t cla_;
    std::string current_;
};

std::string hex4(unsigned value);
CardError malformedAnswer(const std::string& what);

}  // namespace kxsim::card
