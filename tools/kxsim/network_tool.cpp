// kxsim network --ini FILE --section NAME [--keys "1;2;"] [--max N] [--title TEXT]
// [--help-id N]: the network list dialog.

#include <filesystem>
#include <optional>
#include <system_error>

#include "command.h"
#include "dialog_tool.h"
#include "json_line.h"
#include "kxsimlib/cdialogs.h"
#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

// The help topic of the network list in the help file.
constexpr int32_t kNetworkHelpId = help::kNetworkList;

// samples/networks.ini of the source tree (build/bin/kxsim in a checkout),
// else relative to the working folder.
QString sampleIni() {
    const QString found = findAboveProgram({QStringLiteral("samples/networks.ini")});
    return found.isEmpty() ? QStringLiteral("samples/networks.ini") : found;
}

int32_t wholeNumber(const Inputs& inputs, const QString& option, int32_t fallback) {
    if (!inputs.contains(option)) return fallback;
    bool ok = false;
    const int number = value(inputs, option).trimmed().toInt(&ok);
    if (!ok) throw UsageError(QStringLiteral("--%1 needs a whole number, not %2").arg(option, value(inputs, option)));
    return number;
}

Outcome callNetwork(const Inputs& inputs) {
    const int32_t max = wholeNumber(inputs, QStringLiteral("max"), 8);
    const int32_t helpId = wholeNumber(inputs, QStringLiteral("help-id"), kNetworkHelpId);
    // The member shows an empty list then; a script should hear why.
    const QString ini = value(inputs, QStringLiteral("ini"));
    if (std::error_code ec; !std::filesystem::is_regular_file(ini.toStdString(), ec))
        printErr(QStringLiteral("kxsim: no INI file at %1; the list of networks stays empty\n").arg(ini));
    std::u16string section = value(inputs, QStringLiteral("section")).toStdU16String();
    std::u16string keys = inputs.value(QStringLiteral("keys")).value(0).toStdU16String();
    int32_t maxSelect = max;
    std::u16string file = ini.toStdU16String();
    std::u16string caption =
        value(inputs, kTitleOption, QStringLiteral("Preferred Networks")).toStdU16String();
    Picture icon;
    int32_t help = helpId;
    // The member sets the language file itself: hand on the one in force.
    std::u16string language = appliedLanguage().toStdU16String();

    int32_t result = 0;
    const Status status = CDialogs().SelectNetwork(section, keys, maxSelect, file, caption, icon, help, language, result);
    if (!status) return failure(status);
    return outcome(status, JsonLine().add(QStringLiteral("result"), result).add(QStringLiteral("keys"), keys));
}

const ToolRegistration registration{DialogTool{
    QStringLiteral("network"),
    QStringLiteral("WNetze"),
    QStringLiteral("Network list (SelectNetwork)"),
    {Field{QStringLiteral("ini"), QStringLiteral("INI file"), sampleIni(), false, false, false, true,
           QStringLiteral("FILE")},
     Field{QStringLiteral("section"), QStringLiteral("Section"), QStringLiteral("Networks"), false, false, false,
           true, QStringLiteral("NAME")},
     Field{QStringLiteral("keys"), QStringLiteral("Keys (each followed by \";\")"),
           QStringLiteral("26202;26201;23415;20801;99999;")},
     Field{QStringLiteral("max"), QStringLiteral("Most entries"), QStringLiteral("8"), false, false, false, false,
           QStringLiteral("N")},
     Field{kTitleOption, QStringLiteral("Caption"), QStringLiteral("Preferred Networks")},
     Field{QStringLiteral("help-id"), QStringLiteral("Help topic"), QString::number(kNetworkHelpId), false, false,
           false, false, QStringLiteral("N")}},
    callNetwork,
    {},
    QStringLiteral("CBAction(1)"),
    QStringLiteral("The network list dialog: the keys of SECTION in the INI file to choose from, --keys the chosen "
                   "ones (each followed by \";\"), --max the most entries. Prints {\"result\": N, \"keys\": \"...\"}: "
                   "N is 1 after OK with the new key list, 2 otherwise with the keys as given.")}};

}  // namespace
}  // namespace kxsim::tool
