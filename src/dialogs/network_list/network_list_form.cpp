// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/network_list/network_list_form.h"

#include "dialogs/network_list/network_list_member.h"

#include <QDialog>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

#include "core/buttons.h"
#include "platform/accelerators.h"
#include "platform/design.h"
#include "platform/profile_reader.h"
#include "platform/ui_feedback.h"
#include "services/help.h"
#include "services/translation.h"

namespace kxsim::dialogs {
namespace {

constexpr platform::FormFont kNetworkFont = platform::kTahoma9;
const QString kSymbolFont = QStringLiteral("Marlett");
constexpr int kKeyRole = Qt::UserRole;

// The input box's texts, translated when it opens; its buttons read as the form's own.
const services::FormText kInputPrompt{selectNetworkMember().form, u"Please enter the number to add:"};
const services::FormText kInputOk{selectNetworkMember().form, u"OK"};
// Names said for buttons whose visible text is a symbol ("?", the arrows).
const services::FormText kHelpName{selectNetworkMember().form, u"Help"};
const services::FormText kAddName{selectNetworkMember().form, u"Add"};
const services::FormText kRemoveName{selectNetworkMember().form, u"Remove"};
const services::FormText kInputCancel{selectNetworkMember().form, u"Cancel"};

// The section of the host's INI file, read through the profile reader. The
// file is loaded once for one filling of the lists, so every entry comes from
// the same state of the file.
class ProfileSection : public NetworkSection {
public:
    ProfileSection(const std::u16string& file, const std::u16string& section)
        : file_(platform::loadIniFile(file)), section_(section) {}
    std::vector<std::u16string> keyNames(size_t bufferSize) const override {
        return platform::profileKeyNames(file_.get(), section_, bufferSize);
    }
    std::u16string value(std::u16string_view key, std::u16string_view fallback,
                         size_t bufferSize) const override {
        return platform::profileString(file_.get(), section_, key, fallback, bufferSize);
    }

private:
    std::shared_ptr<const platform::IniDocument> file_;
    const std::u16string& section_;
};

// A button whose caption is a glyph of the Marlett symbol font ("4" a
// right-pointing, "3" a left-pointing triangle). Where Marlett is not
// installed it paints the triangle itself; the caption stays the design text
// either way, so translation sees what it would see with the font.
class TriangleButton : public QPushButton {
public:
    TriangleButton(const QString& glyph, QWidget* parent) : QPushButton(glyph, parent) {
        hasSymbolFont_ = QFontDatabase::hasFamily(kSymbolFont);
        if (hasSymbolFont_) {
            QFont font(kSymbolFont);
            font.setPointSizeF(14.25);
            font.setBold(true);
            setFont(font);
        }
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (hasSymbolFont_) {
            QPushButton::paintEvent(event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);

        const bool right = text() == QStringLiteral("4");
        const bool left = text() == QStringLiteral("3");
        if (!right && !left) {  // a translated caption: show it as text
            option.text = text();
            painter.drawControl(QStyle::CE_PushButtonLabel, option);
            return;
        }
        const qreal h = height() * 0.36;  // the glyph's height
        const qreal w = h * 0.55;
        const QPointF c = QRectF(rect()).center();
        QPainterPath triangle;
        if (right) {
            triangle.moveTo(c.x() - w / 2, c.y() - h / 2);
            triangle.lineTo(c.x() + w / 2, c.y());
            triangle.lineTo(c.x() - w / 2, c.y() + h / 2);
        } else {
            triangle.moveTo(c.x() + w / 2, c.y() - h / 2);
            triangle.lineTo(c.x() - w / 2, c.y());
            triangle.lineTo(c.x() + w / 2, c.y() + h / 2);
        }
        triangle.closeSubpath();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                         QPalette::ButtonText));
        painter.drawPath(triangle);
    }

private:
    bool hasSymbolFont_ = false;
};

QListWidget* makeList(QWidget* parent, const QString& tip) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setToolTip(tip);
    list->setUniformItemSizes(true);
    list->setFixedSize(platform::twips(3600), platform::twips(3000));
    return list;
}

void showEntries(QListWidget* list, const std::vector<NetworkEntry>& entries) {
    list->setUpdatesEnabled(false);
    list->clear();
    // One insertion for all texts, then the keys beside them.
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(entries.size()));
    for (const NetworkEntry& entry : entries) texts.append(QString::fromStdU16String(entry.text));
    list->addItems(texts);
    const QSignalBlocker quiet(list->model());
    for (int row = 0; row < list->count(); ++row) list->item(row)->setData(kKeyRole, entries[static_cast<size_t>(row)].key);
    list->setCurrentRow(-1);
    list->clearSelection();
    list->setUpdatesEnabled(true);
}

std::optional<size_t> selectedRow(const QListWidget* list) {
    const std::optional<int> row = platform::selectedRow(list);
    return row ? std::optional<size_t>(static_cast<size_t>(*row)) : std::nullopt;
}

}  // namespace

NetworkListForm::NetworkListForm() : Form(QStringView(selectNetworkMember().form).toString()) {}

void NetworkListForm::build(QDialog& w) {
    // The client area is in the system window colour; only the bottom band is not.
    QVBoxLayout* root = platform::openForm(w, QStringLiteral("Preferred Networks"), kNetworkFont, platform::Body::Window);

    // Controls in design order: the order translation walks them.
    icon_ = add(platform::makeImage(&w, platform::twips(480)), QStringLiteral("IMIcon"));
    auto* info = add(new QLabel(QStringLiteral("Choose the items to use:"), &w), QStringLiteral("LBInfo"));
    platform::styleHeading(info, kNetworkFont);
    auto* availableLabel = add(new QLabel(QStringLiteral("Available:"), &w), QStringLiteral("Label1"), 0);
    auto* selectedLabel = add(new QLabel(QStringLiteral("Selected:"), &w), QStringLiteral("Label1"), 1);
    available_ = add(makeList(&w, QStringLiteral("Einfügen mit Doppelklick")), QStringLiteral("List1"));
    selected_ = add(makeList(&w, QStringLiteral("Entfernen mit Doppelklick")), QStringLiteral("List2"));
    QPushButton* addButton = add(new TriangleButton(QStringLiteral("4"), &w), QStringLiteral("CmdAddRemove"), 0);
    QPushButton* removeButton = add(new TriangleButton(QStringLiteral("3"), &w), QStringLiteral("CmdAddRemove"), 1);
    auto* higher = add(new QPushButton(QStringLiteral("Higher"), &w), QStringLiteral("CmdUpDown"), 0);
    auto* lower = add(new QPushButton(QStringLiteral("Lower"), &w), QStringLiteral("CmdUpDown"), 1);
    auto* inputButton = add(new QPushButton(QStringLiteral("Input..."), &w), QStringLiteral("CmdInput"));
    auto* ok = add(new QPushButton(QStringLiteral("OK"), &w), QStringLiteral("CBAction"), buttons::kOk);
    auto* cancel = add(new QPushButton(QStringLiteral("Cancel"), &w), QStringLiteral("CBAction"), buttons::kCancel);
    auto* help = add(new QPushButton(QStringLiteral("?"), &w), QStringLiteral("CBAction"), buttons::kHelp);
    root->addWidget(platform::makeHeadingBand(&w, icon_, info));
    QFrame* band = add(platform::makeButtonBand(&w, help, {cancel, ok}), QStringLiteral("Shape1"));
    availableLabel->setBuddy(available_);
    selectedLabel->setBuddy(selected_);

    addButton->setToolTip(QStringLiteral("Add"));
    removeButton->setToolTip(QStringLiteral("Remove"));
    platform::nameAs(addButton, QStringLiteral("Add"));
    platform::nameAs(removeButton, QStringLiteral("Remove"));
    for (QPushButton* b : {addButton, removeButton}) b->setFixedSize(platform::twips(495), platform::twips(495));
    for (QPushButton* b : {higher, lower, inputButton}) {
        b->setMinimumWidth(platform::twips(1095));
        b->setAutoDefault(false);
    }
    for (QPushButton* b : {addButton, removeButton}) b->setAutoDefault(false);
    ok->setDefault(true);
    setCancelButton(cancel);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(platform::kFormMargin, platform::kFormMargin, platform::kFormMargin, platform::kFormMargin);
    body->setSpacing(0);
    // The two lists with their labels, Add and Remove between them, and the
    // Selected list's buttons under it.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(platform::twips(120));
    grid->setVerticalSpacing(platform::twips(30));
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(selectedLabel, 0, 2);
    grid->addWidget(available_, 1, 0);
    grid->addWidget(selected_, 1, 2);
    auto* moves = new QVBoxLayout;
    moves->setSpacing(platform::twips(105));
    moves->addSpacing(platform::twips(780));
    moves->addWidget(addButton);
    moves->addWidget(removeButton);
    moves->addStretch(1);
    grid->addLayout(moves, 1, 1);
    auto* selectedButtons = new QHBoxLayout;
    selectedButtons->setContentsMargins(0, platform::kFormSpacing, 0, 0);
    selectedButtons->setSpacing(platform::kFormSpacing);
    selectedButtons->addWidget(inputButton);
    selectedButtons->addStretch(1);
    selectedButtons->addWidget(higher);
    selectedButtons->addWidget(lower);
    grid->addLayout(selectedButtons, 2, 2);
    body->addLayout(grid);
    root->addLayout(body);

    root->addWidget(band);
    w.setMinimumWidth(platform::twips(8340));

    platform::setTabChain(
        {available_, addButton, removeButton, selected_, inputButton, higher, lower, ok, cancel, help});

    QObject::connect(available_, &QListWidget::itemDoubleClicked, [this] { addEntry(); });
    QObject::connect(selected_, &QListWidget::itemDoubleClicked, [this] { removeEntry(); });
    QObject::connect(addButton, &QPushButton::clicked, [this] { addEntry(); });
    QObject::connect(removeButton, &QPushButton::clicked, [this] { removeEntry(); });
    QObject::connect(higher, &QPushButton::clicked, [this] { moveHigher(); });
    QObject::connect(lower, &QPushButton::clicked, [this] { moveLower(); });
    QObject::connect(inputButton, &QPushButton::clicked, [this] { inputNumber(); });
    QObject::connect(ok, &QPushButton::clicked, [this] { pressAction(buttons::kOk); });
    QObject::connect(cancel, &QPushButton::clicked, [this] { pressAction(buttons::kCancel); });
    QObject::connect(help, &QPushButton::clicked, [this] { pressAction(buttons::kHelp); });
}

void NetworkListForm::setIcon(const Picture& picture) {
    window();
    platform::showPicture(icon_, picture);
}

void NetworkListForm::setRequest(NetworkListRequest request) {
    request_ = std::move(request);
    action_ = 0;
}

// Runs once per display, so the lists are filled exactly once each time.
void NetworkListForm::displayed() {
    services::TranslateForm(*this);
    FillNetworkLists(lists_, ProfileSection(request_.iniFile, request_.section), request_.selected);
    showEntries(available_, lists_.available);
    showEntries(selected_, lists_.selected);
}

void NetworkListForm::syncSelection() {
    lists_.availableRow = selectedRow(available_);
    lists_.selectedRow = selectedRow(selected_);
}

void NetworkListForm::follow(const ListChange& change) {
    const int from = static_cast<int>(change.from);
    const int to = static_cast<int>(change.to);
    switch (change.kind) {
    case ListChange::Kind::None:
        break;
    case ListChange::Kind::Full:
        platform::beep();
        break;
    case ListChange::Kind::Appended: {
        const NetworkEntry& entry = lists_.selected[change.to];
        auto* item = new QListWidgetItem(QString::fromStdU16String(entry.text));
        item->setData(kKeyRole, entry.key);
        selected_->addItem(item);
        break;
    }
    case ListChange::Kind::Removed:
        delete selected_->takeItem(from);
        selected_->setCurrentRow(-1);
        selected_->clearSelection();
        break;
    case ListChange::Kind::Moved: {
        QListWidgetItem* item = selected_->takeItem(from);
        selected_->insertItem(to, item);
        selected_->setCurrentRow(to);
        break;
    }
    }
}

void NetworkListForm::addEntry() {
    syncSelection();
    follow(AddNetwork(lists_, request_.maxSelect));
}

void NetworkListForm::removeEntry() {
    syncSelection();
    follow(RemoveNetwork(lists_));
}

void NetworkListForm::moveHigher() {
    syncSelection();
    follow(MoveNetworkHigher(lists_));
}

void NetworkListForm::moveLower() {
    syncSelection();
    follow(MoveNetworkLower(lists_));
}

void NetworkListForm::inputNumber() {
    auto* button = window().findChild<QPushButton*>(QStringLiteral("CmdInput"));
    const auto translated = [](const services::FormText& text) { return QString::fromStdU16String(text.translated()); };
    const std::optional<QString> reply =
        platform::inputBox(&window(), translated(kInputPrompt), button ? button->toolTip() : QString(),
                           translated(kInputOk), translated(kInputCancel));
    if (!reply || !isLoaded()) return;
    const QLocale system = QLocale::system();
    const NumberFormat format{system.groupSeparator().toStdU16String(),
                              system.currencySymbol().toStdU16String()};
    syncSelection();
    follow(InputNetwork(lists_, reply->toStdU16String(), format));
}

void NetworkListForm::pressAction(int index) {
    action_ = index;
    switch (index) {
    case buttons::kOk:
        chosenKeys_ = KeyListText(lists_.selected);
        unload();
        break;
    case buttons::kCancel:
        unload();
        break;
    case buttons::kHelp:
        services::ShowHelp(*this);
        break;
    }
}

}  // namespace kxsim::dialogs
