// kxsim reader [--pcsc] [--reader NAME]...: the card reader setup dialog. With
// --pcsc the list starts with the readers the PC/SC daemon knows.

#include "dialog_tool.h"
#include "json_line.h"
#include "kxsimlib/cdialogs.h"
#include "pcsc.h"

namespace kxsim::tool {
namespace {

Outcome callReader(const Inputs& inputs) {
    // The names joined by NUL characters; an empty name stays an empty piece.
    std::u16string readers;
    if (!inputs.value(QStringLiteral("pcsc")).isEmpty()) {
        const card::ReaderListing listing = card::listReaders();
        if (listing.kind != card::ReaderListing::Kind::Readers) return problem(QString::fromStdString(listing.problem));
        readers = card::kartenleserList(listing.names);
    }
    const QStringList names = inputs.value(QStringLiteral("reader"));
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!readers.empty() || i) readers += u'\0';
        readers += names[i].toStdU16String();
    }
    std::u16string chosen;
    const Status status = CDialogs().Kartenleser(readers, chosen);
    return outcome(status, JsonLine().add(QStringLiteral("result"), chosen));
}

const ToolRegistration registration{DialogTool{
    QStringLiteral("reader"),
    QStringLiteral("WLeser"),
    QStringLiteral("Card reader setup (Kartenleser)"),
    {Field{QStringLiteral("pcsc"), QStringLiteral("Readers of the PC/SC daemon"), QString(), false, false, true},
     Field{QStringLiteral("reader"), QStringLiteral("Reader names, one per line"),
           QStringLiteral("Tolvane CardMan 3121 00 00\nTolvane SIM Pocket 01 00\nPC/SC Virtual Reader 02 00"),
           true, false, false, false, QStringLiteral("READER")}},
    callReader,
    {},
    QStringLiteral("BAction(1)"),
    QStringLiteral("The card reader setup dialog, listing the readers given with --reader; --pcsc lists the "
                   "readers of the PC/SC daemon (pcscd) first, and exits with 2 when it knows none. Prints "
                   "{\"result\": \"NAME\"}, the chosen reader.")}};

}  // namespace
}  // namespace kxsim::tool
