// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim network --ini FILE --section NAME [--keys "1;2;"] [--max N] [--title TEXT]
// [--help-id N]: the network list dialog, made from SelectNetwork's description.


#include "above_program.h"
#include "command.h"
#include "member_command.h"

namespace kxsim::tool {
namespace {

// samples/networks.ini of the source tree (build/bin/kxsim in a checkout) or
// the installed copy, else relative to the working folder.
QString sampleIni() {
    const QString found =
        findAboveProgram({QStringLiteral("samples/networks.ini"), QStringLiteral("share/kxsimlib/samples/networks.ini")});
    return found.isEmpty() ? QStringLiteral("samples/networks.ini") : found;
}

const MemberDescription& kMember = describedMember(u"SelectNetwork");

QString prepareNetworkArguments(const Inputs& inputs, Arguments& args, std::shared_ptr<void>&) {
    // The member shows an empty list then; a script should hear why.
    const QString ini = value(inputs, QStringLiteral("ini"));
    if (const std::u16string why = tooling::whyNoProfileFile(ini.toStdU16String()); !why.empty())
        printErr(QStringLiteral("kxsim: no INI file at %1 (it %2); the list of networks stays empty\n")
                     .arg(ini, QString::fromStdU16String(why)));
    // The member sets the language file itself: hand on the one in force.
    args.back() = appliedLanguage().toStdU16String();
    return {};
}

const ToolRegistration networkToolRegistration{memberTool(MemberCommand{
    .command = QStringLiteral("network"),
    .member = kMember.name,
    .options = {{.param = u"Section", .value = QStringLiteral("NAME"), .required = true},
                {.param = u"Max", .fallback = QStringLiteral("8")},
                {.param = u"InitFile", .option = QStringLiteral("ini"), .required = true, .sample = sampleIni()},
                {.param = u"Caption", .option = kTitleOption, .fallback = QStringLiteral("Preferred Networks")},
                {.param = u"Icon", .hidden = true},
                {.param = u"HelpId", .option = QStringLiteral("help-id"),
                 .fallback = QString::number(kMember.helpContext)},
                {.param = u"Language", .hidden = true}},
    .prepare = prepareNetworkArguments,
    .note = QStringLiteral("A missing INI file is said on stderr and the list stays empty."),
})};

}  // namespace
}  // namespace kxsim::tool
