// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// One entry per CDialogs member: the inputs a host would pass, and the call.
// The command line, the workbench and the screenshots all use these entries.

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "above_program.h"
#include "json_line.h"
#include "kxsimlib/status.h"

namespace kxsim::tool {

/// An input of a dialog call: a command-line option and a workbench field.
struct Field {
    QString option;       ///< "--reader" without the dashes
    QString label;        ///< the workbench's label
    QString sample;       ///< the value the workbench and screenshots start from
    bool repeated = false;  ///< may be given more than once (one per line in the workbench)
    bool positional = false;  ///< taken from the command line without an option
    bool flag = false;        ///< an option without a value ("--pcsc"); given, its input is {"1"}
    bool required = false;    ///< the command refuses to run without it
    QString value = {};       ///< the value's name in the usage: "FILE", "N"; empty: "TEXT"
};

using Inputs = QMap<QString, QStringList>;

/// How the user left a dialog, as far as its command can tell.
enum class Ending { Unknown, Accepted, Cancelled, TimedOut };

/// What a call gave: the member's status, the JSON line of its outputs and how it ended.
struct Outcome {
    Status status;
    QString json;  ///< empty: no line to print
    Ending ending = Ending::Unknown;
    /// Why the dialog could not be shown, in one line (no JSON then); the
    /// command line prints it on stderr.
    QString problem = {};
};

/// A member's outcome; \a outputs is printed even when the call failed.
Outcome outcome(const Status& status, const JsonLine& outputs, Ending ending = Ending::Unknown);
/// A failed call whose outputs mean nothing: no JSON line.
Outcome failure(const Status& status);
/// A dialog that could not be shown at all.
Outcome problem(const QString& why);

/// kxsim's exit codes for every dialog command, decided in exitCode alone.
namespace exits {
inline constexpr int kConfirmed = 0;
inline constexpr int kCancelled = 1;  ///< Cancel or the close box
inline constexpr int kUsage = 2;      ///< a mistake on the command line
inline constexpr int kFailed = 3;     ///< the call failed; nothing on standard output
inline constexpr int kTimedOut = 5;   ///< --timeout closed the dialog
}  // namespace exits

/// kxsim's exit code after \a out. Every dialog command's code is decided here.
int exitCode(const Outcome& out);
/// Prints \a out as the command line does (JSON on stdout, a failure on
/// stderr and nothing on stdout) and returns its exit code.
int report(const Outcome& out);

struct DialogTool {
    QString command;   ///< "reader"
    QString form;      ///< "WLeser", also the screenshot's file name
    QString title;     ///< the workbench's button
    std::vector<Field> fields;
    std::function<Outcome(const Inputs&)> call;
    /// Extra screenshots after the first: each sets up and shows another state.
    std::vector<std::pair<QString, std::function<void()>>> extraShots = {};
    /// The button that confirms (objectName); the last button pressed before
    /// the window closed tells confirmed from cancelled. Empty: the call's own ending.
    QString okButton = {};
    QString description = {};  ///< for --help and the manual page
};

/// The options every dialog command takes besides its fields.
extern const QString kTimeoutOption;  ///< "timeout": closes the dialog as its close box would
extern const QString kTitleOption;    ///< "title": the window's caption

/// Calls \a tool as the command line does: applies --title and --timeout and
/// tells the ending from the window (close box, last button, time out).
Outcome runDialog(const DialogTool& tool, const Inputs& inputs);

/// Every registered dialog tool, in registration order.
std::vector<DialogTool>& dialogTools();

/// Registers a tool at start-up: `static const ToolRegistration r{DialogTool{...}};`
struct ToolRegistration {
    explicit ToolRegistration(DialogTool tool);
};

/// The sample inputs of \a tool.
Inputs sampleInputs(const DialogTool& tool);
/// First value of \a option, or \a fallback.
QString value(const Inputs& inputs, const QString& option, const QString& fallback = {});

/// Sets CDialogs.Language when "--language" was given.
void applyLanguage(const QString& file);
/// The file applyLanguage set last; empty before. For members that take the
/// language file as an argument (SelectNetwork).
QString appliedLanguage();

}  // namespace kxsim::tool
