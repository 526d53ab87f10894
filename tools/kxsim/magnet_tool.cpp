// kxsim magnet: the magnetic stripe options dialog.

#include "dialog_tool.h"
#include "json_line.h"
#include "kxsimlib/cdialogs.h"

namespace kxsim::tool {
namespace {

Outcome callMagnet(const Inputs&) {
    std::u16string ids;
    const Status status = CDialogs().MagnetOptions(ids);
    return outcome(status, JsonLine().add(QStringLiteral("result"), ids));
}

const ToolRegistration registration{DialogTool{
    QStringLiteral("magnet"),
    QStringLiteral("WMagnet"),
    QStringLiteral("Magnetic stripe options (MagnetOptions)"),
    {},
    callMagnet,
    {},
    QStringLiteral("Button(1)"),
    QStringLiteral("The magnetic stripe options dialog. Prints {\"result\": \"IDS\"}, the three track "
                   "identifier characters.")}};

}  // namespace
}  // namespace kxsim::tool
