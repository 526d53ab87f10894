// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The offscreen platform warns at every window that it cannot pass size hints
// on; the benchmarks drop that one warning and keep every other message.

#include <QtGlobal>
#include <QString>

namespace kxsim::bench {

inline void quietOffscreenWarnings() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (text == QLatin1String("This plugin does not support propagateSizeHints()")) return;
        if (previous) previous(type, context, text);
    });
}

}  // namespace kxsim::bench
