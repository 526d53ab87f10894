// kxsim meter [--acm TEXT] [--amv TEXT] [--ccu TEXT] [--ppu TEXT] [--icon FILE]: the call meter dialog.

#include "dialog_tool.h"
#include "json_line.h"
#include "kxsimlib/cdialogs.h"

namespace kxsim::tool {
namespace {

Outcome callMeter(const Inputs& inputs) {
    std::u16string acm = value(inputs, QStringLiteral("acm")).toStdU16String();
    std::u16string amv = value(inputs, QStringLiteral("amv")).toStdU16String();
    std::u16string ccu = value(inputs, QStringLiteral("ccu")).toStdU16String();
    std::u16string ppu = value(inputs, QStringLiteral("ppu")).toStdU16String();
    const QString iconFile = value(inputs, QStringLiteral("icon"));
    Picture icon = iconFile.isEmpty() ? Picture() : Picture::fromFile(iconFile.toStdU16String());
    int32_t result = 0;
    const Status status = CDialogs().SelectMeter(acm, amv, ccu, ppu, icon, result);
    return outcome(status,
                   JsonLine()
                       .add(QStringLiteral("result"), result)
                       .add(QStringLiteral("acm"), acm)
                       .add(QStringLiteral("amv"), amv)
                       .add(QStringLiteral("ccu"), ccu)
                       .add(QStringLiteral("ppu"), ppu));
}

const ToolRegistration registration{DialogTool{
    QStringLiteral("meter"),
    QStringLiteral("WAcm"),
    QStringLiteral("Call meter (SelectMeter)"),
    {Field{QStringLiteral("acm"), QStringLiteral("Units used (Acm)"), QStringLiteral("200")},
     Field{QStringLiteral("amv"), QStringLiteral("Maximum units (Amv)"), QStringLiteral("1000")},
     Field{QStringLiteral("ccu"), QStringLiteral("Currency (Ccu)"), QStringLiteral("EUR")},
     Field{QStringLiteral("ppu"), QStringLiteral("Price per unit, 1/100 (Ppu)"), QStringLiteral("12")},
     Field{QStringLiteral("icon"), QStringLiteral("Icon file"), QString(), false, false, false, false,
           QStringLiteral("FILE")}},
    callMeter,
    // The longest amounts: eight-digit meters at a four-digit price.
    {{QStringLiteral("_long"), [] {
          callMeter({{QStringLiteral("acm"), {QStringLiteral("99999999")}},
                     {QStringLiteral("amv"), {QStringLiteral("1")}},
                     {QStringLiteral("ccu"), {QStringLiteral("EUR")}},
                     {QStringLiteral("ppu"), {QStringLiteral("9999")}}});
      }}},
    QStringLiteral("CBAction(1)"),
    QStringLiteral("The call meter dialog, each option filling its field (empty when left out). Prints "
                   "{\"result\": N, \"acm\": ..., \"amv\": ..., \"ccu\": ..., \"ppu\": ...}: N is 1 after OK, "
                   "2 after Cancel, 0 after the close box; the texts as the dialog hands them back.")}};

}  // namespace
}  // namespace kxsim::tool
