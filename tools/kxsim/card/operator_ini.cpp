// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "operator_ini.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace kxsim::card {

QByteArray operatorIni(const QByteArray& xml, QString& error) {
    static const QRegularExpression digits3(QStringLiteral("^[0-9]{3}$")), digits23(QStringLiteral("^[0-9]{2,3}$"));
    QXmlStreamReader reader(xml);
    QMap<QString, QString> names;  // ordered by key
    QString provider;
    bool sawRoot = false;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        const auto tag = reader.name();
        if (tag == u"serviceproviders") sawRoot = true;
        else if (tag == u"provider") provider.clear();
        else if (tag == u"name" && provider.isEmpty())
            provider = reader.readElementText(QXmlStreamReader::SkipChildElements).simplified();
        else if (tag == u"network-id") {
            const QString mcc = reader.attributes().value(QLatin1String("mcc")).toString();
            const QString mnc = reader.attributes().value(QLatin1String("mnc")).toString();
            if (!digits3.match(mcc).hasMatch() || !digits23.match(mnc).hasMatch() || provider.isEmpty()) continue;
            // The dialog reads keys as numbers (00101 comes back as 101); the
            // card tasks map them back through the card's keys and these.
            names.insert(mcc + mnc, names.value(mcc + mnc, provider));
        }
    }
    if (reader.hasError() || !sawRoot) {
        error = reader.hasError() ? reader.errorString() : QStringLiteral("no <serviceproviders> element");
        return {};
    }
    QByteArray ini = "; Operator names by MCC and MNC, made by \"kxsim networks-ini\" from\n"
                     "; mobile-broadband-provider-info's serviceproviders.xml.\n[Operators]\n";
    for (auto it = names.cbegin(); it != names.cend(); ++it) ini += (it.key() + QLatin1Char('=') + it.value() + QLatin1Char('\n')).toUtf8();
    return ini;
}

std::vector<std::pair<QString, QString>> operatorNames(const QString& path, const QString& section) {
    std::vector<std::pair<QString, QString>> names;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return names;
    bool inside = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) inside = line.mid(1, line.size() - 2).compare(section, Qt::CaseInsensitive) == 0;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inside && eq > 0 && !line.startsWith(QLatin1Char(';'))) names.emplace_back(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return names;
}

}  // namespace kxsim::card
