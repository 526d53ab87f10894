// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim lang template [FILE] | lang check FILE: a language file for
// translators to fill in, and what a language file lacks or holds in vain.

#include <QFile>
#include <QSet>
#include <map>

#include "command.h"
#include "language_texts.h"
#include "surface/tooling.h"
#include "text_output.h"

namespace kxsim::tool {
namespace {

constexpr size_t kListBuffer = 60000;

// Sections in the order met; in each, texts grouped by the forms that show
// them, one comment line naming those forms before each group.
QString templateText() {
    std::vector<LanguageText> unusable;
    const auto texts = languageTexts(unusable);
    QString out = QStringLiteral(
        "; Language file of the kxsimlib dialogs, written by kxsim lang template.\n"
        "; Key = the English text as a dialog shows it; write its translation after \"=\".\n"
        "; A comment line names the forms showing the texts below it; a text without a letter\n"
        "; may be left out. Save as UTF-8.\n");
    for (const auto& t : unusable)
        out += QStringLiteral("; %1 also shows \"%2\", which no key can name (it holds \"=\" or a line break)\n")
                   .arg(t.forms.join(QStringLiteral(", ")), printable(t.key));
    QStringList sections;
    for (const auto& t : texts)
        if (!sections.contains(t.section)) sections.append(t.section);
    for (const QString& section : sections) {
        out += QStringLiteral("\n[%1]\n").arg(section);
        std::vector<std::pair<QStringList, QStringList>> groups;  // forms, keys
        for (const auto& t : texts) {
            if (t.section != section) continue;
            auto it = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.first == t.forms; });
            if (it == groups.end()) it = groups.insert(groups.end(), {t.forms, {}});
            it->second.append(t.key);
        }
        for (const auto& [forms, keys] : groups) {
            out += QStringLiteral("; %1\n").arg(forms.join(QStringLiteral(", ")));
            for (const QString& key : keys) out += key + QLatin1Char('=') + key + QLatin1Char('\n');
        }
    }
    return out;
}

int writeTemplate(const QStringList& args) {
    if (args.size() > 1) throw UsageError(QStringLiteral("lang template takes at most one FILE"));
    const QByteArray text = templateText().toUtf8();
    if (args.isEmpty()) {
        printOut(QString::fromUtf8(text));
        return 0;
    }
    QFile file(args[0]);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() || !file.flush())
        throw UsageError(QStringLiteral("cannot write %1: %2").arg(args[0], file.errorString()));
    return 0;
}

QString quoted(const std::u16string& text) { return printable(QString::fromStdU16String(text)); }

int check(const QStringList& args) {
    if (args.size() != 1) throw UsageError(QStringLiteral("lang check needs one FILE"));
    const std::u16string file = args[0].toStdU16String();
    if (const std::u16string why = tooling::whyNoProfileFile(file); !why.empty())
        throw UsageError(QStringLiteral("no language file at %1 (%2)").arg(args[0], QString::fromStdU16String(why)));
    std::vector<LanguageText> unusable;
    const auto texts = languageTexts(unusable);
    int problems = 0;
    const auto report = [&](const QString& line) {
        printOut(line + QLatin1Char('\n'));
        ++problems;
    };
    // A key the reader does not find (or finds without "=") leaves the text in English.
    const std::u16string none(1, u'\x01');
    std::map<std::u16string, QSet<std::u16string>> looked;  // section -> keys, as the reader matches them
    for (const auto& t : texts) {
        const std::u16string section = t.section.toStdU16String(), key = t.key.toStdU16String();
        looked[tooling::profileNameKey(section)].insert(tooling::profileNameKey(key));
        // A text without a letter ("?", "/ 100", the arrow glyphs) reads the same in every language.
        const bool needed = std::any_of(t.key.begin(), t.key.end(), [](QChar c) { return c.isLetter(); });
        if (needed && tooling::profileString(file, section, key, none, 512) == none)
            report(QStringLiteral("missing [%1] %2 (%3)").arg(t.section, printable(t.key), t.forms.join(QStringLiteral(", "))));
    }
    QSet<std::u16string> sectionsSeen;
    for (const auto& section : tooling::profileSectionNames(file, kListBuffer)) {
        if (sectionsSeen.contains(tooling::profileNameKey(section))) {
            report(QStringLiteral("repeated [%1]: the reader reads only its first section of that name").arg(quoted(section)));
            continue;
        }
        sectionsSeen.insert(tooling::profileNameKey(section));
        const auto& keys = looked[tooling::profileNameKey(section)];
        QSet<std::u16string> keysSeen;
        for (const auto& key : tooling::profileKeyNames(file, section, kListBuffer, {})) {
            const std::u16string name = tooling::profileNameKey(key);
            if (keysSeen.contains(name))
                report(QStringLiteral("repeated [%1] %2: only its first line is read").arg(quoted(section), quoted(key)));
            else if (!keys.contains(name))
                report(QStringLiteral("unused [%1] %2: no dialog looks it up").arg(quoted(section), quoted(key)));
            keysSeen.insert(name);
        }
    }
    if (problems == 0) printOut(QStringLiteral("%1: all %2 texts, nothing unused\n").arg(args[0]).arg(texts.size()));
    return problems == 0 ? 0 : 1;
}

int lang(const QStringList& given) {
    QStringList args = given;
    if (args.isEmpty()) throw UsageError(QStringLiteral("lang needs template or check"));
    const QString verb = args.takeFirst();
    if (verb == u"template") return writeTemplate(args);
    if (verb == u"check") return check(args);
    throw UsageError(QStringLiteral("lang needs template or check, not %1").arg(verb));
}

const CommandRegistration langCommandRegistration{Command{
    QStringLiteral("lang"), QStringLiteral("lang template [FILE] | lang check FILE"), lang,
    QStringLiteral("Language files for translators. template writes (to FILE, or standard output) every text "
                   "the dialogs look up, in the sections they use, with the English text as its value and a "
                   "comment line naming the forms that show the texts below it; check lists the texts FILE "
                   "lacks (with their forms), entries no dialog looks up and lines the reader never reads, "
                   "and exits with 0 when there are none, 1 otherwise. Both show every dialog offscreen once."),
    {},
    {QStringLiteral("template"), QStringLiteral("check")}}};

}  // namespace
}  // namespace kxsim::tool
