// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialog_tool.h"

#include <QAbstractButton>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <cmath>
#include <memory>

#include "command.h"
#include "kxsimlib/cdialogs.h"
#include "surface/tooling.h"

namespace kxsim::tool {

std::vector<DialogTool>& dialogTools() {
    static std::vector<DialogTool> tools;
    return tools;
}

ToolRegistration::ToolRegistration(DialogTool tool) { dialogTools().push_back(std::move(tool)); }

Inputs sampleInputs(const DialogTool& tool) {
    Inputs inputs;
    for (const Field& f : tool.fields)
        if (!f.sample.isNull())
            inputs[f.option] = f.repeated ? f.sample.split(QLatin1Char('\n')) : QStringList{f.sample};
    return inputs;
}

QString value(const Inputs& inputs, const QString& option, const QString& fallback) {
    const auto it = inputs.find(option);
    return it == inputs.end() || it->isEmpty() ? fallback : it->first();
}

Outcome outcome(const Status& status, const JsonLine& outputs, Ending ending) {
    return Outcome{status, outputs.text(), ending};
}

Outcome failure(const Status& status) { return Outcome{status, QString()}; }

Outcome problem(const QString& why) { return Outcome{Status(), QString(), Ending::Unknown, why}; }

int exitCode(const Outcome& out) {
    if (!out.problem.isEmpty()) return exits::kUsage;
    if (!out.status) return exits::kFailed;
    switch (out.ending) {
    case Ending::TimedOut: return exits::kTimedOut;
    case Ending::Cancelled: return exits::kCancelled;
    default: return exits::kConfirmed;
    }
}

int report(const Outcome& out) {
    if (!out.problem.isEmpty()) {
        printErr(QStringLiteral("kxsim: %1\n").arg(out.problem));
    } else if (!out.status) {
        printErr(QStringLiteral("kxsim: %1 (error %2)\n")
                     .arg(QString::fromStdU16String(out.status.description()))
                     .arg(out.status.number()));
    }
    if (out.problem.isEmpty() && out.status && !out.json.isEmpty()) printOut(out.json + QLatin1Char('\n'));
    return exitCode(out);
}

const QString kTimeoutOption = QStringLiteral("timeout");
const QString kTitleOption = QStringLiteral("title");

namespace {

// What the command line learns of the tool's window while it is shown.
struct Watch {
    QString lastButton;  // objectName of the last button pressed
    bool closeBox = false;
    bool timedOut = false;
};

class CloseWatcher : public QObject {
public:
    CloseWatcher(QObject* window, std::shared_ptr<Watch> watch) : QObject(window), watch_(std::move(watch)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) watch_->closeBox = true;
        return QObject::eventFilter(watched, event);
    }

private:
    std::shared_ptr<Watch> watch_;
};

// Seconds as milliseconds; refuses what is not a positive number of seconds up to a day.
int timeoutMilliseconds(const QString& text) {
    bool ok = false;
    const double seconds = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > 86400)
        throw UsageError(QStringLiteral("--timeout needs seconds above 0, up to 86400, not %1").arg(text));
    return std::max(1, static_cast<int>(std::lround(seconds * 1000)));
}

}  // namespace

Outcome runDialog(const DialogTool& tool, const Inputs& inputs) {
    const int timeout = inputs.contains(kTimeoutOption) ? timeoutMilliseconds(value(inputs, kTimeoutOption)) : 0;
    const bool retitle = inputs.contains(kTitleOption);
    const QString title = value(inputs, kTitleOption);
    auto watch = std::make_shared<Watch>();
    auto guard = tooling::observeDisplayedDialogs([&tool, watch, timeout, retitle, title](QDialog& window) {
        if (window.objectName() != tool.form) return;
        if (retitle) window.setWindowTitle(title);
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
            QObject::connect(button, &QAbstractButton::clicked, &window,
                             [watch, name = button->objectName()] { watch->lastButton = name; });
        window.installEventFilter(new CloseWatcher(&window, watch));
        if (timeout > 0)
            QTimer::singleShot(timeout, &window, [watch, shown = QPointer<QDialog>(&window)] {
                if (!shown || !shown->isVisible()) return;
                watch->timedOut = true;
                shown->close();
            });
    });
    Outcome out = tool.call(inputs);
    if (watch->timedOut)
        out.ending = Ending::TimedOut;
    else if (!tool.okButton.isEmpty())
        out.ending = !watch->closeBox && watch->lastButton == tool.okButton ? Ending::Accepted : Ending::Cancelled;
    return out;
}

namespace {
QString& lastLanguage() {
    static QString file;
    return file;
}
}  // namespace

void applyLanguage(const QString& file) {
    // The library goes on with the design texts; a script should hear why,
    // for a file too large to read as for a missing one.
    if (const std::u16string why = tooling::whyNoProfileFile(file.toStdU16String()); !why.empty())
        printErr(QStringLiteral("kxsim: no language file at %1 (it %2); the dialogs keep their English texts\n")
                     .arg(file, QString::fromStdU16String(why)));
    lastLanguage() = file;
    CDialogs dialogs;
    std::u16string path = file.toStdU16String();
    dialogs.Language(path);
}

QString appliedLanguage() { return lastLanguage(); }

}  // namespace kxsim::tool
