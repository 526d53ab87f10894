#pragma once
// The GSM SIM commands (class A0, 3GPP TS 51.011 section 9) over a transport:
// SELECT with GET RESPONSE, READ/UPDATE BINARY, READ/UPDATE RECORD, VERIFY CHV.

#include <cstdint>
#include <initializer_list>
#include <string>

#include "transport.h"

namespace kxsim::card {

enum class Structure : uint8_t { Transparent = 0, Linear = 1, Cyclic = 3 };

/// An access condition level: 0 always, 1 CHV1, 2 CHV2, 4 to E administrative, F never.
using Access = uint8_t;
std::string accessName(Access level);  ///< "ALW", "CHV1", "CHV2", "ADM", "NEV", "RFU"

/// What SELECT tells of an elementary file.
struct EfInfo {
    uint16_t id = 0;
    uint32_t size = 0;
    Structure structure = Structure::Transparent;
    uint8_t recordLength = 0;
    Access read = 0, update = 0;
    uint32_t records() const { return recordLength ? size / recordLength : 0; }
};

/// A secret code's status from the MF/DF response: initialised and the
/// number of false presentations remaining.
struct ChvState {
    bool initialised = false;
    int tries = 0;
};

/// What SELECT tells of the MF or a DF.
struct DirInfo {
    uint16_t id = 0;
    bool chv1Enabled = true;
    ChvState chv1, chv2;
};

/// A user-facing text for a status word ("9804: access condition not fulfilled, or a wrong PIN").
std::string statusText(uint16_t sw);

class SimCard {
public:
    explicit SimCard(Transport& transport) : transport_(transport) {}

    DirInfo selectDir(uint16_t id);
    EfInfo selectEf(uint16_t id);
    /// Selects the MF, each DF of \a dirs and then \a ef.
    EfInfo selectPath(std::initializer_list<uint16_t> dirs, uint16_t ef);

    Bytes readBinary(uint32_t offset, uint32_t length);
    void updateBinary(uint32_t offset, const Bytes& data);
    /// READ RECORD in absolute mode (record 1 of a cyclic file is the one updated last).
    Bytes readRecord(uint8_t number, uint8_t length);
    /// UPDATE RECORD in absolute mode (linear fixed files).
    void updateRecord(uint8_t number, const Bytes& data);
    /// UPDATE RECORD in previous mode, the only mode of a cyclic file: the
    /// oldest record takes \a data and becomes record 1.
    void updateCyclic(const Bytes& data);

    /// VERIFY CHV \a chv (1 or 2) with \a pin, which is wiped whatever happens.
    /// True when accepted; false for a wrong PIN; throws CardError for a
    /// blocked or disabled code or any other answer.
    bool verifyChv(int chv, std::string& pin);
    /// The same on the reader's keypad.
    bool verifyChvOnKeypad(int chv);

    /// The last file's name for messages ("EF 6F39").
    const std::string& current() const { return current_; }

private:
    struct Answer {
        Bytes data;
        uint16_t sw = 0;
    };
    Answer send(const Bytes& command, const char* what);
    Bytes expectOk(const Answer& answer, const char* what);
    Bytes selectRaw(uint16_t id);

    Transport& transport_;
    std::string current_;
};

}  // namespace kxsim::card
