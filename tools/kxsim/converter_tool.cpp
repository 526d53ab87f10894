// kxsim converter [--input TEXT]: the number converter dialog, with TEXT typed
// into its input field once it is displayed.

#include <QLineEdit>

#include "dialog_tool.h"
#include "json_line.h"
#include "kxsimlib/cdialogs.h"
#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

Outcome showConverter(const QString& input) {
    auto typist = tooling::observeDisplayedDialogs([input](QDialog& window) {
        if (window.objectName() != u"WConvert" || input.isEmpty()) return;
        if (auto* field = window.findChild<QLineEdit*>(QStringLiteral("TBIn"))) field->setText(input);
    });
    std::u16string result;
    const Status status = CDialogs().Converter(result);
    return outcome(status, JsonLine().add(QStringLiteral("result"), result));
}

const ToolRegistration registration{DialogTool{
    QStringLiteral("converter"),
    QStringLiteral("WConvert"),
    QStringLiteral("Number converter (Converter)"),
    {Field{QStringLiteral("input"), QStringLiteral("Typed into the input field"), QStringLiteral("-1234")}},
    [](const Inputs& inputs) { return showConverter(value(inputs, QStringLiteral("input"))); },
    {{QStringLiteral("_error"), [] { showConverter(QStringLiteral("12abc")); }}},
    QStringLiteral("CBAction(1)"),
    QStringLiteral("The number converter dialog, TEXT typed into its input field. Prints {\"result\": \"\"}; "
                   "its Close button confirms.")}};

}  // namespace
}  // namespace kxsim::tool
