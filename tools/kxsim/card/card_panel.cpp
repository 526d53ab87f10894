#include "card_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTime>
#include <QVBoxLayout>

#include "card_tasks.h"
#include "above_program.h"
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
    std::string askPin(const std::string& prompt) override {
        bool ok = false;
        QString pin = QInputDialog::getText(parent_, QStringLiteral("PIN"), QString::fromStdString(prompt),
                                            QLineEdit::Password, QString(), &ok);
        std::string text = ok ? pin.toStdString() : std::string();
        pin.fill(QChar(0));
        return text;
    }
    bool confirm(const std::string& question) override {
        return QMessageBox::question(parent_, QStringLiteral("SIM card"), QString::fromStdString(question)) ==
               QMessageBox::Yes;
    }

private:
    QWidget* parent_;
};

struct CardPage {
    QComboBox* reader = nullptr;
    QComboBox* target = nullptr;
    QComboBox* list = nullptr;
    QCheckBox* lastTry = nullptr;
    QPlainTextEdit* log = nullptr;
    QWidget* page = nullptr;

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
            line += QString::fromUtf8(
                QJsonDocument(task(timing, user, SessionOptions{lastTry->isChecked(), timing.keypad})).toJson(QJsonDocument::Compact));
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
    state->list->addItems({QStringLiteral("preferred"), QStringLiteral("forbidden")});
    state->lastTry = new QCheckBox(QStringLiteral("Verify even when one PIN try is left"));
    state->lastTry->setObjectName(QStringLiteral("card-last-try"));
    auto* readerRow = new QHBoxLayout;
    readerRow->addWidget(state->reader, 1);
    auto* refresh = new QPushButton(QStringLiteral("Refresh"));
    auto* setup = new QPushButton(QStringLiteral("Reader setup..."));
    setup->setObjectName(QStringLiteral("card-setup"));
    readerRow->addWidget(refresh);
    readerRow->addWidget(setup);
    form->addRow(QStringLiteral("Reader (PC/SC)"), readerRow);
    form->addRow(QStringLiteral("Network list"), state->list);
    form->addRow(QStringLiteral("Clone to reader"), state->target);
    form->addRow(QString(), state->lastTry);
    auto* actions = new QHBoxLayout;
    const QString operators =
        findAboveProgram({QStringLiteral("data/operators.ini"), QStringLiteral("share/kxsimlib/operators.ini")});
    const std::vector<std::pair<QString, std::function<QJsonObject(const ReaderTiming&, Interaction&, SessionOptions)>>> tasks{
        {QStringLiteral("status"),
         [state](const ReaderTiming& t, Interaction&, SessionOptions) {
             return cardStatus(state->reader->currentText().toStdString(), t);
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
             return editNetworks(card, state->list->currentIndex() ? NetworkList::Forbidden : NetworkList::Preferred,
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
        actions->addWidget(button);
    }
    form->addRow(QString(), actions);
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
