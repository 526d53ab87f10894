// kxsim profile get|keys: the library's INI reader on the command line.

#include "command.h"
#include "platform/profile_reader.h"
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

QString fileArgument(const QString& path) {
    if (!platform::isOrdinaryFile(path.toStdU16String()))
        throw UsageError(QStringLiteral("no such file: %1").arg(path));
    return path;
}

int profile(const QStringList& given) {
    QStringList args = given;
    if (args.isEmpty()) throw UsageError(QStringLiteral("profile needs get or keys"));
    const QString verb = args.takeFirst();
    if (verb == u"get") {
        const size_t size = sizeOption(args, 60000);
        QString fallback;
        if (const qsizetype at = args.indexOf(QStringLiteral("--default")); at >= 0) {
            if (at + 1 >= args.size()) throw UsageError(QStringLiteral("--default needs a text"));
            fallback = args[at + 1];
            args.remove(at, 2);
        }
        if (args.size() != 3) throw UsageError(QStringLiteral("profile get needs FILE SECTION KEY"));
        const QString file = fileArgument(args[0]);
        printOut(printable(QString::fromStdU16String(platform::profileString(
                     file.toStdU16String(), args[1].toStdU16String(), args[2].toStdU16String(),
                     fallback.toStdU16String(), size))) +
                 QLatin1Char('\n'));
        return 0;
    }
    if (verb == u"keys") {
        const size_t size = sizeOption(args, 20000);
        if (args.size() != 2) throw UsageError(QStringLiteral("profile keys needs FILE SECTION"));
        const QString file = fileArgument(args[0]);
        for (const auto& name :
             platform::profileKeyNames(file.toStdU16String(), args[1].toStdU16String(), size))
            printOut(printable(QString::fromStdU16String(name)) + QLatin1Char('\n'));
        return 0;
    }
    throw UsageError(QStringLiteral("profile needs get or keys, not %1").arg(verb));
}

const CommandRegistration registration{Command{
    QStringLiteral("profile"),
    QStringLiteral("profile get FILE SECTION KEY [--default TEXT] [--size N] | profile keys FILE SECTION [--size N]"),
    profile}};

}  // namespace
}  // namespace kxsim::tool
