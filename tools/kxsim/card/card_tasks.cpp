// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "card_tasks.h"

#include <QJsonArray>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "kxsimlib/cdialogs.h"
#include "operator_ini.h"
#include "plmn_list.h"
#include "sim_codings.h"
#include "sim_files.h"
#include "surface/tooling.h"
#include "usim_app.h"
#include "usim_files.h"

namespace kxsim::card {

namespace {

const std::vector<uint16_t> kApp{kApplicationDir};

std::string s(const std::u16string& text) { return QString::fromStdU16String(text).toStdString(); }

// The dialog's failure (no platform, a form already shown) as a card task's stop.
void check(const Status& status) {
    if (!status) throw CardError(CardError::Kind::Refused, s(status.description()));
}

// A whole number from a dialog field: digits only (empty reads as 0), at most \a max.
uint64_t fieldNumber(const std::u16string& text, uint64_t max, const std::string& what) {
    uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') throw refused(what + " \"" + s(text) + "\" is not a whole number; nothing was written");
        value = value * 10 + uint64_t(c - u'0');
        if (value > max) throw refused(what + " " + s(text) + " is more than the card holds (" + std::to_string(max) + "); nothing was written");
    }
    return value;
}

// A file the card marks invalidated is neither read nor written.
void refuseInvalidated(const EfInfo& info, const std::string& name) {
    if (info.invalidated && !info.usableInvalidated)
        throw refused(name + " is invalidated on the card (its issuer switched it off); nothing was read or written");
}

// A USIM file exists only where EF UST offers its service.
void requireService(CardSession& card, int number, const std::string& what) {
    CardApp& sim = card.sim();
    const EfInfo ust = sim.selectPath(kApp, kEfUst);
    card.unlock(ust.read, "EF UST", "read");
    sim.selectPath(kApp, kEfUst);
    if (!serviceAvailable(sim.readBinary(0, ust.size), number))
        throw refused("the USIM does not offer " + what + " (service " + std::to_string(number) +
                      " in EF UST); nothing was read or written");
}

// Writes run one after another; a stop names what was and was not written.
class WriteLog {
public:
    explicit WriteLog(std::vector<std::string> planned) : pending_(std::move(planned)) {}
    template <class F>
    void write(const std::string& name, F&& action) {
        try {
            action();
        } catch (const CardError& e) {
            std::string message = std::string(e.what()) + ". Written: " + join(done_) + "; not written: " + join(pending_);
            throw CardError(e.kind, message);
        }
        done_.push_back(name);
        pending_.erase(std::find(pending_.begin(), pending_.end(), name));
    }
    QJsonArray written() const {
        QJsonArray list;
        for (const auto& n : done_) list.append(QString::fromStdString(n));
        return list;
    }

private:
    static std::string join(const std::vector<std::string>& names) {
        std::string text;
        for (const auto& n : names) text += (text.empty() ? "" : ", ") + n;
        return text.empty() ? "nothing" : text;
    }
    std::vector<std::string> done_, pending_;
};

QJsonObject pinJson(const CodeState& state) {
    QJsonObject pin{{QStringLiteral("enabled"), state.needed}};
    if (state.tries >= 0) pin[QStringLiteral("tries")] = state.tries;
    return pin;
}

}  // namespace

QJsonObject cardStatus(const std::string& reader, const ReaderTiming& timing, AppChoice app) {
    QJsonObject out{{QStringLiteral("reader"), QString::fromStdString(reader)}};
    if (!PcscReader::cardPresent(reader)) {
        out[QStringLiteral("present")] = false;
        return out;
    }
    PcscReader transport(reader, timing, 0);
    out[QStringLiteral("present")] = true;
    out[QStringLiteral("atr")] = QString::fromStdString(hex(transport.atr()));
    const std::unique_ptr<CardApp> sim = openApplication(transport, app);
    out[QStringLiteral("application")] = QString::fromStdString(sim->name());
    if (auto* usim = dynamic_cast<UsimApp*>(sim.get())) out[QStringLiteral("aid")] = QString::fromStdString(hex(usim->aid()));
    const EfInfo iccid = sim->selectPath({}, kEfIccid);
    out[QStringLiteral("iccid")] = QString::fromStdString(iccidDigits(sim->readBinary(0, std::min<uint32_t>(iccid.size, 10))));
    out[QStringLiteral("chv1")] = pinJson(sim->codeState(1));
    out[QStringLiteral("chv2")] = pinJson(sim->codeState(2));
    return out;
}

QJsonObject editMeter(CardSession& card) {
    CardApp& sim = card.sim();
    if (sim.usim()) requireService(card, service::kAdviceOfCharge, "advice of charge (the call meter)");
    const EfInfo acmInfo = sim.selectPath(kApp, kEfAcm);
    refuseInvalidated(acmInfo, "EF ACM");
    if (acmInfo.structure != Structure::Cyclic || acmInfo.recordLength != 3)
        throw CardError(CardError::Kind::Answer, "EF ACM is not a cyclic file of 3-byte records, as a " + sim.name() + " has it");
    card.unlock(acmInfo.read, "EF ACM", "read");
    sim.selectPath(kApp, kEfAcm);
    const uint32_t acm = meterUnits(sim.readRecord(1, 3));

    auto readTransparent = [&](uint16_t ef, uint32_t size, const char* name, EfInfo& info) {
        info = sim.selectPath(kApp, ef);
        refuseInvalidated(info, name);
        if (info.structure != Structure::Transparent || info.size != size)
            throw CardError(CardError::Kind::Answer, std::string(name) + " is not a transparent file of " +
                                                         std::to_string(size) + " bytes, as a " + sim.name() + " has it");
        card.unlock(info.read, name, "read");
        sim.selectPath(kApp, ef);
        return sim.readBinary(0, size);
    };
    EfInfo maxInfo, puctInfo;
    const uint32_t acmMax = meterUnits(readTransparent(kEfAcmMax, 3, "EF ACMmax", maxInfo));
    const Price price = decodePrice(readTransparent(kEfPuct, 5, "EF PUCT", puctInfo));

    const std::string currency = currencyText(price.currency);
    const Hundredths hundredths = priceInHundredths(price);
    // The dialog's price field holds four digits: a dearer price is left
    // out of it and stays on the card unless the user types a new one.
    const bool priceShown = hundredths.value <= 9999;
    if (priceShown && !hundredths.exact &&
        !card.confirm("The card's price per unit (" + std::to_string(price.eppu) + " x 10^" +
                      std::to_string(price.exponent) + " " + currency +
                      ") is not a whole number of hundredths. Show it rounded to " + std::to_string(hundredths.value) +
                      " hundredths? It is written back only if you change the tariff."))
        throw refused("the price per unit was not rounded; nothing was changed");

    std::u16string acmText = QString::number(acm).toStdU16String();
    std::u16string amvText = QString::number(acmMax).toStdU16String();
    std::u16string ccuText = QString::fromStdString(currency).toStdU16String();
    std::u16string ppuText = priceShown ? QString::number(qulonglong(hundredths.value)).toStdU16String() : u"";
    const std::u16string ccuBefore = ccuText, ppuBefore = ppuText;
    Picture icon;
    int32_t result = 0;
    check(CDialogs().SelectMeter(acmText, amvText, ccuText, ppuText, icon, result));
    QJsonObject out{{QStringLiteral("result"), result},
                    {QStringLiteral("application"), QString::fromStdString(sim.name())},
                    {QStringLiteral("acm"), QString::fromStdU16String(acmText)},
                    {QStringLiteral("amv"), QString::fromStdU16String(amvText)},
                    {QStringLiteral("ccu"), QString::fromStdU16String(ccuText)},
                    {QStringLiteral("ppu"), QString::fromStdU16String(ppuText)}};
    if (!priceShown)
        out[QStringLiteral("note")] = QString::fromStdString("the card's price per unit, " + std::to_string(hundredths.value) +
                                        " hundredths of " + currency + ", is more than the dialog's four digits hold; "
                                        "it was left out of the dialog and stays on the card unless a new one is typed");
    if (result != 1) {
        out[QStringLiteral("written")] = QJsonArray();
        return out;
    }

    // Every value is checked before the first write; an untouched price is never coded again.
    const uint32_t newAcm = uint32_t(fieldNumber(acmText, kMaxMeterUnits, "units used"));
    const uint32_t newMax = uint32_t(fieldNumber(amvText, kMaxMeterUnits, "maximum units"));
    std::optional<Bytes> newPrice;
    if (ccuText != ccuBefore || ppuText != ppuBefore) {
        const std::optional<Bytes> currencyBytes =
            ccuText == ccuBefore ? std::optional<Bytes>(price.currency) : card::currencyBytes(ccuText);
        if (!currencyBytes)
            throw refused("the currency \"" + s(ccuText) + "\" is not up to three letters, digits or blanks; nothing was written");
        if (ppuText.empty() && !priceShown)
            throw refused("a new currency needs the price per unit typed again (the card's " +
                          std::to_string(hundredths.value) + " hundredths do not fit the dialog); nothing was written");
        const uint64_t newPpu = fieldNumber(ppuText, 9999, "price per unit");
        const std::optional<Price> coded = priceOfHundredths(*currencyBytes, newPpu);
        if (!coded)
            throw refused("a price of " + std::to_string(newPpu) + " hundredths cannot be stored on the card exactly "
                          "(EPPU is at most 4095 x 10^EX); nothing was written");
        newPrice = encodePrice(*coded);
    }
    std::vector<std::string> planned;
    if (newAcm != acm) planned.push_back("EF ACM"), CardSession::checkReachable(acmInfo.update, "EF ACM", "update");
    if (newMax != acmMax) planned.push_back("EF ACMmax"), CardSession::checkReachable(maxInfo.update, "EF ACMmax", "update");
    if (newPrice) planned.push_back("EF PUCT"), CardSession::checkReachable(puctInfo.update, "EF PUCT", "update");
    if (newAcm != acm) card.unlock(acmInfo.update, "EF ACM", "update");
    if (newMax != acmMax) card.unlock(maxInfo.update, "EF ACMmax", "update");
    if (newPrice) card.unlock(puctInfo.update, "EF PUCT", "update");

    WriteLog log(planned);
    if (newAcm != acm) log.write("EF ACM", [&] { sim.selectPath(kApp, kEfAcm); sim.updateCyclic(meterBytes(newAcm)); });
    if (newMax != acmMax)
        log.write("EF ACMmax", [&] { sim.selectPath(kApp, kEfAcmMax); sim.updateBinary(0, meterBytes(newMax)); });
    if (newPrice) log.write("EF PUCT", [&] { sim.selectPath(kApp, kEfPuct); sim.updateBinary(0, *newPrice); });
    out[QStringLiteral("written")] = log.written();
    return out;
}

QJsonObject editNetworks(CardSession& card, NetworkList list, const std::u16string& iniFile) {
    CardApp& sim = card.sim();
    const bool usim = sim.usim();
    if (list == NetworkList::Operator && !usim)
        throw refused("a GSM SIM has no operator list; EF OPLMNwACT is a USIM's (give --app usim on a card with both)");
    if (usim && list == NetworkList::Preferred)
        requireService(card, service::kPlmnWact, "the user's preferred networks with access technology");
    if (usim && list == NetworkList::Operator)
        requireService(card, service::kOplmnWact, "the operator's preferred networks with access technology");
    const uint16_t ef = list == NetworkList::Forbidden ? kEfFplmn
                        : list == NetworkList::Operator ? kEfOplmnWact
                        : usim                          ? kEfPlmnWact
                                                        : kEfPlmnSel;
    const std::string name = list == NetworkList::Forbidden ? "EF FPLMN"
                             : list == NetworkList::Operator ? "EF OPLMNwACT"
                             : usim                          ? "EF PLMNwAcT"
                                                             : "EF PLMNsel";
    const size_t entry = ef == kEfPlmnWact || ef == kEfOplmnWact ? 5 : 3;
    EfInfo info = sim.selectPath(kApp, ef);
    refuseInvalidated(info, name);
    if (info.structure != Structure::Transparent || info.size == 0 || info.size % entry != 0)
        throw CardError(CardError::Kind::Answer, name + " is not a transparent file of " + std::to_string(entry) +
                                                     "-byte entries, as a " + sim.name() + " has it");
    card.unlock(info.read, name, "read");
    sim.selectPath(kApp, ef);
    const Bytes content = sim.readBinary(0, info.size);
    const std::vector<PlmnEntry> before = decodePlmnList(content, entry);
    std::u16string keys;
    std::vector<std::string> known;  // the card's keys, then the operator file's: the way back from the dialog's numbers
    for (const PlmnEntry& e : before) keys += QString::fromStdString(e.key + ";").toStdU16String(), known.push_back(e.key);
    for (const auto& [key, label] : operatorNames(QString::fromStdU16String(iniFile), QString::fromStdU16String(kOperatorSection)))
        known.push_back(key.toStdString());
    std::u16string section(kOperatorSection), file = iniFile;
    std::u16string caption = list == NetworkList::Forbidden ? u"Forbidden Networks"
                             : list == NetworkList::Operator ? u"Operator's Networks"
                                                             : u"Preferred Networks";
    std::u16string language;
    int32_t max = int32_t(info.size / entry), help = tooling::findMember(u"SelectNetwork")->helpContext, result = 0;
    Picture icon;
    check(CDialogs().SelectNetwork(section, keys, max, file, caption, icon, help, language, result));
    QJsonObject out{{QStringLiteral("result"), result}, {QStringLiteral("keys"), QString::fromStdU16String(keys)},
                    {QStringLiteral("max"), max}, {QStringLiteral("application"), QString::fromStdString(sim.name())},
                    {QStringLiteral("file"), QString::fromStdString(name)}};
    out[QStringLiteral("written")] = QJsonArray();
    if (result != 1) return out;
    // The list as the dialog gives it: tokens up to the first empty one, each back to the card's key.
    std::vector<std::string> chosen;
    for (const QString& token : QString::fromStdU16String(keys).split(QLatin1Char(';'))) {
        if (token.isEmpty()) break;
        std::string why;
        const auto key = cardKey(token.toStdU16String(), known, why);
        if (!key) throw refused(why + "; nothing was written");
        chosen.push_back(*key);
    }
    QString shown;
    for (const std::string& key : chosen) shown += QString::fromStdString(key) + QLatin1Char(';');
    out[QStringLiteral("keys")] = shown;
    std::string why;
    const std::optional<Bytes> coded = encodePlmnList(chosen, before, entry, info.size, why);
    if (!coded) throw refused(why + " (" + name + "); nothing was written");
    if (*coded == content) return out;
    if (list == NetworkList::Operator) {
        out[QStringLiteral("note")] = QString::fromStdString(name + " is the operator's list, shown only; nothing was written");
        return out;
    }
    card.unlock(info.update, name, "update");
    WriteLog log({name});
    log.write(name, [&] { sim.selectPath(kApp, ef); sim.updateBinary(0, *coded); });
    out[QStringLiteral("written")] = log.written();
    return out;
}

}  // namespace kxsim::card
