// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// Cloning files from one card to another, record by record: GSM SIM and
// USIM in any pairing, each CloneOptions bit mapped to the file the
// target's application keeps it in.

#include <QJsonArray>
#include <QString>

#include "card_tasks.h"
#include "kxsimlib/cdialogs.h"
#include "sim_files.h"
#include "usim_files.h"

namespace kxsim::card {

namespace {

std::string shape(const EfInfo& f) {
    if (f.structure == Structure::Transparent) return std::to_string(f.size) + " bytes";
    return std::to_string(f.records()) + " records of " + std::to_string(f.recordLength) + " bytes" +
           (f.structure == Structure::Cyclic ? " (cyclic)" : "");
}

// A reason to skip a file, not an error that stops the clone.
struct Skip {
    std::string why;
};

// Where a CloneOptions file lies on one card.
struct Location {
    std::vector<uint16_t> dirs;
    uint16_t ef = 0;
    std::string name;  // "EF ADN"
};

// One card of the clone and what it was asked already (EF UST, the phonebook).
class Side {
public:
    Side(CardSession& card, const char* which) : card_(card), which_(which) {}
    CardSession& card() { return card_; }
    CardApp& sim() { return card_.sim(); }
    bool usim() { return sim().usim(); }
    std::string which() const { return which_; }

    Location locate(const CloneFile& file) {
        if (!usim()) return {{file.df}, file.ef, std::string("EF ") + file.name};
        const UsimCounterpart& c = usimCounterpart(file.bit);
        if (c.where == UsimCounterpart::Where::None) throw Skip{c.name};
        if (c.service && !service(c.service))
            throw Skip{"the USIM on the " + which_ + " card does not offer EF " + c.name + " (service " +
                       std::to_string(c.service) + " in EF UST)"};
        if (c.where == UsimCounterpart::Where::Application) return {{kApplicationDir}, c.id, std::string("EF ") + c.name};
        const auto& [dirs, pbr] = phonebook();
        const std::optional<uint16_t> ef = phonebookFile(pbr, uint8_t(c.id));
        if (!ef) throw Skip{"the phonebook on the " + which_ + " card has no EF " + c.name + " (EF PBR names none)"};
        return {dirs, *ef, std::string("EF ") + c.name};
    }

    // Selects \a at; a file missing there is a reason to skip it, a card gone an error.
    EfInfo find(const Location& at) {
        try {
            return sim().selectPath(at.dirs, at.ef);
        } catch (const CardError& e) {
            if (e.kind == CardError::Kind::Removed || e.kind == CardError::Kind::Reader) throw;
            throw Skip{"on the " + which_ + " card: " + e.what()};
        }
    }

    std::vector<Bytes> readAll(const Location& at, const EfInfo& info) {
        card_.unlock(info.read, at.name, "read");
        sim().selectPath(at.dirs, at.ef);
        std::vector<Bytes> records;
        if (info.structure == Structure::Transparent) {
            records.push_back(sim().readBinary(0, info.size));
        } else {
            for (uint32_t r = 1; r <= info.records(); ++r) records.push_back(sim().readRecord(uint8_t(r), info.recordLength));
        }
        return records;
    }

private:
    bool service(int number) {
        if (!ust_) {
            const EfInfo info = find({{kApplicationDir}, kEfUst, "EF UST"});
            ust_ = readAll({{kApplicationDir}, kEfUst, "EF UST"}, info).front();
        }
        return serviceAvailable(*ust_, number);
    }
    // The local phonebook where EF UST offers it, else the global one under DF TELECOM; EF PBR's first record.
    const std::pair<std::vector<uint16_t>, Bytes>& phonebook() {
        if (phonebook_) return *phonebook_;
        std::vector<std::vector<uint16_t>> places{{kDfTelecom, kDfPhonebook}};
        if (service(service::kLocalPhonebook)) places.insert(places.begin(), {kApplicationDir, kDfPhonebook});
        std::string why;
        for (const auto& dirs : places) {
            try {
                const EfInfo pbr = find({dirs, kEfPbr, "EF PBR"});
                if (pbr.structure != Structure::Linear) continue;
                card_.unlock(pbr.read, "EF PBR", "read");
                sim().selectPath(dirs, kEfPbr);
                phonebook_.emplace(dirs, sim().readRecord(1, pbr.recordLength));
                return *phonebook_;
            } catch (const Skip& s) {
                why = s.why;
            }
        }
        throw Skip{"the USIM on the " + which_ + " card has no phonebook (" + why + ")"};
    }

    CardSession& card_;
    std::string which_;
    std::optional<Bytes> ust_;
    std::optional<std::pair<std::vector<uint16_t>, Bytes>> phonebook_;
};

// A file read and converted, waiting to be written.
struct Planned {
    std::string name;   // as the user sees it: "EF PLMNsel to EF PLMNwAcT"
    Location target;
    EfInfo info;        // the target's
    std::vector<Bytes> content;
    uint32_t written = 0;  // records, or bytes of a transparent file
};

QJsonObject entry(const Planned& p) {
    return QJsonObject{{QStringLiteral("file"), QString::fromStdString(p.name)},
                       {p.info.structure == Structure::Transparent ? QStringLiteral("bytes") : QStringLiteral("records"),
                        int(p.written)}};
}

// Reads and converts one file; throws Skip with the reason it is not copied.
Planned prepare(const CloneFile& file, Side& from, Side& to) {
    const Location source = from.locate(file), target = to.locate(file);
    const EfInfo s = from.find(source), t = to.find(target);
    if (s.invalidated && !s.usableInvalidated) throw Skip{"invalidated on the source card"};
    if (t.invalidated && !t.usableInvalidated) throw Skip{"invalidated on the target card"};
    const Conversion conversion = from.usim() == to.usim() ? Conversion::None : usimCounterpart(file.bit).conversion;
    const bool sameShape = s.structure == t.structure && s.size == t.size && s.recordLength == t.recordLength;
    const bool convertible = conversion == Conversion::Capability ? s.structure == Structure::Linear && t.structure == Structure::Linear
                                                                  : s.structure == Structure::Transparent && t.structure == Structure::Transparent;
    if (conversion == Conversion::None ? !sameShape : !convertible)
        throw Skip{"the source holds " + shape(s) + ", the target " + shape(t)};
    if (s.read > 2 || t.update > 2)
        throw Skip{s.read > 2 ? "the source card allows no read of it" : "the target card allows no update of it"};
    Planned p{source.name == target.name ? source.name : source.name + " to " + target.name, target, t, {}};
    const std::vector<Bytes> records = from.readAll(source, s);
    Bytes targetBefore;
    if (conversion == Conversion::Networks && to.usim()) targetBefore = to.readAll(target, t).front();  // kept entries keep their access technologies
    std::string why;
    auto converted = convertContent(conversion, to.usim(), records, t.size, t.recordLength, targetBefore, why);
    if (!converted) throw Skip{why};
    if (converted->size() != (t.structure == Structure::Transparent ? 1 : t.records()))
        throw Skip{"the source holds " + shape(s) + ", the target " + shape(t)};
    p.content = std::move(*converted);
    return p;
}

void write(Planned& p, CardApp& to) {
    to.selectPath(p.target.dirs, p.target.ef);
    if (p.info.structure == Structure::Transparent) {
        to.updateBinary(0, p.content[0]);
        p.written = p.info.size;
    } else if (p.info.structure == Structure::Cyclic) {
        // Each write in previous mode becomes record 1: write the oldest first.
        for (auto r = p.content.rbegin(); r != p.content.rend(); ++r, ++p.written) to.updateCyclic(*r);
    } else {
        for (; p.written < p.content.size(); ++p.written) to.updateRecord(uint8_t(p.written + 1), p.content[p.written]);
    }
}

}  // namespace

QJsonObject cloneCard(CardSession& from, CardSession& to) {
    int32_t mask = 0;
    const Status status = CDialogs().CloneOptions(mask);
    if (!status) throw CardError(CardError::Kind::Refused, QString::fromStdU16String(status.description()).toStdString());
    Side source(from, "source"), target(to, "target");
    QJsonArray copiedList, skippedList;
    // Everything is read and every PIN verified before the first write, so
    // a refusal or a read failure leaves the target untouched.
    std::vector<Planned> plan;
    for (const CloneFile& file : cloneFiles()) {
        if (!(uint32_t(mask) & (1u << file.bit))) continue;
        try {
            plan.push_back(prepare(file, source, target));
        } catch (const Skip& skip) {
            skippedList.append(QJsonObject{{QStringLiteral("file"), QString::fromStdString(std::string("EF ") + file.name)},
                                           {QStringLiteral("reason"), QString::fromStdString(skip.why)}});
        }
    }
    for (const Planned& p : plan) to.unlock(p.info.update, p.target.name, "update");

    for (size_t i = 0; i < plan.size(); ++i) {
        try {
            write(plan[i], to.sim());
        } catch (const CardError& e) {
            QJsonArray partly, notCopied;
            if (plan[i].written > 0 && plan[i].info.structure != Structure::Transparent) {
                QJsonObject part = entry(plan[i]);
                part[QStringLiteral("of")] = int(plan[i].content.size());
                partly.append(part);
            } else {
                notCopied.append(QString::fromStdString(plan[i].name));
            }
            for (size_t j = i + 1; j < plan.size(); ++j) notCopied.append(QString::fromStdString(plan[j].name));
            const QJsonObject summary{{QStringLiteral("result"), mask},         {QStringLiteral("copied"), copiedList},
                                      {QStringLiteral("partly"), partly},       {QStringLiteral("not_copied"), notCopied},
                                      {QStringLiteral("skipped"), skippedList}, {QStringLiteral("error"), QString::fromStdString(e.what())}};
            std::string names;
            for (const auto& c : copiedList) names += (names.empty() ? "" : ", ") + c.toObject()[QStringLiteral("file")].toString().toStdString();
            throw TaskStopped(CardError(e.kind, std::string(e.what()) + ". Copied in full: " + (names.empty() ? "nothing" : names) +
                                                    "; " + plan[i].name + (partly.isEmpty() ? " not written" :
                                                    " written up to record " + std::to_string(plan[i].written) + " of " +
                                                    std::to_string(plan[i].content.size())) + "; the files after it not copied"),
                              summary);
        }
        copiedList.append(entry(plan[i]));
    }
    return QJsonObject{{QStringLiteral("result"), mask},
                       {QStringLiteral("application"), QString::fromStdString(from.sim().name() + " to " + to.sim().name())},
                       {QStringLiteral("copied"), copiedList},
                       {QStringLiteral("skipped"), skippedList}};
}

}  // namespace kxsim::card
