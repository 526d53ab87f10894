// kxsim magnet: the magnetic stripe options dialog.

#include "dialog_tool.h"
#include "json_line.h"
#include "kxsimlib/cdialogs.h"

namespace kxsim::tool {
namespace {

Outcome callMagnet(const Inputs&) {
    CDialogs dialogs;
    std::u16string ids;
    Outcome out;
    out.status = dialogs.MagnetOptions(ids);
    out.json = JsonLine().add(QStringLiteral("result"), ids).text();
    return out;
}

const ToolRegistration registration{DialogTool{
    QStringLiteral("magnet"),
    QStringLiteral("WMagnet"),
    QStringLiteral("Magnetic stripe options (MagnetOptions)"),
    {},
    callMagnet}};

}  // namespace
}  // namespace kxsim::tool
