// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim networks-ini [--input FILE] [--output FILE]: the operator INI of the
// network list, made from mobile-broadband-provider-info.

#include <QFile>
#include <QSaveFile>

#include "command.h"
#include "operator_ini.h"

namespace kxsim::tool {
namespace {

int runNetworksIni(const QStringList& args) {
    QString input = QString::fromLatin1(card::kServiceProvidersFile), output;
    for (qsizetype i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) throw UsageError(QStringLiteral("%1 needs a value").arg(args[i]));
        if (args[i] == u"--input") input = args[i + 1];
        else if (args[i] == u"--output") output = args[i + 1];
        else throw UsageError(QStringLiteral("unknown option %1 for networks-ini").arg(args[i]));
    }
    QFile in(input);
    if (!in.open(QIODevice::ReadOnly))
        throw UsageError(QStringLiteral("cannot read %1: %2 (Debian package mobile-broadband-provider-info)")
                             .arg(input, in.errorString()));
    QString error;
    const QByteArray ini = card::operatorIni(in.readAll(), error);
    if (ini.isEmpty()) {
        printErr(QStringLiteral("kxsim: %1 is no service providers file: %2\n").arg(input, error));
        return 3;
    }
    if (output.isEmpty()) {
        printOut(QString::fromUtf8(ini));
        return 0;
    }
    QSaveFile out(output);
    if (!out.open(QIODevice::WriteOnly) || out.write(ini) != ini.size() || !out.commit()) {
        printErr(QStringLiteral("kxsim: cannot write %1: %2\n").arg(output, out.errorString()));
        return 3;
    }
    return 0;
}

const CommandRegistration networksIniCommandRegistration{Command{
    QStringLiteral("networks-ini"), QStringLiteral("networks-ini [--input FILE] [--output FILE]"), runNetworksIni,
    QStringLiteral("The operator INI of the network list ([Operators], MCC and MNC as key, the operator's name as "
                   "value), made from the service providers file of mobile-broadband-provider-info; the shipped "
                   "data/operators.ini is its output. Exit codes: 0 written, 2 a mistake on the command line or "
                   "an unreadable input, 3 the input is no service providers file or the output cannot be written."),
    {{QStringLiteral("--input"), QStringLiteral("FILE"),
      QStringLiteral("the service providers XML file (default: the Debian package's)")},
     {QStringLiteral("--output"), QStringLiteral("FILE"), QStringLiteral("where the INI goes (default: standard output)")}}}};

}  // namespace
}  // namespace kxsim::tool
