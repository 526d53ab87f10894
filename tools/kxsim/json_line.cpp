// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "json_line.h"

namespace kxsim::tool {

QString jsonString(const QString& text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

JsonLine& JsonLine::add(const QString& name, const QString& text) {
    members_.emplace_back(name, jsonString(text));
    return *this;
}

JsonLine& JsonLine::add(const QString& name, const std::u16string& text) {
    return add(name, QString::fromStdU16String(text));
}

JsonLine& JsonLine::add(const QString& name, int64_t number) {
    members_.emplace_back(name, QString::number(number));
    return *this;
}

QString JsonLine::text() const {
    QString out = QStringLiteral("{");
    for (size_t i = 0; i < members_.size(); ++i) {
        if (i) out += QStringLiteral(", ");
        out += jsonString(members_[i].first) + QStringLiteral(": ") + members_[i].second;
    }
    return out + QLatin1Char('}');
}

}  // namespace kxsim::tool
