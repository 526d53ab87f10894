// kxsim clone: the clone options dialog.

#include <QAbstractButton>

#include "dialog_tool.h"
#include "json_line.h"
#include "kxsimlib/cdialogs.h"
#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

// The mask alone cannot tell OK with nothing chosen from Cancel, so the tool
// watches the OK button: accepted after OK, cancelled after Cancel or the close box.
Outcome callClone(const Inputs&) {
    bool confirmed = false;
    auto guard = tooling::observeDisplayedDialogs([&confirmed](QDialog& window) {
        if (window.objectName() != QStringLiteral("WCopysim")) return;
        if (auto* ok = window.findChild<QAbstractButton*>(QStringLiteral("CBAction(1)")))
            QObject::connect(ok, &QAbstractButton::clicked, ok, [&confirmed] { confirmed = true; });
    });
    int32_t result = 0;
    const Status status = CDialogs().CloneOptions(result);
    return outcome(status, JsonLine().add(QStringLiteral("result"), int64_t{result}),
                   confirmed ? Ending::Accepted : Ending::Cancelled);
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
    {{QStringLiteral("_checked"), showChecked}}}};

}  // namespace
}  // namespace kxsim::tool
