// The workbench: a host window with one tab per dialog, the inputs a host
// would pass, and a log of every call's outputs.

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTime>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdlib>

#include "command.h"
#include "dialog_tool.h"

namespace kxsim::tool {
namespace {

// Reads one field's value from its editor.
using Reader = std::function<QStringList()>;

QWidget* makeTab(const DialogTool& tool, QPlainTextEdit* log, QLineEdit* language) {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    std::vector<std::pair<QString, Reader>> readers;
    for (const Field& field : tool.fields) {
        if (field.flag) {
            auto* box = new QCheckBox;
            box->setObjectName(field.option);
            form->addRow(field.label, box);
            readers.emplace_back(field.option, [box] { return box->isChecked() ? QStringList{QStringLiteral("1")} : QStringList{}; });
        } else if (field.repeated) {
            auto* edit = new QPlainTextEdit(field.sample);
            edit->setObjectName(field.option);
            edit->setFixedHeight(90);
            form->addRow(field.label, edit);
            readers.emplace_back(field.option, [edit] { return edit->toPlainText().split(QLatin1Char('\n')); });
        } else {
            auto* edit = new QLineEdit(field.sample);
            edit->setObjectName(field.option);
            form->addRow(field.label, edit);
            readers.emplace_back(field.option, [edit] { return QStringList{edit->text()}; });
        }
    }
    auto* open = new QPushButton(QStringLiteral("Open %1").arg(tool.form));
    open->setObjectName(QStringLiteral("open-") + tool.command);
    form->addRow(QString(), open);
    QObject::connect(open, &QPushButton::clicked, page, [&tool, readers, log, language] {
        Inputs inputs;
        for (const auto& [option, read] : readers) inputs[option] = read();
        applyLanguage(language->text());
        const Outcome out = tool.call(inputs);
        QString line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss ")) + tool.command +
                       QStringLiteral(": ") + (out.problem.isEmpty() ? out.json : out.problem);
        if (!out.status)
            line += QStringLiteral("  [failed: error %1, %2]")
                        .arg(out.status.number())
                        .arg(QString::fromStdU16String(out.status.description()));
        log->appendPlainText(line);
    });
    return page;
}

int workbench(const QStringList& args) {
    if (!args.isEmpty()) throw UsageError(QStringLiteral("the workbench takes no arguments"));
    QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    const bool haveDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
    if (!app && !haveDisplay)
        throw UsageError(QStringLiteral("the workbench needs a display (DISPLAY and WAYLAND_DISPLAY are unset); "
                                        "kxsim screenshot DIR shows the dialogs without one"));
    if (!app) {
        static int argc = 1;
        static char name[] = "kxsim";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    QWidget window;
    window.setObjectName(QStringLiteral("Workbench"));
    window.setWindowTitle(QStringLiteral("kxsim workbench"));
    auto* root = new QVBoxLayout(&window);

    auto* languageRow = new QHBoxLayout;
    auto* language = new QLineEdit;
    language->setObjectName(QStringLiteral("language"));
    language->setPlaceholderText(QStringLiteral("no language file: the dialogs show their design texts"));
    auto* browse = new QPushButton(QStringLiteral("Browse..."));
    QObject::connect(browse, &QPushButton::clicked, &window, [language, &window] {
        const QString file = QFileDialog::getOpenFileName(&window, QStringLiteral("Language file"),
                                                          QString(), QStringLiteral("INI files (*.ini);;All files (*)"));
        if (!file.isEmpty()) language->setText(file);
    });
    languageRow->addWidget(new QLabel(QStringLiteral("Language file:")));
    languageRow->addWidget(language, 1);
    languageRow->addWidget(browse);
    root->addLayout(languageRow);

    auto* tabs = new QTabWidget;
    auto* log = new QPlainTextEdit;
    log->setObjectName(QStringLiteral("log"));
    log->setReadOnly(true);
    for (const DialogTool& tool : dialogTools()) tabs->addTab(makeTab(tool, log, language), tool.title);
    root->addWidget(tabs);
    root->addWidget(new QLabel(QStringLiteral("Calls and their outputs:")));
    root->addWidget(log, 1);
    window.resize(720, 560);
    window.show();
    return app->exec();
}

const CommandRegistration registration{
    Command{QStringLiteral("workbench"), QStringLiteral("workbench (also: no arguments)"), workbench}};

}  // namespace
}  // namespace kxsim::tool
