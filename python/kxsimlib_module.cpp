// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The Python module kxsimlib: CDialogs, Commons and CCB for Python card tools.
//
// Members return their declared result, or a tuple of the result and the
// arguments the member writes back (SelectMeter, NewTempFileName). A failed
// Status raises kxsimlib.Error, which carries the run-time error number and
// its description.

#include <pybind11/eval.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "kxsimlib/kxsimlib.h"
#include "surface/tooling.h"

namespace py = pybind11;
using namespace kxsim;

namespace {

// kxsimlib.Error, defined in Python so that scripts may raise and pickle it too.
constexpr const char* kErrorClass = R"py(
class Error(Exception):
    """A failed call of the Kestrix SIM Lib: the run-time error number and its description."""

    def __init__(self, number, description):
        super().__init__(number, description)
        self.number = number
        self.description = description

    def __str__(self):
        return f"{self.description} (error {self.number})"
)py";

py::object& errorClass() {
    static py::object* cls = nullptr;  // owned by the module; kept for its lifetime
    if (!cls) cls = new py::object();
    return *cls;
}

// Raises kxsimlib.Error for a failed Status.
void check(const Status& status) {
    if (status) return;
    py::object error = errorClass()(status.number(), status.description());
    PyErr_SetObject(errorClass().ptr(), error.ptr());
    throw py::error_already_set();
}

// Runs a member without the interpreter lock: a dialog's modal loop may run
// for long, and other Python threads keep going meanwhile.
template <typename Call>
Status unlocked(Call&& call) {
    py::gil_scoped_release release;
    return call();
}

// How often an open dialog asks the interpreter for a signal (Ctrl-C).
constexpr int kSignalPollMs = 100;

// Runs a dialog member as unlocked does. Python's own signal handler only
// notes a signal until the interpreter runs again, so while the dialog is
// open a timer lets the interpreter run the handlers; when one raises
// (KeyboardInterrupt after Ctrl-C), the open dialog is closed as its close
// box would close it and the call raises that exception.
template <typename Call>
Status modal(Call&& call) {
    PyObject *type = nullptr, *value = nullptr, *traceback = nullptr;
    Status status;
    {
        py::gil_scoped_release release;
        std::optional<QTimer> poll;
        if (tooling::startApplication()) {  // else the member reports why
            poll.emplace();
            QObject::connect(&*poll, &QTimer::timeout, [&] {
                py::gil_scoped_acquire gil;
                if (type || PyErr_CheckSignals() == 0) return;
                PyErr_Fetch(&type, &value, &traceback);
                if (QWidget* open = QApplication::activeModalWidget()) open->close();
            });
            poll->start(kSignalPollMs);
        }
        status = call();
    }
    if (type) {
        PyErr_Restore(type, value, traceback);
        throw py::error_already_set();
    }
    return status;
}

// A text of digits, also given as a number: SelectMeter(120, 500, "EUR", 12).
std::u16string digits(const py::object& value, const std::string& name) {
    if (py::isinstance<py::str>(value)) return value.cast<std::u16string>();
    if ((py::isinstance<py::int_>(value) || py::isinstance<py::float_>(value)) && !py::isinstance<py::bool_>(value))
        return py::str(value).cast<std::u16string>();
    throw py::type_error(name + " must be a text or a number");
}

// A list of names: a NUL-separated string, or the names one by one.
std::u16string nameList(const py::object& value, const std::string& name) {
    if (py::isinstance<py::str>(value)) return value.cast<std::u16string>();
    if (py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value)) {
        std::u16string joined;
        bool first = true;
        for (const py::handle item : value) {
            if (!py::isinstance<py::str>(item)) throw py::type_error(name + " must hold texts only");
            if (!first) joined += u'\0';
            joined += item.cast<std::u16string>();
            first = false;
        }
        return joined;
    }
    throw py::type_error(name + " must be a text or a list of texts");
}

// An icon: None, the path of an image file, or encoded image bytes.
Picture picture(const py::object& icon, const std::string& name) {
    if (icon.is_none()) return Picture();
    if (py::isinstance<py::bytes>(icon) || py::isinstance<py::bytearray>(icon)) {
        const auto bytes = py::module_::import("builtins").attr("bytes")(icon).cast<std::string>();
        return Picture::fromBytes(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    if (py::isinstance<py::str>(icon)) return Picture::fromFile(icon.cast<std::u16string>());
    // os.PathLike
    if (py::hasattr(icon, "__fspath__")) return Picture::fromFile(icon.attr("__fspath__")().cast<std::u16string>());
    throw py::type_error(name + " must be None, a path or image bytes");
}

std::string utf8(std::u16string_view text) { return py::str(py::cast(std::u16string(text))).cast<std::string>(); }

// The argument of \a param from a Python value, by the parameter's kind.
tooling::Argument argument(const ParamDescription& param, const py::object& value) {
    const std::string name = utf8(param.name);
    switch (param.kind) {
    case ParamKind::Digits: return digits(value, name);
    case ParamKind::NameList: return nameList(value, name);
    case ParamKind::Picture: return picture(value, name);
    case ParamKind::Number:
        if (!py::isinstance<py::int_>(value) || py::isinstance<py::bool_>(value))
            throw py::type_error(name + " must be a whole number");
        return value.cast<int32_t>();
    default:
        if (!py::isinstance<py::str>(value)) throw py::type_error(name + " must be a text");
        return value.cast<std::u16string>();
    }
}

py::object toPython(const tooling::Argument& value) {
    if (const auto* number = std::get_if<int32_t>(&value)) return py::int_(*number);
    if (const auto* text = std::get_if<std::u16string>(&value)) return py::cast(*text);
    return py::none();
}

// A described member as a Python method: arguments by position or by name (a
// picture may be left out), the result alone or, when the member writes
// parameters back, the tuple (result, those parameters...).
py::object callDescribed(CDialogs& self, const MemberDescription& member, const py::args& args,
                         const py::kwargs& kwargs) {
    const std::string method = utf8(member.name);
    if (args.size() > member.params.size())
        throw py::type_error(method + "() takes " + std::to_string(member.params.size()) + " arguments");
    std::vector<tooling::Argument> values;
    size_t used = 0;
    for (size_t i = 0; i < member.params.size(); ++i) {
        const ParamDescription& p = member.params[i];
        const std::string name = utf8(p.name);
        py::object value;
        if (i < args.size()) {
            value = args[i];
        } else if (kwargs.contains(name.c_str())) {
            value = kwargs[name.c_str()];
            ++used;
        } else if (p.kind == ParamKind::Picture) {
            value = py::none();
        } else {
            throw py::type_error(method + "() missing argument " + name);
        }
        values.push_back(argument(p, value));
    }
    if (used != kwargs.size()) throw py::type_error(method + "() got an unknown keyword argument");
    tooling::Argument result;
    check(modal([&] { return tooling::callMember(self, member, values, result); }));
    py::list written;
    for (size_t i = 0; i < member.params.size(); ++i)
        if (member.params[i].direction != Direction::In) written.append(toPython(values[i]));
    if (written.empty()) return toPython(result);
    py::list all;
    all.append(toPython(result));
    for (const py::handle item : written) all.append(item);
    return py::tuple(all);
}

// The help text of a described member: its line, its parameters and its result.
std::string docOf(const MemberDescription& member) {
    std::string doc = utf8(member.about);
    for (const ParamDescription& p : member.params) doc += "\n" + utf8(p.name) + ": " + utf8(p.about);
    if (!member.result.empty()) doc += "\nReturns " + utf8(member.result) + ".";
    return doc;
}

// A Variant as a Python value: None, int, bool, str or the object it refers to.
py::object toPython(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Empty: return py::none();
    case Variant::Type::Integer:
    case Variant::Type::Long: return py::int_(value.number());
    case Variant::Type::Boolean: return py::bool_(value.boolean() == Boolean::True);
    case Variant::Type::String: return py::cast(value.text());
    case Variant::Type::Object:
        if (auto ccb = std::dynamic_pointer_cast<CCB>(value.object())) return py::cast(ccb);
        if (auto commons = std::dynamic_pointer_cast<Commons>(value.object())) return py::cast(commons);
        return py::none();
    }
    return py::none();
}

// --- kxsimlib._testing: drives the next dialog without a user -------------------

struct CloseRequest {
    QStringList buttons;
    QString form;  // empty: any dialog
    std::vector<std::pair<QString, QString>> texts;
};

// The armed request's observer guard. Never destroyed at exit: the observers
// are thread data that may be gone by then.
std::shared_ptr<void>& armed() {
    static auto* guard = new std::shared_ptr<void>();
    return *guard;
}

// Once the next dialog (of \a form, when given) is displayed: types \a texts
// into its text boxes and clicks \a buttons in order; a button it lacks closes
// the window with its close box instead, so the call cannot hang.
void closeNextDialog(const std::variant<std::string, std::vector<std::string>>& buttons,
                     const std::map<std::string, std::u16string>& texts, const std::string& form) {
    CloseRequest request{{}, QString::fromStdString(form), {}};
    if (const auto* one = std::get_if<std::string>(&buttons))
        request.buttons << QString::fromStdString(*one);
    else
        for (const std::string& name : std::get<std::vector<std::string>>(buttons))
            request.buttons << QString::fromStdString(name);
    for (const auto& [name, text] : texts)
        request.texts.emplace_back(QString::fromStdString(name), QString::fromStdU16String(text));
    armed() = tooling::observeDisplayedDialogs([request](QDialog& window) {
        if (!request.form.isEmpty() && window.objectName() != request.form) return;
        armed().reset();  // one dialog only
        // After the display handler has finished, as a user would act.
        QTimer::singleShot(0, &window, [window = QPointer<QDialog>(&window), request] {
            for (const auto& [name, text] : request.texts)
                if (auto* edit = window->findChild<QLineEdit*>(name)) edit->setText(text);
            for (const QString& name : request.buttons) {
                if (!window || !window->isVisible()) return;  // an earlier button closed it
                auto* button = window->findChild<QAbstractButton*>(name);
                if (!button) break;
                button->click();
            }
            if (window && window->isVisible()) window->close();
        });
    });
}

// Calls \a callback with the next displayed dialog's form name.
void onNextDialog(py::function callback) {
    // The observer may be dropped without the interpreter lock: the callback goes with the lock held.
    std::shared_ptr<py::function> held(new py::function(std::move(callback)), [](py::function* f) {
        py::gil_scoped_acquire gil;
        delete f;
    });
    armed() = tooling::observeDisplayedDialogs([held](QDialog& window) {
        const std::shared_ptr<py::function> keep = held;
        armed().reset();
        py::gil_scoped_acquire gil;
        try {
            (*keep)(window.objectName().toStdString());
        } catch (py::error_already_set& e) {
            // Ctrl-C landing in the callback is the open dialog's to act on.
            if (e.matches(PyExc_KeyboardInterrupt))
                PyErr_SetInterrupt();
            else
                e.discard_as_unraisable("kxsimlib._testing.on_next_dialog");
        }
    });
}

}  // namespace

PYBIND11_MODULE(kxsimlib, m) {
    m.doc() = "The Kestrix SIM Lib: modal dialogs and system helpers for chip-card and SIM-card tools.";
    m.attr("__version__") = KXSIMLIB_VERSION;

    py::exec(kErrorClass, m.attr("__dict__"));
    errorClass() = m.attr("Error");
    m.attr("Error").attr("__module__") = "kxsimlib";

    py::class_<CCB, std::shared_ptr<CCB>>(m, "CCB",
                                          "An object Commons hands out through PCB; scripts cannot create it.")
        .def(
            "XXX",
            [](CCB& self) {
                Variant result;
                check(self.XXX(result));
                return toPython(result);
            },
            "The Integer 12, always.");

    py::class_<Commons, std::shared_ptr<Commons>>(m, "Commons",
                                                  "System helpers: Delay, GetOSVersion, IsWinNT, NewTempFileName, PCB.")
        .def(py::init<>())
        .def_static("shared", &Commons::shared, "The calling thread's shared instance.")
        .def_property(
            "PCB",
            [](Commons& self) {
                std::shared_ptr<CCB> result;
                check(self.PCB(result));
                return result;
            },
            [](Commons& self, std::shared_ptr<CCB> value) { check(self.SetPCB(std::move(value))); },
            "The CCB the object holds, or None.")
        .def_property(
            "hDC", [](Commons&) -> py::object { throw py::attribute_error("hDC is write-only"); },
            [](Commons& self, int32_t value) { check(self.hDC(value)); },
            "Write-only: puts a new CCB into PCB.")
        .def(
            "Delay",
            [](Commons& self, int32_t Millisecs) { check(unlocked([&] { return self.Delay(Millisecs); })); },
            py::arg("Millisecs"), "Waits while the thread's events keep running.")
        .def(
            "GetOSVersion",
            [](Commons& self) {
                int32_t result = 0;
                check(self.GetOSVersion(result));
                return result;
            },
            "The kernel's version as major * 100 + minor.")
        .def(
            "IsWinNT",
            [](Commons& self) {
                Boolean result = Boolean::False;
                check(self.IsWinNT(result));
                return result == Boolean::True;
            },
            "Always False on Linux.")
        .def(
            "NewTempFileName",
            [](Commons& self, std::u16string Path, std::u16string Appendix, int32_t wUnique) {
                std::u16string name;
                int32_t result = 0;
                check(self.NewTempFileName(Path, Appendix, wUnique, name, result));
                return py::make_tuple(result, name);
            },
            py::arg("Path"), py::arg("Appendix"), py::arg("wUnique") = 0,
            "(tries left, name): a name Path + 'tmp' + five digits + Appendix that no file has yet.");

    // One method (or write-only property) per described member.
    py::class_<CDialogs> dialogs(m, "CDialogs", "Opens the library's modal dialogs on the calling (main) thread.");
    dialogs.def(py::init<>());
    for (const MemberDescription* member : tooling::cdialogsMembers()) {
        const std::string name = utf8(member->name);
        if (member->role == MemberRole::PropertyPut) {
            dialogs.def_property(
                name.c_str(),
                [name](CDialogs&) -> py::object { throw py::attribute_error(name + " is write-only"); },
                [member](CDialogs& self, const py::object& value) {
                    std::vector<tooling::Argument> values{argument(member->params.at(0), value)};
                    tooling::Argument result;
                    check(tooling::callMember(self, *member, values, result));
                },
                docOf(*member).c_str());
        } else {
            dialogs.def(
                name.c_str(),
                [member](CDialogs& self, const py::args& args, const py::kwargs& kwargs) {
                    return callDescribed(self, *member, args, kwargs);
                },
                docOf(*member).c_str());
        }
    }

    // The test hooks live in sys.modules alone, outside help(kxsimlib) and
    // dir(kxsimlib); "from kxsimlib import _testing" still finds them.
    py::module_ testing = py::reinterpret_borrow<py::module_>(
        py::module_::import("types").attr("ModuleType")("kxsimlib._testing", "Hooks for the module's own tests."));
    py::module_::import("sys").attr("modules")["kxsimlib._testing"] = testing;
    testing.def("close_next_dialog", &closeNextDialog, py::arg("buttons"),
                py::arg("texts") = std::map<std::string, std::u16string>{}, py::arg("form") = std::string(),
                "Once the next dialog (of form, when given) is displayed, types texts (text box name -> text) "
                "into it and clicks the buttons (one object name or a list) in order; a window still open "
                "afterwards is closed with its close box.");
    testing.def("on_next_dialog", &onNextDialog, py::arg("callback"),
                "Calls callback with the form's name once the next dialog is displayed.");
    testing.def("disarm", [] { armed().reset(); }, "Forgets a close_next_dialog that has not acted.");
    testing.def("pending", [] { return static_cast<bool>(armed()); },
                "Whether close_next_dialog waits for a dialog still.");
}
