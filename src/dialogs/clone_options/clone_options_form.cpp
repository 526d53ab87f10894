// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/clone_options/clone_options_form.h"

#include "dialogs/clone_options/clone_options_member.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/help_context.h"
#include "platform/design.h"
#include "services/help.h"
#include "services/translation.h"

namespace kxsim::dialogs {
namespace {

constexpr platform::FormFont kCloneFont = platform::kTahoma9;

struct FileBox {
    const char16_t* caption;
    int row;     // 0 to 6: rows 0 to 4, then a wider gap, rows 5 and 6
    int column;  // 0 left, 1 right
};

// Index n - 1: each dependent file stands beside the file it follows.
constexpr std::array<FileBox, kCloneFileCount> kFiles{{
    {u"Abbreviated Numbers", 0, 0},
    {u"Fixed numbers (requires PIN2)", 1, 0},
    {u"Private numbers", 2, 0},
    {u"Dialled numbers", 3, 0},
    {u"Short Messages", 4, 0},
    {u"Extensions 1", 0, 1},
    {u"Extensions 2", 1, 1},
    {u"Capability Config.", 2, 1},
    {u"SMS Parameter sets", 3, 1},
    {u"SMS Status reports", 4, 1},
    {u"Preferred networks", 5, 0},
    {u"Network messages", 6, 0},
    {u"Forbidden networks", 5, 1},
    {u"Language Preference", 6, 1},
}};

}  // namespace

CloneOptionsForm::CloneOptionsForm() : Form(QStringView(cloneOptionsMember().form).toString()) { setHelpContextId(help::kCloneOptions); }

void CloneOptionsForm::build(QDialog& w) {
    // The body in the system window colour, the buttons on a band in the button-face colour.
    QVBoxLayout* root = platform::openForm(w, QStringLiteral("Clone SIM-Card"), kCloneFont, platform::Body::Window);
    root->addStrut(platform::twips(6120));

    QLabel* image = add(platform::makeImage(&w, platform::twips(480)), QStringLiteral("IMIcon"));
    auto* info = add(new QLabel(QStringLiteral("Clone folowing files from this card:"), &w), QStringLiteral("LBInfo"));
    platform::styleHeading(info, kCloneFont);
    root->addWidget(platform::makeHeadingBand(&w, image, info));

    // The files in two columns; the dependent ones are set by the dialog alone.
    auto* grid = new QGridLayout;
    grid->setContentsMargins(platform::twips(900), platform::twips(180), platform::twips(300), 0);
    grid->setHorizontalSpacing(platform::twips(180));
    grid->setVerticalSpacing(platform::twips(165));
    for (int32_t index = 1; index <= kCloneFileCount; ++index) {
        const FileBox& file = kFiles[index - 1];
        auto* box = add(new QCheckBox(QString::fromUtf16(file.caption), &w), QStringLiteral("CBFile"), index);
        box->setMinimumWidth(platform::twips(2835));
        box->setEnabled(!CloneOptionsModel::IsDependent(index));
        // A gap row between the five files with followers and the others.
        grid->addWidget(box, file.row < 5 ? file.row : file.row + 1, file.column);
        // The model follows the box's state however it changed (a click, Space,
        // an assistive tool's Toggle); the state the dialog shows itself is
        // the model's already, so each change counts once.
        QObject::connect(box, &QCheckBox::toggled, &w, [this, index](bool checked) {
            if (model_.File(index) == checked) return;
            model_.SetFile(index, checked);
            showState();
        });
        files_[index - 1] = box;
    }
    grid->setRowMinimumHeight(5, platform::twips(120));
    root->addLayout(grid);

    auto* lower = new QVBoxLayout;
    lower->setContentsMargins(platform::twips(900), platform::twips(240), platform::twips(300), platform::twips(180));
    lower->setSpacing(platform::twips(240));
    all_ = add(new QCheckBox(QStringLiteral("All"), &w), QStringLiteral("CBAll"));
    QObject::connect(all_, &QCheckBox::toggled, &w, [this](bool checked) {
        if (model_.All() == checked) return;
        model_.SetAll(checked);
        showState();
    });
    lower->addWidget(all_);
    lower->addWidget(add(new QLabel(QStringLiteral("Warning: Files on target card will be overwritten!"), &w),
                         QStringLiteral("Label3")));
    root->addLayout(lower);

    // The button band: "?" at the left, Cancel and OK at the right.
    auto* ok = add(new QPushButton(QStringLiteral("OK"), &w), QStringLiteral("CBAction"), kCloneOk);
    auto* cancel = add(new QPushButton(QStringLiteral("Cancel"), &w), QStringLiteral("CBAction"), kCloneCancel);
    auto* help = add(new QPushButton(QStringLiteral("?"), &w), QStringLiteral("CBAction"), kCloneHelp);
    root->addWidget(add(platform::makeButtonBand(&w, help, {cancel, ok}), QStringLiteral("Shape1")));
    ok->setDefault(true);
    setCancelButton(cancel);

    QObject::connect(ok, &QPushButton::clicked, &w, [this] { press(kCloneOk); });
    QObject::connect(cancel, &QPushButton::clicked, &w, [this] { press(kCloneCancel); });
    QObject::connect(help, &QPushButton::clicked, &w, [this] { press(kCloneHelp); });
}

void CloneOptionsForm::loaded() {
    model_.Load();
    showState();
}

void CloneOptionsForm::displayed() { services::TranslateForm(*this); }

void CloneOptionsForm::showState() {
    for (int32_t index = 1; index <= kCloneFileCount; ++index)
        if (files_[index - 1]) files_[index - 1]->setChecked(model_.File(index));
    if (all_) all_->setChecked(model_.All());
}

void CloneOptionsForm::press(int32_t index) {
    switch (model_.PressButton(index)) {
    case CloneButtonEffect::Unload:
        unload();
        break;
    case CloneButtonEffect::Help:
        services::ShowHelp(*this);
        break;
    case CloneButtonEffect::Nothing:
        break;
    }
}

}  // namespace kxsim::dialogs
