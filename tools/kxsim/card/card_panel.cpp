// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "card_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMap>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTime>
#include <QVBoxLayout>

#include "card_tasks.h"
#include "above_program.h"
#include "operator_ini.h"
#include "pin_entry.h"
#include "kxsimlib/cdialogs.h"
#include "pcsc.h"
#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

using namespace kxsim::card;

constexpr int kCardWaitMs = 10'000;

// The workbench asks in windows: the PIN in a password field.
class WindowInteraction : public Interaction {
public:
    explicit WindowInteraction(QWidget* parent) : parent_(parent) {}
    std::string askPin(const std::string& prompt) override { return askPinInWindow(parent_, QString::fromStdString(prompt)); }
    bool confirm(const std::string& question) override {
        return QMessageBox::question(parent_, QStringLiteral("SIM card"), QString::fromStdString(question)) ==
               QMessageBox::Yes;
    }

private:
    QWidget* parent_;
};

// The readable fields beside the log: what the last tasks found on the card.
enum Fact { kReader, kApplication, kIccid, kPin, kPin2, kMeter, kNetworks, kFacts };
const char* const kFactNames[kFacts] = {"reader", "application", "iccid", "pin", "pin2", "meter", "networks"};
const char* const kFactLabels[kFacts] = {"Reader", "Application", "ICCID", "PIN", "PIN2", "Call meter", "Networks"};

QString tries(const QJsonObject& pin) {
    if (!pin.value(QStringLiteral("enabled")).toBool()) return QStringLiteral("not asked for");
    if (!pin.contains(QStringLiteral("tries"))) return QStringLiteral("enabled");
    const int left = pin.value(QStringLiteral("tries")).toInt();
    return QStringLiteral("%1 %2 left").arg(left).arg(left == 1 ? QStringLiteral("try") : QStringLiteral("tries"));
}

struct CardPage {
    QComboBox* reader = nullptr;
    QComboBox* target = nullptr;
    QComboBox* list = nullptr;
    QComboBox* app = nullptr;
    QCheckBox* lastTry = nullptr;
    QPlainTextEdit* log = nullptr;
    QWidget* page = nullptr;
    QLabel* facts[kFacts] = {};
    QString operators;

    AppChoice appChoice() const {
        return app->currentIndex() == 1 ? AppChoice::Usim : app->currentIndex() == 2 ? AppChoice::Gsm : AppChoice::Auto;
    }

    // The fields a task's result tells of.
    void show(const QString& what, const QJsonObject& out) {
        auto put = [&](Fact f, const QString& text) { facts[f]->setText(text); };
        if (out.contains(QStringLiteral("application")) && what != u"clone") {
            QString app = out.value(QStringLiteral("application")).toString();
            if (out.contains(QStringLiteral("aid"))) app += QStringLiteral(" (AID %1)").arg(out.value(QStringLiteral("aid")).toString());
            put(kApplication, app);
        }
        if (what == u"status") {
            put(kReader, out.value(QStringLiteral("reader")).toString() +
                             (out.value(QStringLiteral("present")).toBool() ? QString() : QStringLiteral(" (no card)")));
            put(kIccid, out.value(QStringLiteral("iccid")).toString());
            put(kPin, tries(out.value(QStringLiteral("chv1")).toObject()));
            put(kPin2, tries(out.value(QStringLiteral("chv2")).toObject()));
        } else if (what == u"meter") {
            put(kMeter, QStringLiteral("%1 of %2 units, %3 hundredths %4 a unit")
                            .arg(out.value(QStringLiteral("acm")).toString(), out.value(QStringLiteral("amv")).toString(),
                                 out.value(QStringLiteral("ppu")).toString(), out.value(QStringLiteral("ccu")).toString()));
        } else if (what == u"networks") {
            QMap<QString, QString> names;
            for (const auto& [key, name] : operatorNames(operators, QString::fromStdU16String(kOperatorSection))) names.insert(key, name);
            QStringList shown;
            for (const QString& key : out.value(QStringLiteral("keys")).toString().split(QLatin1Char(';'), Qt::SkipEmptyParts))
                shown << (names.contains(key) ? QStringLiteral("%1 (%2)").arg(names.value(key), key) : key);
            put(kNetworks, out.value(QStringLiteral("file")).toString() + QStringLiteral(": ") +
                               (shown.isEmpty() ? QStringLiteral("none") : shown.join(QStringLiteral(", "))));
        }
    }

    void refresh() {
        const QString chosen = QString::fromStdU16String(tooling::readerSetup().name);
        const ReaderListing listing = listReaders();
        for (QComboBox* box : {reader, target}) {
            box->clear();
            for (const std::string& name : listing.names) box->addItem(QString::fromStdString(name));
        }
        // No reader connected leaves the lists empty; no daemon or a failure is said.
        if (listing.kind != ReaderListing::Kind::Readers && listing.kind != ReaderListing::Kind::NoReaders) {
            log->appendPlainText(QStringLiteral("card: %1").arg(QString::fromStdString(listing.problem)));
            return;
        }
        if (const int at = reader->findText(chosen); at >= 0) reader->setCurrentIndex(at);
        target->setCurrentIndex(target->count() > 1 && reader->currentIndex() == 0 ? 1 : 0);
    }

    // Kartenleser over the PC/SC list; its choice becomes the page's reader.
    void setup() {
        std::u16string names;
        for (int i = 0; i < reader->count(); ++i) names += (i ? u"\0" : u"") + reader->itemText(i).toStdU16String();
        std::u16string chosen;
        if (CDialogs().Kartenleser(names, chosen)) refresh();
    }

    void run(const QString& what, const std::function<QJsonObject(const ReaderTiming&, Interaction&, SessionOptions)>& task) {
        const tooling::ReaderSetup setup = tooling::readerSetup();
        const ReaderTiming timing{setup.pollMs, setup.pauseMs, setup.pinpad};
        WindowInteraction user(page);
        QString line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss ")) + QStringLiteral("card ") + what + QStringLiteral(": ");
        try {
            const QJsonObject out = task(timing, user, SessionOptions{lastTry->isChecked(), timing.keypad, appChoice()});
            line += QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Compact));
            show(what, out);
        } catch (const TaskStopped& e) {
            line += QString::fromUtf8(QJsonDocument(e.summary).toJson(QJsonDocument::Compact)) +
                    QStringLiteral(" [failed: %1]").arg(QString::fromStdString(e.what()));
        } catch (const CardError& e) {
            line += QStringLiteral("[failed: %1]").arg(QString::fromStdString(e.what()));
        }
        log->appendPlainText(line);
    }
};

}  // namespace

void addCardPage(QButtonGroup& group, QVBoxLayout& buttons, QStackedWidget& pages, QPlainTextEdit* log) {
    auto* state = new CardPage;
    auto* page = new QWidget;
    state->page = page;
    state->log = log;
    QObject::connect(page, &QObject::destroyed, [state] { delete state; });
    auto* form = new QFormLayout(page);
    state->reader = new QComboBox;
    state->reader->setObjectName(QStringLiteral("card-reader"));
    state->target = new QComboBox;
    state->target->setObjectName(QStringLiteral("card-target"));
    state->list = new QComboBox;
    state->list->setObjectName(QStringLiteral("card-list"));
    state->list->addItems({QStringLiteral("preferred"), QStringLiteral("forbidden"), QStringLiteral("operator (shown only)")});
    state->app = new QComboBox;
    state->app->setObjectName(QStringLiteral("card-app"));
    state->app->addItems({QStringLiteral("USIM where there is one"), QStringLiteral("USIM"), QStringLiteral("GSM SIM")});
    state->lastTry = new QCheckBox(QStringLiteral("Verify even when one PIN try is left"));
    state->lastTry->setObjectName(QStringLiteral("card-last-try"));
    // Long reader names must not push the buttons out of the window: the lists shrink to what is left.
    for (QComboBox* box : {state->reader, state->target}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
    }
    form->setRowWrapPolicy(QFormLayout::WrapLongRows);
    auto* readerRow = new QHBoxLayout;
    readerRow->addWidget(state->reader, 1);
    auto* refresh = new QPushButton(QStringLiteral("Refresh"));
    refresh->setObjectName(QStringLiteral("card-refresh"));
    auto* setup = new QPushButton(QStringLiteral("Reader setup..."));
    setup->setObjectName(QStringLiteral("card-setup"));
    readerRow->addWidget(refresh);
    readerRow->addWidget(setup);
    form->addRow(QStringLiteral("Reader (PC/SC)"), readerRow);
    form->addRow(QStringLiteral("Application"), state->app);
    form->addRow(QStringLiteral("Network list"), state->list);
    form->addRow(QStringLiteral("Clone to reader"), state->target);
    form->addRow(QString(), state->lastTry);
    auto* actions = new QGridLayout;  // two by two, so every text fits at any scale
    const QString operators =
        findAboveProgram({QStringLiteral("data/operators.ini"), QStringLiteral("share/kxsimlib/operators.ini")});
    state->operators = operators;
    const std::vector<std::pair<QString, std::function<QJsonObject(const ReaderTiming&, Interaction&, SessionOptions)>>> tasks{
        {QStringLiteral("status"),
         [state](const ReaderTiming& t, Interaction&, SessionOptions) {
             return cardStatus(state->reader->currentText().toStdString(), t, state->appChoice());
         }},
        {QStringLiteral("meter"),
         [state](const ReaderTiming& t, Interaction& user, SessionOptions o) {
             PcscReader reader(state->reader->currentText().toStdString(), t, kCardWaitMs);
             CardSession card(reader, user, o);
             return editMeter(card);
         }},
        {QStringLiteral("networks"),
         [state, operators](const ReaderTiming& t, Interaction& user, SessionOptions o) {
             PcscReader reader(state->reader->currentText().toStdString(), t, kCardWaitMs);
             CardSession card(reader, user, o);
             const int list = state->list->currentIndex();
             return editNetworks(card, list == 1 ? NetworkList::Forbidden : list == 2 ? NetworkList::Operator : NetworkList::Preferred,
                                 operators.toStdU16String());
         }},
        {QStringLiteral("clone"),
         [state](const ReaderTiming& t, Interaction& user, SessionOptions o) {
             if (state->reader->currentText() == state->target->currentText())
                 throw CardError(CardError::Kind::Refused, "cloning needs two different readers");
             PcscReader from(state->reader->currentText().toStdString(), t, kCardWaitMs);
             PcscReader to(state->target->currentText().toStdString(), t, kCardWaitMs);
             CardSession source(from, user, o), target(to, user, o);
             return cloneCard(source, target);
         }},
    };
    for (const auto& [name, task] : tasks) {
        auto* button = new QPushButton(name == u"status" ? QStringLiteral("Card status") : QStringLiteral("Edit ") + name);
        if (name == u"clone") button->setText(QStringLiteral("Clone card"));
        button->setObjectName(QStringLiteral("card-") + name);
        QObject::connect(button, &QPushButton::clicked, page, [state, name = name, task = task] { state->run(name, task); });
        actions->addWidget(button, actions->count() / 2, actions->count() % 2);
    }
    form->addRow(QString(), actions);
    auto* held = new QGroupBox(QStringLiteral("What the card holds"));
    held->setObjectName(QStringLiteral("card-facts"));
    auto* facts = new QFormLayout(held);
    facts->setRowWrapPolicy(QFormLayout::WrapLongRows);
    for (int f = 0; f < kFacts; ++f) {
        state->facts[f] = new QLabel(QStringLiteral("-"));
        state->facts[f]->setObjectName(QStringLiteral("card-fact-") + QLatin1String(kFactNames[f]));
        state->facts[f]->setWordWrap(true);
        state->facts[f]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        facts->addRow(QLatin1String(kFactLabels[f]), state->facts[f]);
    }
    form->addRow(held);
    QObject::connect(refresh, &QPushButton::clicked, page, [state] { state->refresh(); });
    QObject::connect(setup, &QPushButton::clicked, page, [state] { state->setup(); });
    state->refresh();

    auto* show = new QPushButton(QStringLiteral("SIM card (PC/SC)"));
    show->setObjectName(QStringLiteral("show-card"));
    show->setCheckable(true);
    group.addButton(show, pages.count());
    buttons.addWidget(show);
    pages.addWidget(page);
}

}  // namespace kxsim::tool
