// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
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
#include <QButtonGroup>
#include <QStackedWidget>
#include <QTime>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "card/card_panel.h"
#include "command.h"
#include "dialog_tool.h"

namespace kxsim::tool {
namespace {

// Reads one field's value from its editor.
using Reader = std::function<QStringList()>;

QWidget* makePage(const DialogTool& tool, QPlainTextEdit* log, QLineEdit* language) {
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
    // --png FILE: a picture of the workbench instead of a session (README, checks);
    // --page NAME: the page shown first.
    QString picture, pageName;
    for (qsizetype i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) throw UsageError(QStringLiteral("%1 needs a value").arg(args[i]));
        if (args[i] == u"--png") picture = args[i + 1];
        else if (args[i] == u"--page") pageName = args[i + 1];
        else throw UsageError(QStringLiteral("the workbench takes no arguments but --page NAME and --png FILE"));
    }
    QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    const bool haveDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
    if (!app && !haveDisplay)
        throw UsageError(QStringLiteral("the workbench needs a display (DISPLAY and WAYLAND_DISPLAY are unset); "
                                        "kxsim screenshot DIR shows the dialogs without one"));
    if (!app) {
        startApplication();
        app = qobject_cast<QApplication*>(QCoreApplication::instance());
    }
    QWidget window;
    window.setObjectName(QStringLiteral("Workbench"));
    window.setWindowTitle(QStringLiteral("kxsim workbench"));
    auto* root = new QVBoxLayout(&window);

    auto* languageRow = new QHBoxLayout;
    auto* language = new QLineEdit;
    language->setObjectName(QStringLiteral("language"));
    language->setPlaceholderText(QStringLiteral("none: the dialogs show their English design texts"));
    language->setText(appliedLanguage());  // kxsim --language FILE
    auto* browse = new QPushButton(QStringLiteral("Browse..."));
    QObject::connect(browse, &QPushButton::clicked, &window, [language, &window] {
        const QString file = QFileDialog::getOpenFileName(&window, QStringLiteral("Language file"),
                                                          QString(), QStringLiteral("INI files (*.ini);;All files (*)"));
        if (!file.isEmpty()) language->setText(file);
    });
    languageRow->addWidget(new QLabel(QStringLiteral("Language file:")));
    languageRow->addWidget(language, 1);
    // The shipped German file, from a build tree or an installed prefix.
    const QString german = findAboveProgram({QStringLiteral("lang/kxsim_de.ini"),
                                             QStringLiteral("share/kxsimlib/lang/kxsim_de.ini")});
    if (!german.isEmpty()) {
        auto* useGerman = new QPushButton(QStringLiteral("German"));
        QObject::connect(useGerman, &QPushButton::clicked, language, [language, german] { language->setText(german); });
        languageRow->addWidget(useGerman);
    }
    languageRow->addWidget(browse);
    root->addLayout(languageRow);

    // One button per dialog on the left; its inputs and Open on the right.
    auto* dialogsRow = new QHBoxLayout;
    auto* buttons = new QVBoxLayout;
    auto* pages = new QStackedWidget;
    auto* group = new QButtonGroup(&window);
    auto* log = new QPlainTextEdit;
    log->setObjectName(QStringLiteral("log"));
    log->setReadOnly(true);
    for (const DialogTool& tool : dialogTools()) {
        auto* button = new QPushButton(tool.title);
        button->setObjectName(QStringLiteral("show-") + tool.command);
        button->setCheckable(true);
        group->addButton(button, pages->count());
        buttons->addWidget(button);
        pages->addWidget(makePage(tool, log, language));
    }
    addCardPage(*group, *buttons, *pages, log);
    buttons->addStretch(1);
    QObject::connect(group, &QButtonGroup::idClicked, pages, &QStackedWidget::setCurrentIndex);
    dialogsRow->addLayout(buttons);
    dialogsRow->addWidget(pages, 1);
    root->addLayout(dialogsRow);
    root->addWidget(new QLabel(QStringLiteral("Calls and their outputs:")));
    root->addWidget(log, 1);
    // Chosen once the window owns every layout, so a wrong name leaks none.
    QAbstractButton* shown = group->button(0);
    if (!pageName.isEmpty()) {
        const QList<QAbstractButton*> all = group->buttons();
        const auto named = std::find_if(all.begin(), all.end(), [&](const QAbstractButton* b) {
            return b->objectName() == QStringLiteral("show-") + pageName;
        });
        if (named == all.end())
            throw UsageError(QStringLiteral("the workbench has no page %1 (a dialog command, or card)").arg(pageName));
        shown = *named;
    }
    if (shown) {
        shown->setChecked(true);
        pages->setCurrentIndex(group->id(shown));
    }
    window.resize(860, 600);
    window.show();
    if (!picture.isEmpty()) return window.grab().save(picture, "PNG") ? 0 : 1;
    return app->exec();
}

const CommandRegistration workbenchRegistration{
    Command{QStringLiteral("workbench"), QStringLiteral("workbench [--page NAME] [--png FILE]"), workbench,
            QStringLiteral("The workbench (also kxsim without a command): a button per dialog, the inputs a host "
                           "would pass and a log of each call's outputs, and a page for a SIM card in a PC/SC "
                           "reader. --page shows a page first: a dialog command's name, or card. --png writes "
                           "the window's picture and ends."),
            {{QStringLiteral("--page"), QStringLiteral("NAME"), QStringLiteral("the page shown: a dialog command, or card")},
             {QStringLiteral("--png"), QStringLiteral("FILE"), QStringLiteral("write the window's picture and end")}}}};

}  // namespace
}  // namespace kxsim::tool
