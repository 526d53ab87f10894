// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The subcommands of kxsim that are not dialog calls (profile, screenshot, ...).
// What a command registers (usage, options, description) is all that --help,
// the manual page and the bash completion know of it.

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <vector>

#include "kxsimlib/status.h"
#include "text_output.h"

namespace kxsim::tool {

/// An option of a command, for --help, the manual page and the completion.
struct Option {
    QString name;          ///< "--size"
    QString value = {};    ///< "N", "FILE", "DIR", "NAME" (reader names), ...; empty: a flag
    QString help = {};     ///< one line
    bool repeated = false;  ///< may be given more than once
};

struct Command {
    QString name;
    QString usage;  ///< one line: "profile get FILE SECTION KEY [--default TEXT] [--size N]"
    std::function<int(const QStringList& args)> run;  ///< args after the name
    QString description = {};  ///< a paragraph for --help and the manual page
    /// When not empty, kxsim refuses any other option before \a run is called.
    std::vector<Option> options = {};
    QStringList words = {};  ///< first arguments the completion offers ("get", "keys", ...)
};

std::vector<Command>& commands();

struct CommandRegistration {
    explicit CommandRegistration(Command command);
};

/// A mistake on the command line: main prints it on one line and exits with 2.
struct UsageError : std::runtime_error {
    explicit UsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

/// A failed library call outside a dialog (no platform can start): main
/// prints it as it prints a failed dialog call and exits with 3.
struct CallFailure : std::runtime_error {
    explicit CallFailure(const kxsim::Status& status);
    kxsim::Status status;
};

/// Makes sure a QApplication exists, choosing the offscreen platform when
/// there is no display (for commands that only render); throws CallFailure
/// when the platform cannot start.
void ensureRenderingApplication();

/// Starts the QApplication the library would; throws CallFailure when it cannot.
void startApplication();

}  // namespace kxsim::tool
