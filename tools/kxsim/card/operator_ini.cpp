#include "operator_ini.h"

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
            // A key is read as a number: an MCC with a leading zero (001, the
            // test networks) would not come back as itself.
            if (mcc.startsWith(QLatin1Char('0'))) continue;
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

}  // namespace kxsim::card
