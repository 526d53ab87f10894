// kxsim clone: the clone options dialog.

#include <QAbstractButton>

#include "dialog_tool.h"
#include "json_line.h"
#include "kxsimlib/cdialogs.h"
#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

// The mask alone cannot tell OK with nothing chosen from Cancel, so the tool
// watches the OK button: exit code 0 after OK, 1 after Cancel or the close box.
Outcome callClone(const Inputs&) {
    bool confirmed = false;
    auto guard = tooling::observeDisplayedDialogs([&confirmed](QDialog& window) {
        if (window.objectName() != QStringLiteral("WCopysim")) return;
        if (auto* ok = window.findChild<QAbstractButton*>(QStringLiteral("CBAction(1)")))
            QObject::connect(ok, &QAbstractButton::clicked, ok, [&confirmed] { confirmed = true; });
    });
    CDialogs dialogs;
    int32_t result = 0;
    Outcome out;
    out.status = dialogs.CloneOptions(result);
    out.json = JsonLine().add(QStringLiteral("result"), int64_t{result}).text();
    out.exitCode = confirmed ? 0 : 1;
    return out;
}

const ToolRegistration registration{DialogTool{
    QStringLiteral("clone"),
    QStringLiteral("WCopysim"),
    QStringLiteral("Clone options (CloneOptions)"),
    {},
    callClone}};

}  // namespace
}  // namespace kxsim::tool
