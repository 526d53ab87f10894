#include "text_output.h"

#include <unistd.h>

namespace kxsim::tool {
namespace {

QString escaped(const QString& text, bool keepTab) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && !(keepTab && u == u'\t')) || u == 0x7F)
            out += QStringLiteral("\\x%1").arg(static_cast<unsigned>(u), 2, 16, QLatin1Char('0'));
        else if (u >= 0x80 && u <= 0x9F)
            out += QStringLiteral("\\u%1").arg(static_cast<unsigned>(u), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

}  // namespace

QString printable(const QString& text) { return escaped(text, false); }

QString forStandardOutput(const QString& text) {
    static const bool terminal = ::isatty(STDOUT_FILENO) == 1;
    return terminal ? escaped(text, true) : text;
}

}  // namespace kxsim::tool
