// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim help NUMBER [--dark]: the library's help window at a topic, on its own.

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTextBrowser>

#include "command.h"
#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

// Ends the program when the help window is closed.
class QuitOnClose : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) QCoreApplication::quit();
        return QObject::eventFilter(watched, event);
    }
};

int help(const QStringList& args) {
    QStringList rest = args;
    QString picture;
    const bool dark = rest.removeAll(QStringLiteral("--dark")) > 0;
    if (const qsizetype at = rest.indexOf(QStringLiteral("--png")); at >= 0) {
        if (at + 1 >= rest.size()) throw UsageError(QStringLiteral("--png needs a file"));
        picture = rest[at + 1];
        rest.remove(at, 2);
    }
    if (rest.size() != 1) throw UsageError(QStringLiteral("help needs one context number"));
    bool ok = false;
    const int contextId = rest[0].toInt(&ok);
    if (!ok) throw UsageError(QStringLiteral("help needs a context number, not %1").arg(rest[0]));
    ensureRenderingApplication();
    if (dark) tooling::useDarkPalette();

    std::u16string problem;
    QWidget* window = tooling::showHelpTopic(contextId, problem);
    if (!window) {
        printErr(QStringLiteral("the help window could not be opened\n"));
        return 1;
    }
    if (!problem.empty()) printErr(QString::fromStdU16String(problem) + QLatin1Char('\n'));
    if (!picture.isEmpty()) {
        if (!window->grab().save(picture, "PNG")) {
            printErr(QStringLiteral("cannot write %1\n").arg(picture));
            return 1;
        }
        return problem.empty() ? 0 : 1;
    }
    if (QGuiApplication::platformName() == u"offscreen") {
        // Nobody could close a window no one sees: report the topic and end.
        if (auto* browser = qobject_cast<QTextBrowser*>(window); browser && problem.empty())
            printOut(printable(browser->source().toString()) + QLatin1Char('\n'));
        return problem.empty() ? 0 : 1;
    }
    QuitOnClose quitter;
    window->installEventFilter(&quitter);
    QObject::connect(window, &QObject::destroyed, qApp, &QCoreApplication::quit);
    return QApplication::exec();
}

const CommandRegistration helpCommandRegistration{Command{
    QStringLiteral("help"), QStringLiteral("help NUMBER [--png FILE] [--dark]"), help,
    QStringLiteral("The help window at the topic with that context number (7105, 7108, 7111, 7120, 8030, 8040, "
                   "8100), from kxhelpd.chm beside the library; runs until it is closed, or writes its picture."),
    {{QStringLiteral("--png"), QStringLiteral("FILE"), QStringLiteral("write the window's picture and end")},
     {QStringLiteral("--dark"), {}, QStringLiteral("the window in a dark palette")}},
    {QStringLiteral("7105"), QStringLiteral("7108"), QStringLiteral("7111"), QStringLiteral("7120"),
     QStringLiteral("8030"), QStringLiteral("8040"), QStringLiteral("8100")}}};

}  // namespace
}  // namespace kxsim::tool
