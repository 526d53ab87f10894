// kxsim card status|meter|networks|clone: the card in a PC/SC reader, edited
// in the library's dialogs; JSON on standard output.

#include <QJsonDocument>
#include <QJsonObject>

#include "card_tasks.h"
#include "command.h"
#include "dialog_tool.h"
#include "pcsc.h"
#include "pcsc_reader.h"
#include "surface/tooling.h"
#include "terminal_interaction.h"

namespace kxsim::tool {
namespace {

using namespace kxsim::card;

// How long a command waits for a card to be inserted.
constexpr int kCardWaitMs = 10'000;

struct CardArgs {
    QString sub, reader, list, ini, from, to;
    bool lastTry = false;
};

CardArgs parse(const QStringList& args) {
    if (args.isEmpty()) throw UsageError(QStringLiteral("card needs status, meter, networks or clone"));
    CardArgs a;
    a.sub = args[0];
    const QMap<QString, QString*> options{{QStringLiteral("--reader"), &a.reader}, {QStringLiteral("--list"), &a.list},
                                          {QStringLiteral("--ini"), &a.ini},       {QStringLiteral("--from"), &a.from},
                                          {QStringLiteral("--to"), &a.to}};
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == u"--last-try") { a.lastTry = true; continue; }
        QString* target = options.value(args[i]);
        if (!target) throw UsageError(QStringLiteral("unknown option %1 for card %2").arg(args[i], a.sub));
        if (i + 1 >= args.size()) throw UsageError(QStringLiteral("%1 needs a value").arg(args[i]));
        *target = args[++i];
    }
    return a;
}

// The reader named, else the one the reader setup stored, else the only one there is.
std::string chooseReader(const QString& given) {
    if (!given.isEmpty()) return given.toStdString();
    const tooling::ReaderSetup setup = tooling::readerSetup();
    if (!setup.name.empty()) return QString::fromStdU16String(setup.name).toStdString();
    const ReaderListing listing = listReaders();
    if (listing.kind == ReaderListing::Kind::NoReaders) throw UsageError(QString::fromStdString(listing.problem));
    if (listing.kind != ReaderListing::Kind::Readers) throw CardError(CardError::Kind::Reader, listing.problem);
    if (listing.names.size() == 1) return listing.names.front();
    throw UsageError(QStringLiteral("several readers: name one with --reader NAME, or choose one with kxsim reader --pcsc"));
}

ReaderTiming timing() {
    const tooling::ReaderSetup setup = tooling::readerSetup();
    return ReaderTiming{setup.pollMs, setup.pauseMs, setup.pinpad};
}

QString operatorFile(const QString& given) {
    if (!given.isEmpty()) return given;
    return findAboveProgram({QStringLiteral("data/operators.ini"), QStringLiteral("share/kxsimlib/operators.ini")});
}

int print(const QJsonObject& out) {
    printOut(QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Compact)) + QLatin1Char('\n'));
    return out.contains(QStringLiteral("result")) && out.value(QStringLiteral("result")).toInt() != 1 &&
                   !out.contains(QStringLiteral("copied"))
               ? 1
               : 0;
}

int runCard(const QStringList& args) {
    const CardArgs a = parse(args);
    try {
        if (a.sub == u"status") return print(cardStatus(chooseReader(a.reader), timing()));
        TerminalInteraction terminal;
        const ReaderTiming t = timing();
        const SessionOptions options{a.lastTry, t.keypad};
        if (a.sub == u"clone") {
            if (a.from.isEmpty() || a.to.isEmpty()) throw UsageError(QStringLiteral("card clone needs --from READER --to READER"));
            if (a.from == a.to) throw UsageError(QStringLiteral("card clone needs two different readers"));
            PcscReader from(a.from.toStdString(), t, kCardWaitMs), to(a.to.toStdString(), t, kCardWaitMs);
            CardSession source(from, terminal, options), target(to, terminal, options);
            const QJsonObject out = cloneCard(source, target);
            print(out);
            return out.value(QStringLiteral("result")).toInt() == 0 ? 1 : 0;
        }
        PcscReader reader(chooseReader(a.reader), t, kCardWaitMs);
        CardSession card(reader, terminal, options);
        if (a.sub == u"meter") return print(editMeter(card));
        if (a.sub == u"networks") {
            if (!a.list.isEmpty() && a.list != u"preferred" && a.list != u"forbidden")
                throw UsageError(QStringLiteral("--list is preferred or forbidden"));
            return print(editNetworks(card, a.list == u"forbidden" ? NetworkList::Forbidden : NetworkList::Preferred,
                                      operatorFile(a.ini).toStdU16String()));
        }
        throw UsageError(QStringLiteral("unknown card command %1 (status, meter, networks, clone)").arg(a.sub));
    } catch (const CardError& e) {
        printErr(QStringLiteral("kxsim: %1\n").arg(QString::fromStdString(e.what())));
        return 3;
    }
}

const CommandRegistration registration{Command{
    QStringLiteral("card"),
    QStringLiteral("card status [--reader READER] | card meter [--reader READER] [--last-try] | "
                   "card networks [--reader READER] [--list preferred|forbidden] [--ini FILE] [--last-try] | "
                   "card clone --from READER --to READER [--last-try]"),
    runCard,
    QStringLiteral("A SIM card in a PC/SC reader (pcscd), edited in the library's dialogs. The reader is the one "
                   "named, else the one the reader setup stored, else the only one the daemon lists; PINs are read "
                   "from the terminal without echo, or from standard input. status prints the reader, whether a "
                   "card is present, its ATR and ICCID, and for PIN and PIN2 whether they are enabled and the tries "
                   "left. meter reads EF ACM, ACMmax and PUCT into the call meter dialog and after OK writes what "
                   "changed, printing the texts, \"result\" and \"written\" (the files written). networks "
                   "does the same for the network list (EF PLMNsel, or EF FPLMN with --list forbidden), printing "
                   "\"keys\". clone asks which files to copy and copies them record by record from one card "
                   "to the other, printing \"copied\" and \"skipped\" with the reasons. Exit codes: 0 done "
                   "(OK), 1 cancelled, 2 a mistake on the command line (also: no reader, or several and none "
                   "named), 3 the card or the call failed (said on standard error)."),
    {{QStringLiteral("--reader"), QStringLiteral("READER"), QStringLiteral("the reader holding the card")},
     {QStringLiteral("--list"), QStringLiteral("preferred|forbidden"),
      QStringLiteral("networks: the preferred (EF PLMNsel) or forbidden (EF FPLMN) list; preferred by default")},
     {QStringLiteral("--ini"), QStringLiteral("FILE"),
      QStringLiteral("networks: the operator names (default: the shipped operators.ini)")},
     {QStringLiteral("--from"), QStringLiteral("READER"), QStringLiteral("clone: the reader of the card copied")},
     {QStringLiteral("--to"), QStringLiteral("READER"), QStringLiteral("clone: the reader of the card written")},
     {QStringLiteral("--last-try"), {}, QStringLiteral("verify a PIN even when only one try is left")}},
    {QStringLiteral("status"), QStringLiteral("meter"), QStringLiteral("networks"), QStringLiteral("clone")}}};

}  // namespace
}  // namespace kxsim::tool
