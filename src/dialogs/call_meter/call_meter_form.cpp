// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/call_meter/call_meter_form.h"

#include "dialogs/call_meter/call_meter_member.h"

#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>
#include <functional>

#include "core/buttons.h"
#include "platform/accelerators.h"
#include "platform/design.h"
#include "services/help.h"
#include "services/translation.h"

namespace kxsim::dialogs {
namespace {

constexpr platform::FormFont kMeterFont = platform::kArial9;
constexpr qreal kEqualsSize = 12;
constexpr int kIconSize = 32;

// A digits-only field: of whatever the user types, pastes or drops, only the
// digits 0 to 9 get in, and only while the text stays within the limit. A
// change that brings in anything else is refused whole; the field keeps the
// text it had. Texts the dialog itself puts in (admitted first) are taken as
// they are.
class DigitsOnly : public QValidator {
public:
    DigitsOnly(QLineEdit* box, size_t limit) : QValidator(box), limit_(limit), accepted_(box->text()) {
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
    }

    void admit(const QString& text) { accepted_ = text; }

    State validate(QString& input, int& pos) const override {
        if (AcceptsDigitsEdit(accepted_.toStdU16String(), input.toStdU16String(), limit_)) return Acceptable;
        // Handing back the previous text, rather than saying Invalid, also
        // refuses what an undo would bring back and never leaves the field in
        // a state in which it stops checking.
        qsizetype same = 0;
        while (same < input.size() && same < accepted_.size() && input[same] == accepted_[same]) ++same;
        input = accepted_;
        pos = static_cast<int>(same);
        return Acceptable;
    }

private:
    size_t limit_;
    QString accepted_;
};

// Calls back on every key release in the watched fields, whatever the key,
// and tells whether a field's change comes from a key that is still down.
class KeyReleaseWatch : public QObject {
public:
    KeyReleaseWatch(QObject* parent, std::function<void(QObject*)> onRelease)
        : QObject(parent), onRelease_(std::move(onRelease)) {}

    bool keyDown(const QObject* field) const { return keyDown_ == field; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            keyDown_ = watched;
            break;
        case QEvent::KeyRelease:
            keyDown_ = nullptr;
            onRelease_(watched);
            break;
        case QEvent::FocusOut:  // its release goes elsewhere
            keyDown_ = nullptr;
            break;
        default:
            break;
        }
        return false;
    }

private:
    std::function<void(QObject*)> onRelease_;
    const QObject* keyDown_ = nullptr;
};

void setFieldText(QLineEdit* box, const QString& text) {
    if (box->text() == text) return;  // keeps the cursor and the undo steps of an untouched field
    if (auto* digits = dynamic_cast<DigitsOnly*>(const_cast<QValidator*>(box->validator())))
        digits->admit(text);
    box->setText(text);
}

QLabel* equalsSign(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("="), parent);
    label->setFont(platform::designFont(kMeterFont, kEqualsSize, true));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

CallMeterForm::CallMeterForm() : Form(QStringView(selectMeterMember().form).toString()) {}

void CallMeterForm::build(QDialog& w) {
    QVBoxLayout* root = platform::openForm(w, QStringLiteral("Accumulated Call Meter"), kMeterFont);

    icon_ = add(platform::makeImage(&w, kIconSize), QStringLiteral("IMIcon"));
    auto* info = add(new QLabel(QStringLiteral("Set accumulated call meter and cost limit:"), &w),
                     QStringLiteral("LBInfo"));
    platform::styleHeading(info, kMeterFont, kMeterFont.pointSize);
    root->addWidget(platform::makeHeadingBand(&w, icon_, info));

    auto* body = new QVBoxLayout;
    body->setContentsMargins(platform::kFormMargin, platform::kFormMargin, platform::kFormMargin, platform::kFormMargin);
    body->setSpacing(platform::kFormSpacing);
    root->addLayout(body);

    // Units up to "-99999999"; amounts up to 99999999 × 9999 and its negative, shown whole.
    const int digit = w.fontMetrics().horizontalAdvance(QStringLiteral("0"));
    const int unitsWidth = digit * 10 + 12;
    const int amountWidth = digit * 14 + 12;
    const auto makeBox = [&](MeterField field, const QString& name, const QString& text, QWidget* parent) {
        auto* b = add(new QLineEdit(text, parent), name);
        boxes_[static_cast<size_t>(field)] = b;
        if (IsDigitsOnly(field)) b->setValidator(new DigitsOnly(b, MeterFieldLimit(field)));
        return b;
    };

    // The cost limit: units = amount for the total, the maximum and what is available.
    auto* limit = add(new QGroupBox(QStringLiteral("Cost limit"), &w), QStringLiteral("Frame2"));
    auto* grid = new QGridLayout(limit);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(add(new QLabel(QStringLiteral("Units"), limit), QStringLiteral("Label3")), 0, 1);
    grid->addWidget(add(new QLabel(QStringLiteral("Amount"), limit), QStringLiteral("Label4")), 0, 3);

    struct Row {
        const char* label;
        const char* labelName;
        MeterField units;
        const char* unitsName;
        const char* equalsName;
        MeterField amount;
        const char* amountName;
        int clear;  // index of its Clear button, 0 for none
    };
    const Row rows[] = {
        {"Total:", "Label6", MeterField::Acm, "TBAcm", "Label9", MeterField::Acmb, "TBAcmb", 1},
        {"Maximum:", "Label5", MeterField::Amv, "TBAmv", "Label8", MeterField::Amvb, "TBAmvb", 2},
        {"Available:", "Label7", MeterField::Res, "TBRes", "Label10", MeterField::Resb, "TBResb", 0},
    };
    int line = 1;
    for (const Row& row : rows) {
        auto* label = add(new QLabel(QString::fromLatin1(row.label), limit), QString::fromLatin1(row.labelName));
        grid->addWidget(label, line, 0);
        auto* units = makeBox(row.units, QString::fromLatin1(row.unitsName), QStringLiteral("0"), limit);
        // One label names a row of two fields: each is named after its row and column.
        const QString rowLabel = QString::fromLatin1(row.labelName);
        platform::nameAfter(units, {rowLabel, QStringLiteral("Label3")});
        if (row.clear) label->setBuddy(units);
        grid->addWidget(units, line, 1);
        grid->addWidget(add(equalsSign(limit), QString::fromLatin1(row.equalsName)), line, 2);
        auto* amount = makeBox(row.amount, QString::fromLatin1(row.amountName), QStringLiteral("0"), limit);
        platform::nameAfter(amount, {rowLabel, QStringLiteral("Label4")});
        grid->addWidget(amount, line, 3);
        units->setFixedWidth(unitsWidth);
        amount->setFixedWidth(amountWidth);
        if (row.clear) {
            auto* clear = add(new QPushButton(QStringLiteral("Clear"), limit), QStringLiteral("CBClear"), row.clear);
            clear->setAutoDefault(false);
            platform::nameAfter(clear, {clear->objectName(), rowLabel});
            QObject::connect(clear, &QPushButton::clicked, [this, index = row.clear] { clearRow(index); });
            grid->addWidget(clear, line, 4);
        } else {
            for (QLineEdit* b : {units, amount}) {
                b->setEnabled(false);
                b->setFocusPolicy(Qt::NoFocus);
            }
        }
        ++line;
    }
    grid->setColumnStretch(5, 1);
    body->addWidget(limit);

    // The tariff.
    auto* settings = add(new QGroupBox(QStringLiteral("Settings"), &w), QStringLiteral("Frame1"));
    auto* tariff = new QHBoxLayout(settings);
    tariff->setSpacing(8);
    auto* priceLabel = add(new QLabel(QStringLiteral("Cost p. unit:"), settings), QStringLiteral("Label1"));
    tariff->addWidget(priceLabel);
    auto* price = makeBox(MeterField::Ppu, QStringLiteral("TBPpu"), QStringLiteral("0"), settings);
    priceLabel->setBuddy(price);
    price->setFixedWidth(digit * 6 + 12);
    tariff->addWidget(price);
    tariff->addSpacing(12);
    auto* currencyLabel = add(new QLabel(QStringLiteral("Currency:"), settings), QStringLiteral("Label2"));
    tariff->addWidget(currencyLabel);
    auto* currency = makeBox(MeterField::Ccu, QStringLiteral("TBCcu"), QStringLiteral("EUR"), settings);
    currencyLabel->setBuddy(currency);
    currency->setMaxLength(static_cast<int>(MeterFieldLimit(MeterField::Ccu)));
    currency->setFixedWidth(w.fontMetrics().horizontalAdvance(QStringLiteral("WWW")) + 14);
    tariff->addWidget(currency);
    tariff->addWidget(add(new QLabel(QStringLiteral("/ 100"), settings), QStringLiteral("Label11")));
    tariff->addStretch(1);
    body->addWidget(settings);

    // The buttons on their band across the bottom.
    auto* help = add(new QPushButton(QStringLiteral("?"), &w), QStringLiteral("CBAction"), buttons::kHelp);
    auto* cancel = add(new QPushButton(QStringLiteral("Cancel"), &w), QStringLiteral("CBAction"), buttons::kCancel);
    auto* ok = add(new QPushButton(QStringLiteral("OK"), &w), QStringLiteral("CBAction"), buttons::kOk);
    root->addWidget(add(platform::makeButtonBand(&w, help, {cancel, ok}), QStringLiteral("Shape1")));
    ok->setDefault(true);
    setCancelButton(cancel);
    for (auto [button, index] : {std::pair{ok, buttons::kOk}, std::pair{cancel, buttons::kCancel}, std::pair{help, buttons::kHelp}})
        QObject::connect(button, &QPushButton::clicked, [this, index = index] { action(index); });

    platform::setTabChain({box(MeterField::Acm), box(MeterField::Acmb), box(MeterField::Amv),
                        box(MeterField::Amvb), price, currency,
                        w.findChild<QPushButton*>(QStringLiteral("CBClear(1)")),
                        w.findChild<QPushButton*>(QStringLiteral("CBClear(2)")), ok, cancel, help});

    auto* watch = new KeyReleaseWatch(&w, [this](QObject* watched) {
        for (MeterField field : {MeterField::Acm, MeterField::Acmb, MeterField::Amv, MeterField::Amvb})
            if (watched == box(field)) keyReleased(field);
    });
    for (MeterField field : {MeterField::Acm, MeterField::Acmb, MeterField::Amv, MeterField::Amvb}) {
        box(field)->installEventFilter(watch);
        // A change without a key (set by an assistive tool, pasted from the
        // context menu, dropped) counts as one key release; typing is
        // counted by its releases alone.
        QObject::connect(box(field), &QLineEdit::textChanged, [this, watch, field] {
            if (!writing_ && !watch->keyDown(box(field))) keyReleased(field);
        });
    }
    QObject::connect(price, &QLineEdit::textChanged, [this] { priceEdited(); });
}

void CallMeterForm::displayed() { services::TranslateForm(*this); }

void CallMeterForm::showIcon(const Picture& icon) {
    window();
    platform::showPicture(icon_, icon);
}

void CallMeterForm::putHostTexts(std::u16string_view acm, std::u16string_view amv, std::u16string_view ccu,
                                 std::u16string_view ppu) {
    window();
    CallMeterFields fields = readFields();
    PutHostTexts(fields, acm, amv, ccu, ppu);
    writeFields(fields);
}

Status CallMeterForm::computeOpening() {
    window();
    CallMeterFields fields = readFields();
    const Status status = OpenCallMeter(fields);
    writeFields(fields);
    return status;
}

std::u16string CallMeterForm::fieldText(MeterField field) {
    window();
    return box(field)->text().toStdU16String();
}

QLineEdit* CallMeterForm::box(MeterField field) const { return boxes_[static_cast<size_t>(field)]; }

CallMeterFields CallMeterForm::readFields() const {
    CallMeterFields fields;
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i]) fields[static_cast<MeterField>(i)] = boxes_[i]->text().toStdU16String();
    return fields;
}

void CallMeterForm::writeFields(const CallMeterFields& fields) {
    writing_ = true;
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i]) setFieldText(boxes_[i], QString::fromStdU16String(fields[static_cast<MeterField>(i)]));
    writing_ = false;
}

void CallMeterForm::keyReleased(MeterField field) {
    CallMeterFields fields = readFields();
    MeterKeyReleased(fields, field);
    writeFields(fields);
}

void CallMeterForm::priceEdited() {
    if (writing_) return;  // the model has already followed its own change of the price
    CallMeterFields fields = readFields();
    PriceChanged(fields);
    writeFields(fields);
}

void CallMeterForm::clearRow(int row) {
    CallMeterFields fields = readFields();
    ClearMeterRow(fields, row);
    writeFields(fields);
}

void CallMeterForm::action(int index) {
    if (index == buttons::kHelp) {
        services::ShowHelp(*this);
        return;
    }
    Action = index;
    hide();
}

}  // namespace kxsim::dialogs
