// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim profile get|keys|sections: the library's INI reader on the command line.

#include "command.h"
#include "surface/tooling.h"
#include "text_output.h"

namespace kxsim::tool {
namespace {

size_t sizeOption(QStringList& args, size_t fallback) {
    const qsizetype at = args.indexOf(QStringLiteral("--size"));
    if (at < 0) return fallback;
    if (at + 1 >= args.size()) throw UsageError(QStringLiteral("--size needs a number"));
    bool ok = false;
    const qulonglong size = args[at + 1].toULongLong(&ok);
    if (!ok || size > 100'000'000) throw UsageError(QStringLiteral("--size needs a number up to 100000000"));
    args.remove(at, 2);
    return static_cast<size_t>(size);
}

// The reader answers for any path; a note says when it reads no file there.
QString fileArgument(const QString& path) {
    if (const std::u16string why = tooling::whyNoProfileFile(path.toStdU16String()); !why.empty())
        printErr(QStringLiteral("kxsim: %1 %2; the reader gives its default\n").arg(path, QString::fromStdU16String(why)));
    return path;
}

QString textOption(QStringList& args, const QString& name) {
    const qsizetype at = args.indexOf(name);
    if (at < 0) return {};
    if (at + 1 >= args.size()) throw UsageError(QStringLiteral("%1 needs a text").arg(name));
    const QString text = args[at + 1];
    args.remove(at, 2);
    return text;
}

void printNames(const std::vector<std::u16string>& names) {
    for (const auto& name : names) printValue(QString::fromStdU16String(name));
}

int profile(const QStringList& given) {
    QStringList args = given;
    if (args.isEmpty()) throw UsageError(QStringLiteral("profile needs get, keys or sections"));
    const QString verb = args.takeFirst();
    if (verb == u"get") {
        const size_t size = sizeOption(args, 60000);
        const QString fallback = textOption(args, QStringLiteral("--default"));
        if (args.size() != 3) throw UsageError(QStringLiteral("profile get needs FILE SECTION KEY"));
        const QString file = fileArgument(args[0]);
        printValue(QString::fromStdU16String(tooling::profileString(file.toStdU16String(), args[1].toStdU16String(),
                                                                    args[2].toStdU16String(),
                                                                    fallback.toStdU16String(), size)));
        return 0;
    }
    if (verb == u"keys") {
        const size_t size = sizeOption(args, 20000);
        const QString fallback = textOption(args, QStringLiteral("--default"));
        if (args.size() != 2) throw UsageError(QStringLiteral("profile keys needs FILE SECTION"));
        const QString file = fileArgument(args[0]);
        printNames(tooling::profileKeyNames(file.toStdU16String(), args[1].toStdU16String(), size,
                                             fallback.toStdU16String()));
        return 0;
    }
    if (verb == u"sections") {
        const size_t size = sizeOption(args, 20000);
        if (args.size() != 1) throw UsageError(QStringLiteral("profile sections needs FILE"));
        const QString file = fileArgument(args[0]);
        printNames(tooling::profileSectionNames(file.toStdU16String(), size));
        return 0;
    }
    throw UsageError(QStringLiteral("profile needs get, keys or sections, not %1").arg(verb));
}

const CommandRegistration profileCommandRegistration{Command{
    QStringLiteral("profile"),
    QStringLiteral("profile get FILE SECTION KEY [--default TEXT] [--size N] | "
                   "profile keys FILE SECTION [--default TEXT] [--size N] | profile sections FILE [--size N]"),
    profile,
    QStringLiteral("The library's INI reader. get prints the value of KEY, or the default (an empty line without "
                   "--default) when the key, the section or the file is missing, with a note on standard error "
                   "when no ordinary file is there; keys prints the key names of SECTION up to the first empty "
                   "one, or the default when the section is missing; sections prints the section names in file "
                   "order. --size is the reader's buffer in characters (get 60000, keys and sections 20000): a "
                   "longer answer is cut as the Windows reader cuts it. On a terminal control characters other "
                   "than tab show as \\xHH; a pipe or file gets the text exactly, in UTF-8."),
    {{QStringLiteral("--default"), QStringLiteral("TEXT"), QStringLiteral("the answer when nothing is found")},
     {QStringLiteral("--size"), QStringLiteral("N"), QStringLiteral("the reader's buffer in characters")}},
    {QStringLiteral("get"), QStringLiteral("keys"), QStringLiteral("sections")}}};

}  // namespace
}  // namespace kxsim::tool
