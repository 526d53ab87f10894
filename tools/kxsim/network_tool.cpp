// kxsim network --ini FILE --section NAME [--keys "1;2;"] [--max N] [--caption TEXT]
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

std::optional<int32_t> wholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int32_t>(value) : std::nullopt;
}

Outcome callNetwork(const Inputs& inputs) {
    for (const char* required : {"ini", "section"})
        if (!inputs.contains(QLatin1String(required)))
            throw UsageError(QStringLiteral("network needs --%1").arg(QLatin1String(required)));

    const std::optional<int32_t> max = wholeNumber(value(inputs, QStringLiteral("max"), QStringLiteral("8")));
    const std::optional<int32_t> helpId =
        wholeNumber(value(inputs, QStringLiteral("help-id"), QString::number(kNetworkHelpId)));
    if (!max || !helpId)
        return failure(Status::error(errors::InvalidCall, max ? u"--help-id needs a whole number"
                                                              : u"--max needs a whole number"));
    std::u16string section = value(inputs, QStringLiteral("section")).toStdU16String();
    std::u16string keys = inputs.value(QStringLiteral("keys")).value(0).toStdU16String();
    int32_t maxSelect = *max;
    std::u16string file = value(inputs, QStringLiteral("ini")).toStdU16String();
    std::u16string caption =
        value(inputs, QStringLiteral("caption"), QStringLiteral("Preferred Networks")).toStdU16String();
    Picture icon;
    int32_t help = *helpId;
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
    {Field{QStringLiteral("ini"), QStringLiteral("INI file"), sampleIni()},
     Field{QStringLiteral("section"), QStringLiteral("Section"), QStringLiteral("Networks")},
     Field{QStringLiteral("keys"), QStringLiteral("Keys (each followed by \";\")"),
           QStringLiteral("26202;26201;23415;20801;99999;")},
     Field{QStringLiteral("max"), QStringLiteral("Most entries"), QStringLiteral("8")},
     Field{QStringLiteral("caption"), QStringLiteral("Caption"), QStringLiteral("Preferred Networks")},
     Field{QStringLiteral("help-id"), QStringLiteral("Help topic"), QString::number(kNetworkHelpId)}},
    callNetwork}};

}  // namespace
}  // namespace kxsim::tool
