// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The USIM on a UICC (class 00, ETSI TS 102 221): SELECT returning the FCP
// (P2 04) with 61xx answered by GET RESPONSE and 6Cxx repeated with the
// length the card gives, access rules from the security attributes and
// EF ARR, PINs by key reference with their tries from VERIFY without data.

#include <map>
#include <optional>
#include <tuple>

#include "ef_dir.h"
#include "file_commands.h"
#include "file_control.h"

namespace kxsim::card {

/// Key references: the application's PIN, its PIN2, the universal PIN.
inline constexpr uint8_t kKeyPin1 = 0x01, kKeyPin2 = 0x81, kKeyUniversal = 0x11;

/// The card has no USIM to open: it takes no class 00 commands, or lists none in EF DIR.
struct NoUsim : CardError {
    explicit NoUsim(const std::string& why) : CardError(CardError::Kind::Card, why) {}
};

class UsimApp : public FileCommands {
public:
    /// Selects the MF with class 00, finds the USIM in EF DIR and selects
    /// its ADF by AID. Throws NoUsim when the card takes no class 00
    /// commands or lists no USIM, CardError for any other failure.
    explicit UsimApp(Transport& transport);

    std::string name() const override { return "USIM"; }
    const Bytes& aid() const { return aid_; }
    const std::string& label() const { return label_; }

    EfInfo selectPath(const std::vector<uint16_t>& dirs, uint16_t ef) override;
    CodeState codeState(int level) override;
    bool verify(int level, std::string& pin) override;
    bool verifyOnKeypad(int level) override;

    /// The FCP of the last file selected.
    const FileControl& control() const { return control_; }

protected:
    Answer send(const Bytes& command, const char* what) override;
    std::string describe(uint16_t sw) const override;

private:
    FileControl select(uint16_t id);
    FileControl selectAdf();
    /// Selects the MF (unless the path starts at the application) and the first \a count directories of \a dirs.
    void enter(const std::vector<uint16_t>& dirs, size_t count);
    AccessLevels accessOf(const FileControl& file, const std::vector<uint16_t>& dirs);
    /// The key reference that stands for \a level now: PIN1 or, where the
    /// card uses it in its place, the universal PIN; PIN2.
    uint8_t keyFor(int level) const;

    Bytes aid_;
    std::string label_;
    FileControl control_;
    uint16_t dir_ = 0;  // the directory selected last, for the rules cache
    std::vector<KeyStatus> pins_;  // the ADF's PIN status template
    std::map<std::tuple<uint16_t, uint16_t, uint8_t>, AccessLevels> rules_;  // EF ARR records read so far
};

}  // namespace kxsim::card
