// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim components: what the registration file lists (and registering).
// kxsim call CLASS.MEMBER [ARG]...: a member called by name, as a scripting host does.

#include <algorithm>
#include <memory>
#include <vector>

#include "command.h"
#include "json_line.h"
#include "kxsimlib/commons.h"
#include "kxsimlib/component.h"
#include "surface/tooling.h"
#include "text_output.h"

namespace kxsim::tool {
namespace {

int components(const QStringList& args) {
    if (args.size() == 1 && (args[0] == u"register" || args[0] == u"unregister")) {
        const bool doRegister = args[0] == u"register";
        const HResult hr = doRegister ? DllRegisterServer() : DllUnregisterServer();
        if (hr != hresult::Ok) {
            printErr(QStringLiteral("kxsim: %1 failed: %2 (0x%3)\n")
                         .arg(args[0], printable(QString::fromStdString(registrationFailure())))
                         .arg(static_cast<uint32_t>(hr), 8, 16, QLatin1Char('0')));
            return 3;
        }
        printOut(QStringLiteral("%1 %2\n").arg(doRegister ? QStringLiteral("wrote") : QStringLiteral("removed"),
                                               printable(QString::fromStdString(registrationFile()))));
        return 0;
    }
    if (!args.isEmpty()) throw UsageError(QStringLiteral("components takes register, unregister or nothing"));
    const auto classes = tooling::registeredClasses();
    if (classes.empty()) {
        printOut(QStringLiteral("nothing registered (%1)\n").arg(printable(QString::fromStdString(registrationFile()))));
        return 0;
    }
    for (const auto& c : classes)
        printOut(QStringLiteral("%1 %2 %3 %4 %5\n")
                     .arg(printable(QString::fromStdU16String(c.name)), printable(QString::fromStdU16String(c.classId)),
                          printable(QString::fromStdU16String(c.interfaceName)),
                          c.creatable ? QStringLiteral("creatable") : QStringLiteral("not-creatable"),
                          printable(QString::fromStdU16String(c.library))));
    return 0;
}

[[noreturn]] void fail(const Status& s) {
    printErr(QStringLiteral("kxsim: %1 (error %2)\n").arg(QString::fromStdU16String(s.description())).arg(s.number()));
    throw 3;
}

// A new object of a creatable class, through its class factory as a host gets it.
std::shared_ptr<IDispatchable> create(const ClassIdentity& cls) {
    void* raw = nullptr;
    if (DllGetClassObject(&cls.classId, &ids::ClassFactoryInterface, &raw) != hresult::Ok || !raw)
        fail(Status::error(errors::CantCreateObject));
    auto* factory = static_cast<IClassFactory*>(raw);
    std::shared_ptr<IDispatchable> object;
    const Status s = factory->CreateInstance(object);
    factory->Release();
    if (!s) fail(s);
    return object;
}

// A CCB, received the only way a host can: Commons.hDC, then Commons.PCB.
std::shared_ptr<IDispatchable> receiveCcb() {
    auto commons = std::dynamic_pointer_cast<Commons>(create(*findClass(u"Commons")));
    int32_t dc = 0;
    std::shared_ptr<CCB> ccb;
    if (Status s = commons->hDC(dc); !s) fail(s);
    if (Status s = commons->PCB(ccb); !s) fail(s);
    return ccb;
}

Variant argument(const QString& text, const ParameterInfo& p, size_t index, const QString& member) {
    const QString what = QStringLiteral("argument %1 (%2) of %3").arg(index + 1).arg(QString::fromStdU16String(std::u16string(p.name)), member);
    bool ok = false;
    switch (p.type) {
    case ParamType::Long: {
        const int value = text.trimmed().toInt(&ok);
        if (!ok) throw UsageError(QStringLiteral("%1 needs a whole number, not \"%2\"").arg(what, text));
        return Variant::fromLong(value);
    }
    case ParamType::Integer: {
        const short value = text.trimmed().toShort(&ok);
        if (!ok) throw UsageError(QStringLiteral("%1 needs a whole number from -32768 to 32767, not \"%2\"").arg(what, text));
        return Variant::fromInteger(value);
    }
    case ParamType::Boolean: {
        const QString t = text.trimmed().toLower();
        if (t == u"true" || t == u"-1") return Variant::fromBoolean(Boolean::True);
        if (t == u"false" || t == u"0") return Variant::fromBoolean(Boolean::False);
        throw UsageError(QStringLiteral("%1 needs true or false, not \"%2\"").arg(what, text));
    }
    case ParamType::Picture:
        return text.isEmpty() ? Variant() : Variant::fromString(text.toStdU16String());
    case ParamType::Object:
        throw UsageError(QStringLiteral("%1 is an object and cannot be given on the command line").arg(what));
    default:
        return Variant::fromString(text.toStdU16String());
    }
}

QString jsonValue(const Variant& v) {
    switch (v.type()) {
    case Variant::Type::Empty: return QStringLiteral("null");
    case Variant::Type::Integer:
    case Variant::Type::Long:
    case Variant::Type::Boolean: return QString::number(v.number());
    case Variant::Type::String: return jsonString(QString::fromStdU16String(v.text()));
    case Variant::Type::Object:
        return v.object() ? QStringLiteral("{\"object\": %1}")
                                .arg(jsonString(QString::fromStdU16String(std::u16string(v.object()->identity().name))))
                          : QStringLiteral("null");
    }
    return QStringLiteral("null");
}

int callByName(const QStringList& args) {
    if (args.isEmpty()) throw UsageError(QStringLiteral("call needs CLASS.MEMBER"));
    const QString target = args[0];
    const qsizetype dot = target.indexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == target.size() - 1) throw UsageError(QStringLiteral("call needs CLASS.MEMBER, not %1").arg(target));
    const ClassIdentity* cls = findClass(target.left(dot).toStdU16String());
    if (!cls) throw UsageError(QStringLiteral("no class %1 (CDialogs, Commons, CCB)").arg(target.left(dot)));
    const QStringList texts = args.mid(1);
    try {
        auto object = cls->creatable ? create(*cls) : receiveCcb();
        DispId id = 0;
        if (Status s = object->GetIDsOfNames(target.mid(dot + 1).toStdU16String(), id); !s) fail(s);

        // The way of invoking: a call or a reading when such a row takes this
        // many arguments, else an assignment; the first row decides otherwise,
        // and Invoke reports the mismatch.
        const MemberInfo* row = nullptr;
        const auto given = static_cast<size_t>(texts.size());
        // The row takes this many arguments, trailing outputs left out.
        auto fits = [&](const MemberInfo& m) {
            if (given > m.params.size()) return false;
            if (given < m.params.size() && (m.kind == MemberKind::PropertyPut || m.kind == MemberKind::PropertyPutRef))
                return false;  // an assignment needs its value
            return std::all_of(m.params.begin() + static_cast<std::ptrdiff_t>(given), m.params.end(),
                               [](const ParameterInfo& p) { return p.byRef; });
        };
        uint16_t flags = dispatch::Method | dispatch::PropertyGet;
        for (const MemberInfo& m : object->members()) {
            if (m.id != id) continue;
            const bool put = m.kind == MemberKind::PropertyPut || m.kind == MemberKind::PropertyPutRef;
            const uint16_t f = m.kind == MemberKind::PropertyPut      ? dispatch::PropertyPut
                               : m.kind == MemberKind::PropertyPutRef ? dispatch::PropertyPutRef
                                                                      : uint16_t(dispatch::Method | dispatch::PropertyGet);
            if (!row || (fits(m) && (!fits(*row) || !put))) {
                row = &m;
                flags = f;
            }
        }
        const QString member = QStringLiteral("%1.%2").arg(QString::fromStdU16String(std::u16string(cls->name)),
                                                           QString::fromStdU16String(std::u16string(row->name)));
        std::vector<Variant> values;
        for (qsizetype i = 0; i < texts.size(); ++i)
            values.push_back(static_cast<size_t>(i) < row->params.size()
                                 ? argument(texts[i], row->params[static_cast<size_t>(i)], static_cast<size_t>(i), member)
                                 : Variant::fromString(texts[i].toStdU16String()));
        // Trailing by-reference arguments may be left out: they are outputs
        // (TempFileName of NewTempFileName) and start empty.
        while (fits(*row) && values.size() < row->params.size() &&
               std::all_of(row->params.begin() + static_cast<std::ptrdiff_t>(values.size()), row->params.end(),
                           [](const ParameterInfo& p) { return p.byRef; }))
            values.emplace_back();
        Variant result;
        if (Status s = object->Invoke(id, flags, values, result); !s) fail(s);

        QString line = QStringLiteral("{");
        auto add = [&](const QString& name, const QString& value) {
            if (line.size() > 1) line += QStringLiteral(", ");
            line += jsonString(name) + QStringLiteral(": ") + value;
        };
        if (row->result != ParamType::None) add(QStringLiteral("result"), jsonValue(result));
        for (size_t i = 0; i < row->params.size(); ++i)
            if (row->params[i].byRef && row->kind != MemberKind::PropertyPut)
                add(QString::fromStdU16String(std::u16string(row->params[i].name)), jsonValue(values[i]));
        printOut(line + QStringLiteral("}\n"));
        return 0;
    } catch (int exitCode) {
        return exitCode;
    }
}

const CommandRegistration componentsRegistration{Command{
    QStringLiteral("components"), QStringLiteral("components [register|unregister]"), components,
    QStringLiteral("Lists the registered classes; register writes the registration file, unregister removes it "
                   "(exit code 3 when that fails)."),
    {},
    {QStringLiteral("register"), QStringLiteral("unregister")}}};
const CommandRegistration callRegistration{Command{
    QStringLiteral("call"), QStringLiteral("call CLASS.MEMBER [ARG]..."), callByName,
    QStringLiteral("Calls a member by name as a scripting host does, e.g. call Commons.NewTempFileName /tmp/ .txt 0; "
                   "prints the result and the by-reference outputs as one JSON object (exit code 3 when the "
                   "call fails)."),
    {},
    {QStringLiteral("CDialogs."), QStringLiteral("Commons."), QStringLiteral("CCB.")}}};

}  // namespace
}  // namespace kxsim::tool
