// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim convert TEXT: the number converter's four fields on the command line.

#include "command.h"
#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

int convert(const QStringList& args) {
    if (args.size() != 1) throw UsageError(QStringLiteral("convert needs one TEXT"));
    const tooling::ConverterFields fields = tooling::convertNumber(args[0].toStdU16String());
    for (const std::u16string* field : {&fields.hex, &fields.dec, &fields.oct, &fields.bin})
        printOut(printable(QString::fromStdU16String(*field)) + QLatin1Char('\n'));
    return fields.status.ok() ? 0 : 1;
}

const CommandRegistration convertCommandRegistration{Command{
    QStringLiteral("convert"),
    QStringLiteral("convert TEXT"), convert,
    QStringLiteral("The number converter's hexadecimal, decimal, octal and binary field for TEXT, one per line; "
                   "exits with 1 when they show an error.")}};

}  // namespace
}  // namespace kxsim::tool
