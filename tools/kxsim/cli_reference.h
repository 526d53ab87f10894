// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// kxsim's reference, built from what the commands register: the --help texts,
// the manual page kxsim.1 and the bash completion come from here alone.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "command.h"

namespace kxsim::tool {

/// A command as --help, the manual page and the completion see it.
struct CommandReference {
    QString name;
    QString synopsis;  ///< without "kxsim ": "network --ini FILE --section NAME [--keys TEXT] ..."
    QString description;
    std::vector<Option> options;
    QStringList words;  ///< first arguments the completion offers
    bool dialog = false;
};

/// Every command: the dialogs first, then the others, in registration order.
std::vector<CommandReference> commandReferences();
std::optional<CommandReference> findCommand(const QString& name);

/// kxsim --help; kxsim COMMAND --help.
QString generalHelp();
QString commandHelp(const CommandReference& command);
/// The manual page kxsim.1 (roff).
QString manualPage();
/// A bash completion script for kxsim.
QString bashCompletion();

}  // namespace kxsim::tool
