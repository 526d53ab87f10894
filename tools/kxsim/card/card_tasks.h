#pragma once
// What a user does with a card: look at it, edit its call meter or a network
// list in the library's dialogs and write the result back, clone files to
// another card. The command line and the workbench both run these.

#include <QJsonObject>
#include <string>

#include "card_session.h"
#include "pcsc_reader.h"

namespace kxsim::card {

/// Reader, card present, ATR, ICCID, CHV1/CHV2 enabled and tries left.
QJsonObject cardStatus(const std::string& reader, const ReaderTiming& timing);

/// Reads EF ACM, ACMmax and PUCT, opens SelectMeter and, after OK, writes
/// what changed. Result: the dialog's result and texts, and "written".
QJsonObject editMeter(CardSession& card);

/// Which network list of DF GSM.
enum class NetworkList { Preferred, Forbidden };
/// Reads EF PLMNsel or EF FPLMN, opens SelectNetwork on \a iniFile's
/// section "Operators" and, after OK, writes the list back padded with empty entries.
QJsonObject editNetworks(CardSession& card, NetworkList list, const std::u16string& iniFile);

/// Opens CloneOptions and copies each chosen file from \a from to \a to,
/// record by record. Result: "copied" and "skipped" with reasons.
QJsonObject cloneCard(CardSession& from, CardSession& to);

/// The operator INI's section.
inline constexpr char16_t kOperatorSection[] = u"Operators";

}  // namespace kxsim::card
