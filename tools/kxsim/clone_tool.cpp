// kxsim clone: the clone options dialog.

#include <QAbstractButton>

#include "dialog_tool.h"
#include "json_line.h"
#include "kxsimlib/cdialogs.h"
#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

// The mask alone cannot tell OK with nothing chosen from Cancel; the command
// line tells them by the button pressed (okButton below).
Outcome callClone(const Inputs&) {
    int32_t result = 0;
    const Status status = CDialogs().CloneOptions(result);
    return outcome(status, JsonLine().add(QStringLiteral("result"), int64_t{result}));
}

// The dialog with files checked, so the greyed followers show their tick.
void showChecked() {
    auto guard = tooling::observeDisplayedDialogs([](QDialog& window) {
        if (window.objectName() != QStringLiteral("WCopysim")) return;
        for (const char* name : {"CBFile(1)", "CBFile(2)", "CBFile(5)", "CBFile(14)"})
            if (auto* box = window.findChild<QAbstractButton*>(QLatin1String(name))) box->click();
    });
    callClone({});
}

const ToolRegistration registration{DialogTool{
    QStringLiteral("clone"),
    QStringLiteral("WCopysim"),
    QStringLiteral("Clone options (CloneOptions)"),
    {},
    callClone,
    {{QStringLiteral("_checked"), showChecked}},
    QStringLiteral("CBAction(1)"),
    QStringLiteral("The clone options dialog. Prints {\"result\": N}, N the bit mask of the files to clone "
                   "(0 after Cancel).")}};

}  // namespace
}  // namespace kxsim::tool
