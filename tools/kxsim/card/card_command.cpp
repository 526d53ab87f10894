// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim card status|meter|networks|clone: the card in a PC/SC reader, edited
// in the library's dialogs; JSON on standard output.

#include <QJsonDocument>
#include <QJsonObject>
#include <functional>

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
    QString sub, reader, list, ini, from, to, app, timeout, title;
    bool lastTry = false;
    bool titled = false;
};

CardArgs parse(const QStringList& args) {
    if (args.isEmpty()) throw UsageError(QStringLiteral("card needs status, meter, networks or clone"));
    CardArgs a;
    a.sub = args[0];
    const QMap<QString, QString*> options{{QStringLiteral("--reader"), &a.reader}, {QStringLiteral("--list"), &a.list},
                                          {QStringLiteral("--ini"), &a.ini},       {QStringLiteral("--from"), &a.from},
                                          {QStringLiteral("--to"), &a.to},         {QStringLiteral("--app"), &a.app},
                                          {QStringLiteral("--timeout"), &a.timeout}, {QStringLiteral("--title"), &a.title}};
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == u"--last-try") { a.lastTry = true; continue; }
        QString* target = options.value(args[i]);
        if (!target) throw UsageError(QStringLiteral("unknown option %1 for card %2").arg(args[i], a.sub));
        if (i + 1 >= args.size()) throw UsageError(QStringLiteral("%1 needs a value").arg(args[i]));
        a.titled = a.titled || target == &a.title;
        *target = args[++i];
    }
    if (!a.app.isEmpty() && a.app != u"gsm" && a.app != u"usim") throw UsageError(QStringLiteral("--app is gsm or usim"));
    if (a.sub == u"status" && (!a.timeout.isEmpty() || a.titled))
        throw UsageError(QStringLiteral("card status opens no dialog: --timeout and --title are for meter, networks and clone"));
    return a;
}

AppChoice appChoice(const QString& app) {
    return app == u"gsm" ? AppChoice::Gsm : app == u"usim" ? AppChoice::Usim : AppChoice::Auto;
}

// The task under the shared dialog-command code, which applies --title and
// --timeout to its dialog as every dialog command takes them; \a timedOut
// tells when the time closed it (nothing is written then).
QJsonObject runTask(const CardArgs& a, const QString& form, const std::function<QJsonObject()>& task, bool& timedOut) {
    Inputs inputs;
    if (!a.timeout.isEmpty()) inputs[kTimeoutOption] = QStringList{a.timeout};
    if (a.titled) inputs[kTitleOption] = QStringList{a.title};
    QJsonObject out;
    const DialogTool tool{QStringLiteral("card"), form, QString(), {}, [&](const Inputs&) {
                              out = task();
                              return Outcome{};
                          }};
    timedOut = runDialog(tool, inputs).ending == Ending::TimedOut;
    return out;
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

// The exit code after a dialog task: 5 when --timeout closed its window (nothing was written then).
int finish(const QJsonObject& out, bool timedOut, bool clone) {
    const int code = print(out);
    if (timedOut) return exits::kTimedOut;
    if (clone) return out.value(QStringLiteral("result")).toInt() == 0 ? 1 : 0;
    return code;
}

int runCard(const QStringList& args) {
    const CardArgs a = parse(args);
    try {
        if (a.sub == u"status") return print(cardStatus(chooseReader(a.reader), timing(), appChoice(a.app)));
        TerminalInteraction terminal;
        const ReaderTiming t = timing();
        const SessionOptions options{a.lastTry, t.keypad, appChoice(a.app)};
        if (a.sub == u"clone") {
            if (a.from.isEmpty() || a.to.isEmpty()) throw UsageError(QStringLiteral("card clone needs --from READER --to READER"));
            if (a.from == a.to) throw UsageError(QStringLiteral("card clone needs two different readers"));
            PcscReader from(a.from.toStdString(), t, kCardWaitMs), to(a.to.toStdString(), t, kCardWaitMs);
            CardSession source(from, terminal, options), target(to, terminal, options);
            bool timedOut = false;
            const QJsonObject out = runTask(a, QStringLiteral("WCopysim"), [&] { return cloneCard(source, target); }, timedOut);
            return finish(out, timedOut, true);
        }
        if (a.sub != u"meter" && a.sub != u"networks")
            throw UsageError(QStringLiteral("unknown card command %1 (status, meter, networks, clone)").arg(a.sub));
        if (!a.list.isEmpty() && a.list != u"preferred" && a.list != u"forbidden" && a.list != u"operator")
            throw UsageError(QStringLiteral("--list is preferred, forbidden or operator"));
        PcscReader reader(chooseReader(a.reader), t, kCardWaitMs);
        CardSession card(reader, terminal, options);
        const NetworkList list = a.list == u"forbidden" ? NetworkList::Forbidden
                                 : a.list == u"operator" ? NetworkList::Operator
                                                         : NetworkList::Preferred;
        bool timedOut = false;
        const QJsonObject out =
            a.sub == u"meter"
                ? runTask(a, QStringLiteral("WAcm"), [&] { return editMeter(card); }, timedOut)
                : runTask(a, QStringLiteral("WNetze"), [&] { return editNetworks(card, list, operatorFile(a.ini).toStdU16String()); }, timedOut);
        return finish(out, timedOut, false);
    } catch (const TaskStopped& e) {
        // Something was written: what and what not goes to standard output, the error to standard error.
        print(e.summary);
        printErr(QStringLiteral("kxsim: %1\n").arg(QString::fromStdString(e.what())));
        return exits::kFailed;
    } catch (const CardError& e) {
        printErr(QStringLiteral("kxsim: %1\n").arg(QString::fromStdString(e.what())));
        return exits::kFailed;
    }
}

const CommandRegistration cardCommandRegistration{Command{
    QStringLiteral("card"),
    QStringLiteral("card status [--reader READER] [--app gsm|usim] | "
                   "card meter [--reader READER] [--app gsm|usim] [--last-try] [--timeout SECONDS] [--title TEXT] | "
                   "card networks [--reader READER] [--app gsm|usim] [--list preferred|forbidden|operator] [--ini FILE] "
                   "[--last-try] [--timeout SECONDS] [--title TEXT] | "
                   "card clone --from READER --to READER [--app gsm|usim] [--last-try] [--timeout SECONDS] [--title TEXT]"),
    runCard,
    QStringLiteral("A SIM card in a PC/SC reader (pcscd), edited in the library's dialogs. Two applications are "
                   "understood: the USIM of a UICC (class 00 commands, 3GPP TS 31.102), used wherever the card has "
                   "one, as phones do, and the GSM SIM (class A0, 3GPP TS 51.011) of older cards and of cards without "
                   "a USIM; --app gsm or --app usim chooses on a card that answers both. The reader is the one "
                   "named, else the one the reader setup stored, else the only one the daemon lists; PINs are read "
                   "from the terminal without echo, or from standard input. status prints the reader, whether a "
                   "card is present, its ATR, the application used (and the USIM's AID), the ICCID, and for PIN and "
                   "PIN2 whether they are enabled and the tries left. meter reads EF ACM, ACMmax and PUCT into the "
                   "call meter dialog and after OK writes what changed, printing the texts, \"result\" and "
                   "\"written\" (the files written). networks does the same for a network list: the preferred "
                   "networks (EF PLMNsel on a GSM SIM, EF PLMNwAcT on a USIM, whose kept entries keep their access "
                   "technologies), the forbidden ones (EF FPLMN) or the operator's (EF OPLMNwACT, shown only), "
                   "printing \"keys\". clone asks which files to copy, reads them all and verifies the PINs "
                   "both cards ask for, then copies them record by record, a GSM SIM's files to a USIM's "
                   "counterparts and back, printing \"copied\" and \"skipped\" with the reasons; when a write "
                   "fails it prints what was copied in full, partly and not at all. Exit codes: 0 done (OK), "
                   "1 cancelled, 2 a mistake on the command line (also: no reader, or several and none named), "
                   "3 the card or the call failed (said on standard error), 5 --timeout closed the dialog (nothing "
                   "written)."),
    {{QStringLiteral("--reader"), QStringLiteral("READER"), QStringLiteral("the reader holding the card")},
     {QStringLiteral("--app"), QStringLiteral("gsm|usim"),
      QStringLiteral("the application: the GSM SIM or the USIM (default: the USIM where the card has one)")},
     {QStringLiteral("--list"), QStringLiteral("preferred|forbidden|operator"),
      QStringLiteral("networks: the preferred (EF PLMNsel, EF PLMNwAcT), forbidden (EF FPLMN) or, shown only, "
                     "the operator's list (EF OPLMNwACT); preferred by default")},
     {QStringLiteral("--ini"), QStringLiteral("FILE"),
      QStringLiteral("networks: the operator names (default: the shipped operators.ini)")},
     {QStringLiteral("--from"), QStringLiteral("READER"), QStringLiteral("clone: the reader of the card copied")},
     {QStringLiteral("--to"), QStringLiteral("READER"), QStringLiteral("clone: the reader of the card written")},
     {QStringLiteral("--last-try"), {}, QStringLiteral("verify a PIN even when only one try is left")},
     {QStringLiteral("--timeout"), QStringLiteral("SECONDS"),
      QStringLiteral("close the dialog as its close box would after this time (exit 5, nothing written)")},
     {QStringLiteral("--title"), QStringLiteral("TEXT"), QStringLiteral("the dialog window's caption")}},
    {QStringLiteral("status"), QStringLiteral("meter"), QStringLiteral("networks"), QStringLiteral("clone")}}};

}  // namespace
}  // namespace kxsim::tool
