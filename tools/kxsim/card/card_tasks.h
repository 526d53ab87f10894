// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// What a user does with a card: look at it, edit its call meter or a network
// list in the library's dialogs and write the result back, clone files to
// another card. The command line and the workbench both run these, on a GSM
// SIM or a USIM alike.

#include <QJsonObject>
#include <string>

#include "card_session.h"
#include "pcsc_reader.h"

namespace kxsim::card {

/// Reader, card present, ATR, the application used (and the USIM's AID),
/// ICCID, PIN and PIN2 enabled and tries left.
QJsonObject cardStatus(const std::string& reader, const ReaderTiming& timing, AppChoice app = AppChoice::Auto);

/// Reads EF ACM, ACMmax and PUCT, opens SelectMeter and, after OK, writes
/// what changed. Result: the dialog's result and texts, and "written".
QJsonObject editMeter(CardSession& card);

/// Which network list: the user's preferred networks (EF PLMNsel, on a USIM
/// EF PLMNwAcT), the forbidden ones (EF FPLMN) or, shown only, the
/// operator's preferred ones (EF OPLMNwACT, a USIM's).
enum class NetworkList { Preferred, Forbidden, Operator };
/// Reads the list, opens SelectNetwork on \a iniFile's section "Operators"
/// and, after OK, writes the list back padded with empty entries (a list
/// with access technologies keeps each kept entry's).
QJsonObject editNetworks(CardSession& card, NetworkList list, const std::u16string& iniFile);

/// A task that stopped after it had written something: the error, and the
/// summary of what was and was not written (the command line prints it).
struct TaskStopped : CardError {
    TaskStopped(const CardError& cause, QJsonObject summary)
        : CardError(cause.kind, cause.what()), summary(std::move(summary)) {}
    QJsonObject summary;
};

/// Opens CloneOptions, reads every chosen file from \a from and verifies
/// what both cards ask for, then copies them to \a to record by record,
/// between a GSM SIM and a USIM in either direction. Result: "copied" and
/// "skipped" with reasons. Throws TaskStopped when a write fails.
QJsonObject cloneCard(CardSession& from, CardSession& to);

/// The operator INI's section.
inline constexpr char16_t kOperatorSection[] = u"Operators";

}  // namespace kxsim::card
