#include "card_tasks.h"

#include <QJsonArray>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <QString>

#include "kxsimlib/cdialogs.h"
#include "sim_codings.h"
#include "sim_files.h"
#include "surface/tooling.h"

namespace kxsim::card {

namespace {

CardError refused(const std::string& why) { return CardError(CardError::Kind::Refused, why); }
QString q(const std::string& text) { return QString::fromStdString(text); }

// The dialog's failure (no platform, a form already shown) as a card task's stop.
void check(const Status& status) {
    if (!status) throw CardError(CardError::Kind::Refused, QString::fromStdU16String(status.description()).toStdString());
}

// A whole number from a dialog field: digits only (empty reads as 0), at most \a max.
uint64_t fieldNumber(const std::u16string& text, uint64_t max, const std::string& what) {
    uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') throw refused(what + " \"" + QString::fromStdU16String(text).toStdString() + "\" is not a whole number; nothing was written");
        value = value * 10 + uint64_t(c - u'0');
        if (value > max) throw refused(what + " " + QString::fromStdU16String(text).toStdString() + " is more than the card holds (" + std::to_string(max) + "); nothing was written");
    }
    return value;
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
        for (const auto& n : done_) list.append(q(n));
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

}  // namespace

QJsonObject cardStatus(const std::string& reader, const ReaderTiming& timing) {
    QJsonObject out{{QStringLiteral("reader"), q(reader)}};
    if (!PcscReader::cardPresent(reader)) {
        out[QStringLiteral("present")] = false;
        return out;
    }
    PcscReader transport(reader, timing, 0);
    SimCard sim(transport);
    out[QStringLiteral("present")] = true;
    out[QStringLiteral("atr")] = q(hex(transport.atr()));
    const DirInfo mf = sim.selectDir(kMf);
    const EfInfo iccid = sim.selectEf(kEfIccid);
    out[QStringLiteral("iccid")] = q(iccidDigits(sim.readBinary(0, std::min<uint32_t>(iccid.size, 10))));
    out[QStringLiteral("chv1")] = QJsonObject{{QStringLiteral("enabled"), mf.chv1Enabled},
                                              {QStringLiteral("tries"), mf.chv1.tries}};
    out[QStringLiteral("chv2")] = QJsonObject{{QStringLiteral("enabled"), mf.chv2.initialised},
                                              {QStringLiteral("tries"), mf.chv2.tries}};
    return out;
}

QJsonObject editMeter(CardSession& card) {
    SimCard& sim = card.sim();
    const EfInfo acmInfo = sim.selectPath({kDfGsm}, kEfAcm);
    if (acmInfo.structure != Structure::Cyclic || acmInfo.recordLength != 3)
        throw CardError(CardError::Kind::Answer, "EF ACM is not a cyclic file of 3-byte records, as a GSM SIM has it");
    card.unlock(acmInfo.read, "EF ACM", "read");
    sim.selectPath({kDfGsm}, kEfAcm);
    const uint32_t acm = meterUnits(sim.readRecord(1, 3));

    auto readTransparent = [&](uint16_t ef, uint32_t size, const char* name, EfInfo& info) {
        info = sim.selectPath({kDfGsm}, ef);
        if (info.structure != Structure::Transparent || info.size != size)
            throw CardError(CardError::Kind::Answer, std::string(name) + " is not a transparent file of " +
                                                         std::to_string(size) + " bytes, as a GSM SIM has it");
        card.unlock(info.read, name, "read");
        sim.selectPath({kDfGsm}, ef);
        return sim.readBinary(0, size);
    };
    EfInfo maxInfo, puctInfo;
    const uint32_t acmMax = meterUnits(readTransparent(kEfAcmMax, 3, "EF ACMmax", maxInfo));
    const Price price = decodePrice(readTransparent(kEfPuct, 5, "EF PUCT", puctInfo));

    const std::string currency = currencyText(price.currency);
    const Hundredths hundredths = priceInHundredths(price);
    if (hundredths.value > 9999)
        throw refused("the card's price per unit is " + std::to_string(hundredths.value) + " hundredths of " + currency +
                      ", more than the dialog's four digits hold; nothing was changed");
    if (!hundredths.exact &&
        !card.confirm("The card's price per unit (" + std::to_string(price.eppu) + " x 10^" +
                                std::to_string(price.exponent) + " " + currency +
                                ") is not a whole number of hundredths. Show it rounded to " +
                                std::to_string(hundredths.value) +
                                " hundredths? It is written back only if you change the tariff."))
        throw refused("the price per unit was not rounded; nothing was changed");

    std::u16string acmText = QString::number(acm).toStdU16String();
    std::u16string amvText = QString::number(acmMax).toStdU16String();
    std::u16string ccuText = QString::fromStdString(currency).toStdU16String();
    std::u16string ppuText = QString::number(qulonglong(hundredths.value)).toStdU16String();
    const std::u16string ccuBefore = ccuText, ppuBefore = ppuText;
    Picture icon;
    int32_t result = 0;
    check(CDialogs().SelectMeter(acmText, amvText, ccuText, ppuText, icon, result));
    QJsonObject out{{QStringLiteral("result"), result},
                    {QStringLiteral("acm"), QString::fromStdU16String(acmText)},
                    {QStringLiteral("amv"), QString::fromStdU16String(amvText)},
                    {QStringLiteral("ccu"), QString::fromStdU16String(ccuText)},
                    {QStringLiteral("ppu"), QString::fromStdU16String(ppuText)}};
    if (result != 1) {
        out[QStringLiteral("written")] = QJsonArray();
        return out;
    }

    // Every value is checked before the first write.
    const uint32_t newAcm = uint32_t(fieldNumber(acmText, kMaxMeterUnits, "units used"));
    const uint32_t newMax = uint32_t(fieldNumber(amvText, kMaxMeterUnits, "maximum units"));
    const uint64_t newPpu = fieldNumber(ppuText, 9999, "price per unit");
    std::optional<Bytes> newPrice;
    if (ccuText != ccuBefore || ppuText != ppuBefore) {
        const std::optional<Bytes> currencyBytes =
            ccuText == ccuBefore ? std::optional<Bytes>(price.currency) : card::currencyBytes(ccuText);
        if (!currencyBytes)
            throw refused("the currency \"" + QString::fromStdU16String(ccuText).toStdString() +
                          "\" is not up to three letters, digits or blanks; nothing was written");
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
    if (newAcm != acm) log.write("EF ACM", [&] { sim.selectPath({kDfGsm}, kEfAcm); sim.updateCyclic(meterBytes(newAcm)); });
    if (newMax != acmMax)
        log.write("EF ACMmax", [&] { sim.selectPath({kDfGsm}, kEfAcmMax); sim.updateBinary(0, meterBytes(newMax)); });
    if (newPrice) log.write("EF PUCT", [&] { sim.selectPath({kDfGsm}, kEfPuct); sim.updateBinary(0, *newPrice); });
    out[QStringLiteral("written")] = log.written();
    return out;
}

QJsonObject editNetworks(CardSession& card, NetworkList list, const std::u16string& iniFile) {
    SimCard& sim = card.sim();
    const uint16_t ef = list == NetworkList::Forbidden ? kEfFplmn : kEfPlmnSel;
    const std::string name = list == NetworkList::Forbidden ? "EF FPLMN" : "EF PLMNsel";
    EfInfo info = sim.selectPath({kDfGsm}, ef);
    if (info.structure != Structure::Transparent || info.size == 0 || info.size % 3 != 0)
        throw CardError(CardError::Kind::Answer, name + " is not a transparent file of 3-byte entries, as a GSM SIM has it");
    card.unlock(info.read, name, "read");
    sim.selectPath({kDfGsm}, ef);
    const Bytes content = sim.readBinary(0, info.size);
    std::u16string keys;
    for (size_t i = 0; i < content.size(); i += 3) {
        const std::string key = plmnKey(&content[i]);
        if (!key.empty()) keys += QString::fromStdString(key + ";").toStdU16String();
    }
    const std::u16string before = keys;
    std::u16string section(kOperatorSection), file = iniFile;
    std::u16string caption = list == NetworkList::Forbidden ? u"Forbidden Networks" : u"Preferred Networks";
    std::u16string language;
    int32_t max = int32_t(info.size / 3), help = tooling::findMember(u"SelectNetwork")->helpContext, result = 0;
    Picture icon;
    check(CDialogs().SelectNetwork(section, keys, max, file, caption, icon, help, language, result));
    QJsonObject out{{QStringLiteral("result"), result}, {QStringLiteral("keys"), QString::fromStdU16String(keys)},
                    {QStringLiteral("max"), max}};
    if (result != 1) {
        out[QStringLiteral("written")] = QJsonArray();
        return out;
    }
    // The list as the dialog gives it: tokens up to the first empty one.
    Bytes coded;
    for (const QString& token : QString::fromStdU16String(keys).split(QLatin1Char(';'))) {
        if (token.isEmpty()) break;
        std::string why;
        const auto three = plmnBytes(token.toStdU16String(), why);
        if (!three) throw refused(why + "; nothing was written");
        coded.insert(coded.end(), three->begin(), three->end());
    }
    if (coded.size() > info.size)
        throw refused(std::to_string(coded.size() / 3) + " networks do not fit: " + name + " holds " +
                      std::to_string(info.size / 3) + "; nothing was written");
    coded.resize(info.size, 0xFF);  // empty entries after the list
    if (coded == content) {
        out[QStringLiteral("written")] = QJsonArray();
        return out;
    }
    card.unlock(info.update, name, "update");
    WriteLog log({name});
    log.write(name, [&] { sim.selectPath({kDfGsm}, ef); sim.updateBinary(0, coded); });
    out[QStringLiteral("written")] = log.written();
    return out;
}

}  // namespace kxsim::card
