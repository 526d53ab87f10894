// kxsim sms [--name TEXT] [--address TEXT] [--center TEXT] [--text TEXT]: the
// short message form, which no CDialogs member shows. A name opens it in name mode.

#include "dialog_tool.h"
#include "json_line.h"
#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

Outcome showForm(const Inputs& inputs) {
    dialogs::ShortMessageContents contents;
    contents.name = value(inputs, QStringLiteral("name")).toStdU16String();
    contents.address = value(inputs, QStringLiteral("address")).toStdU16String();
    contents.center = value(inputs, QStringLiteral("center")).toStdU16String();
    contents.text = value(inputs, QStringLiteral("text")).toStdU16String();
    int32_t action = 0;
    const Status status = tooling::showShortMessageForm(contents, action);
    JsonLine json;
    json.add(QStringLiteral("action"), int64_t(action));
    if (status && action == 1) {
        json.add(QStringLiteral("name"), contents.name)
            .add(QStringLiteral("status"), int64_t(contents.statusIndex))
            .add(QStringLiteral("address"), contents.address)
            .add(QStringLiteral("validity"), contents.validity.label)
            .add(QStringLiteral("validityValue"), int64_t(contents.validity.value))
            .add(QStringLiteral("center"), contents.center)
            .add(QStringLiteral("text"), contents.text)
            .add(QStringLiteral("report"), int64_t(contents.report));
    }
    return outcome(status, json);
}

const QString kSampleName = QStringLiteral("Anna Berger");

const ToolRegistration registration{DialogTool{
    QStringLiteral("sms"),
    QStringLiteral("WSms"),
    QStringLiteral("Short message form (WSms)"),
    {Field{QStringLiteral("name"), QStringLiteral("Name (opens name mode)"), QString()},
     Field{QStringLiteral("address"), QStringLiteral("Dialling number"), QStringLiteral("+49 170 1234567")},
     Field{QStringLiteral("center"), QStringLiteral("Service centre"), QStringLiteral("+49 172 2270000")},
     Field{QStringLiteral("text"), QStringLiteral("Message text"),
           QStringLiteral("The meeting moves to 10:30 in room 4. See you there!")}},
    showForm,
    {{QStringLiteral("_name"), [] {
          showForm(Inputs{{QStringLiteral("name"), {kSampleName}},
                          {QStringLiteral("address"), {QStringLiteral("+49 170 1234567")}},
                          {QStringLiteral("center"), {QStringLiteral("+49 172 2270000")}}});
      }}},
    QStringLiteral("CBAction(1)"),
    QStringLiteral("The short message form, which no CDialogs member shows; a name opens it in name mode. "
                   "Prints {\"action\": N, ...}: N is the button pressed (1 OK, 2 Cancel, 0 the close box), "
                   "with the form's contents after OK.")}};

}  // namespace
}  // namespace kxsim::tool
