// Cloning files from one card to another, record by record.

#include <QJsonArray>
#include <QString>

#include "card_tasks.h"
#include "kxsimlib/cdialogs.h"
#include "sim_files.h"

namespace kxsim::card {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

std::string shape(const EfInfo& f) {
    if (f.structure == Structure::Transparent) return std::to_string(f.size) + " bytes";
    return std::to_string(f.records()) + " records of " + std::to_string(f.recordLength) + " bytes" +
           (f.structure == Structure::Cyclic ? " (cyclic)" : "");
}

// The file on one card, or why it cannot be used there.
std::optional<EfInfo> find(CardSession& card, const CloneFile& file, std::string& why, const char* which) {
    try {
        return card.sim().selectPath({file.df}, file.ef);
    } catch (const CardError& e) {
        if (e.kind == CardError::Kind::Removed || e.kind == CardError::Kind::Reader) throw;
        why = std::string("on the ") + which + " card: " + e.what();
        return std::nullopt;
    }
}

struct Copied {
    std::string name;
    uint32_t units = 0;  // records, or bytes of a transparent file
};

std::string summary(const std::vector<Copied>& copied) {
    std::string text;
    for (const auto& c : copied) text += (text.empty() ? "" : ", ") + c.name;
    return text.empty() ? "nothing" : text;
}

}  // namespace

QJsonObject cloneCard(CardSession& from, CardSession& to) {
    int32_t mask = 0;
    const Status status = CDialogs().CloneOptions(mask);
    if (!status) throw CardError(CardError::Kind::Refused, QString::fromStdU16String(status.description()).toStdString());
    QJsonArray copiedList, skippedList;
    std::vector<Copied> copied;
    for (const CloneFile& file : cloneFiles()) {
        if (!(uint32_t(mask) & (1u << file.bit))) continue;
        const std::string name = std::string("EF ") + file.name;
        auto skip = [&](const std::string& why) {
            skippedList.append(QJsonObject{{QStringLiteral("file"), q(name)}, {QStringLiteral("reason"), q(why)}});
        };
        std::string why;
        const auto source = find(from, file, why, "source");
        if (!source) { skip(why); continue; }
        const auto target = find(to, file, why, "target");
        if (!target) { skip(why); continue; }
        if (source->structure != target->structure || source->size != target->size ||
            source->recordLength != target->recordLength) {
            skip("the source holds " + shape(*source) + ", the target " + shape(*target));
            continue;
        }
        if (source->read > 2 || target->update > 2) {
            skip(source->read > 2 ? "the source card allows no read of it" : "the target card allows no update of it");
            continue;
        }
        // Read everything first: a failure here leaves the target untouched.
        from.unlock(source->read, name, "read");
        from.sim().selectPath({file.df}, file.ef);
        std::vector<Bytes> records;
        if (source->structure == Structure::Transparent) {
            records.push_back(from.sim().readBinary(0, source->size));
        } else {
            for (uint32_t r = 1; r <= source->records(); ++r)
                records.push_back(from.sim().readRecord(uint8_t(r), source->recordLength));
        }
        to.unlock(target->update, name, "update");
        to.sim().selectPath({file.df}, file.ef);
        uint32_t done = 0;
        try {
            if (source->structure == Structure::Transparent) {
                to.sim().updateBinary(0, records[0]);
                done = source->size;
            } else if (source->structure == Structure::Cyclic) {
                // Each write in previous mode becomes record 1: write the oldest first.
                for (auto r = records.rbegin(); r != records.rend(); ++r, ++done) to.sim().updateCyclic(*r);
            } else {
                for (; done < records.size(); ++done) to.sim().updateRecord(uint8_t(done + 1), records[done]);
            }
        } catch (const CardError& e) {
            const std::string partial = source->structure == Structure::Transparent
                                            ? name + " not written"
                                            : name + " written up to record " + std::to_string(done) + " of " +
                                                  std::to_string(records.size());
            throw CardError(e.kind, std::string(e.what()) + ". Copied in full: " + summary(copied) + "; " + partial +
                                        "; the files after it not copied");
        }
        copied.push_back({name, done});
        copiedList.append(QJsonObject{{QStringLiteral("file"), q(name)},
                                      {source->structure == Structure::Transparent ? QStringLiteral("bytes")
                                                                                    : QStringLiteral("records"),
                                       int(done)}});
    }
    return QJsonObject{{QStringLiteral("result"), mask},
                       {QStringLiteral("copied"), copiedList},
                       {QStringLiteral("skipped"), skippedList}};
}

}  // namespace kxsim::card
