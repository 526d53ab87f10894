// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim screenshot DIR [--dark]: one PNG per dialog, named after its form, and
// one per further state (FORM_STATE.png); --dark shows them in a dark palette.

#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QTimer>

#include "command.h"
#include "dialog_tool.h"
#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

// Shows a dialog through \a show, saves its window as \a file once it is up,
// then closes it with its close box.
bool capture(const QString& file, const std::function<void()>& show) {
    bool saved = false;
    auto guard = tooling::observeDisplayedDialogs([&](QDialog& window) {
        QTimer::singleShot(0, &window, [&window, &file, &saved] {
            saved = window.grab().save(file, "PNG");
            window.close();
        });
    });
    show();
    return saved;
}

int screenshot(const QStringList& args) {
    QStringList rest = args;
    const bool dark = rest.removeAll(QStringLiteral("--dark")) > 0;
    if (rest.size() != 1) throw UsageError(QStringLiteral("screenshot needs one folder"));
    ensureRenderingApplication();
    if (dark) tooling::useDarkPalette();
    QDir dir(rest[0]);
    if (!dir.mkpath(QStringLiteral(".")))
        throw UsageError(QStringLiteral("cannot create folder %1").arg(rest[0]));
    int failures = 0;
    for (const DialogTool& tool : dialogTools()) {
        const QString file = dir.filePath(tool.form + QStringLiteral(".png"));
        const Inputs inputs = sampleInputs(tool);
        const bool ok = capture(file, [&] { tool.call(inputs); });
        printOut((ok ? QStringLiteral("wrote ") : QStringLiteral("FAILED ")) + printable(file) + QLatin1Char('\n'));
        failures += ok ? 0 : 1;
        for (const auto& [suffix, show] : tool.extraShots) {
            const QString extra = dir.filePath(tool.form + suffix + QStringLiteral(".png"));
            const bool extraOk = capture(extra, show);
            printOut((extraOk ? QStringLiteral("wrote ") : QStringLiteral("FAILED ")) + printable(extra) + QLatin1Char('\n'));
            failures += extraOk ? 0 : 1;
        }
    }
    return failures == 0 ? 0 : 1;
}

const CommandRegistration screenshotCommandRegistration{
    Command{QStringLiteral("screenshot"), QStringLiteral("screenshot DIR [--dark]"), screenshot,
            QStringLiteral("Writes a picture of every dialog into DIR, named after its form (WLeser.png), and one "
                           "of each further state named FORM_STATE.png: WConvert_error.png, WCopysim_checked.png, "
                           "WSms_name.png, WAcm_long.png. Without a display it uses the offscreen platform."),
            {{QStringLiteral("--dark"), {}, QStringLiteral("the dialogs in a dark palette")}}}};

}  // namespace
}  // namespace kxsim::tool
