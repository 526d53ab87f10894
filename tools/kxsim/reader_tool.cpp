// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim reader [--pcsc] [--reader NAME]...: the card reader setup dialog, made
// from Kartenleser's description. With --pcsc the list starts with the readers
// the PC/SC daemon knows.

#include "member_command.h"
#include "pcsc.h"

namespace kxsim::tool {
namespace {

QString addPcscReaders(const Inputs& inputs, Arguments& args, std::shared_ptr<void>&) {
    if (inputs.value(QStringLiteral("pcsc")).isEmpty()) return {};
    const card::ReaderListing listing = card::listReaders();
    if (listing.kind != card::ReaderListing::Kind::Readers) return QString::fromStdString(listing.problem);
    const std::u16string daemon = card::kartenleserList(listing.names);
    auto& readers = std::get<std::u16string>(args[0]);
    // The daemon's names first; the given ones follow after a NUL.
    if (!inputs.contains(QStringLiteral("reader")))
        readers = daemon;
    else if (!daemon.empty())
        readers = daemon + u'\0' + readers;
    return {};
}

const ToolRegistration readerToolRegistration{memberTool(MemberCommand{
    .command = QStringLiteral("reader"),
    .member = u"Kartenleser",
    .options = {{.param = u"Readers", .option = QStringLiteral("reader"), .value = QStringLiteral("READER")}},
    .ownFields = {Field{QStringLiteral("pcsc"), QStringLiteral("Readers of the PC/SC daemon"), QString(), false,
                        false, true}},
    .prepare = addPcscReaders,
    .note = QStringLiteral("--pcsc lists the readers of the PC/SC daemon (pcscd) first, and exits with 2 when it "
                           "knows none."),
})};

}  // namespace
}  // namespace kxsim::tool
