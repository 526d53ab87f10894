// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "text_output.h"

#include <unistd.h>

#include <QStringList>
#include <cstdio>

namespace kxsim::tool {
namespace {

bool bidirectionalOverride(char16_t u) { return (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069); }

void write(const QString& text, std::FILE* stream) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

}  // namespace

QString printable(const QString& text, LineBreaks breaks) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n' && breaks == LineBreaks::Kept)
            out += c;
        else if (u < 0x20)
            out += QStringLiteral("\\x%1").arg(static_cast<unsigned>(u), 2, 16, QLatin1Char('0'));
        else if ((u >= 0x7F && u <= 0x9F) || bidirectionalOverride(u))
            out += QStringLiteral("\\u%1").arg(static_cast<unsigned>(u), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

void printOut(const QString& text) { write(printable(text, LineBreaks::Kept), stdout); }

void printErr(const QString& text) {
    const bool ended = text.endsWith(QLatin1Char('\n'));
    write(printable(ended ? text.chopped(1) : text) + (ended ? QStringLiteral("\n") : QString()), stderr);
}

void printValue(const QString& text) {
    static const bool terminal = ::isatty(STDOUT_FILENO) == 1;
    if (!terminal) return write(text + QLatin1Char('\n'), stdout);
    QStringList pieces = text.split(QLatin1Char('\t'));
    for (QString& piece : pieces) piece = printable(piece);
    write(pieces.join(QLatin1Char('\t')) + QLatin1Char('\n'), stdout);
}

}  // namespace kxsim::tool
