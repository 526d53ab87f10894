// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/control_types.h"

#include "platform/accelerators.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>

namespace kxsim::platform {
namespace {

constexpr const char* kTypeProperty = "kxControlType";

// Setters and getters hold the control weakly: a control gone mid-walk is skipped.
template <class T, class Get, class Set>
ControlText textOf(T* control, Get get, Set set) {
    QPointer<T> p(control);
    return ControlText{[p, get] { return p ? get(p.data()) : QString(); },
                       [p, set](const QString& v) {
                           if (p) set(p.data(), v);
                       }};
}

void addTreeNodes(std::vector<ControlText>& out, QTreeWidget* tree, QTreeWidgetItem* item) {
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        QPointer<QTreeWidget> guard(tree);
        out.push_back(ControlText{[guard, child] { return guard ? child->text(0) : QString(); },
                                  [guard, child](const QString& v) {
                                      if (guard) child->setText(0, v);
                                  }});
        addTreeNodes(out, tree, child);
    }
}

}  // namespace

void setControlType(QObject* control, const char* typeName) {
    control->setProperty(kTypeProperty, QString::fromLatin1(typeName));
}

QString controlTypeName(const QObject* control) {
    const QVariant marked = control->property(kTypeProperty);
    if (marked.isValid()) return marked.toString();
    if (qobject_cast<const QCheckBox*>(control)) return QStringLiteral("CheckBox");
    if (qobject_cast<const QRadioButton*>(control)) return QStringLiteral("OptionButton");
    if (qobject_cast<const QAbstractButton*>(control)) return QStringLiteral("CommandButton");
    if (qobject_cast<const QLabel*>(control)) return QStringLiteral("Label");
    if (qobject_cast<const QGroupBox*>(control)) return QStringLiteral("Frame");
    if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QPlainTextEdit*>(control) ||
        qobject_cast<const QTextEdit*>(control))
        return QStringLiteral("TextBox");
    if (qobject_cast<const QListWidget*>(control)) return QStringLiteral("ListBox");
    if (qobject_cast<const QComboBox*>(control)) return QStringLiteral("ComboBox");
    if (qobject_cast<const QSlider*>(control)) return QStringLiteral("Slider");
    if (qobject_cast<const QTableWidget*>(control)) return QStringLiteral("ListView");
    if (qobject_cast<const QTreeWidget*>(control)) return QStringLiteral("TreeView");
    if (qobject_cast<const QTabBar*>(control) || qobject_cast<const QTabWidget*>(control))
        return QStringLiteral("TabStrip");
    if (qobject_cast<const QToolBar*>(control)) return QStringLiteral("Toolbar");
    if (qobject_cast<const QStatusBar*>(control)) return QStringLiteral("StatusBar");
    if (qobject_cast<const QAction*>(control) || qobject_cast<const QMenu*>(control))
        return QStringLiteral("Menu");
    return QString::fromLatin1(control->metaObject()->className());
}

ControlTexts translatableTexts(QObject* control) {
    const QString type = controlTypeName(control);
    ControlTexts out{QStringLiteral("Label"), {}};
    auto& texts = out.texts;

    if (type == u"ListView") {
        if (auto* table = qobject_cast<QTableWidget*>(control)) {
            for (int c = 0; c < table->columnCount(); ++c) {
                QPointer<QTableWidget> t(table);
                texts.push_back(ControlText{
                    [t, c] { return t && t->horizontalHeaderItem(c) ? t->horizontalHeaderItem(c)->text() : QString(); },
                    [t, c](const QString& v) {
                        if (t && t->horizontalHeaderItem(c)) t->horizontalHeaderItem(c)->setText(v);
                    }});
            }
        } else if (auto* tree = qobject_cast<QTreeWidget*>(control)) {
            for (int c = 0; c < tree->columnCount(); ++c) {
                QPointer<QTreeWidget> t(tree);
                texts.push_back(ControlText{[t, c] { return t ? t->headerItem()->text(c) : QString(); },
                                            [t, c](const QString& v) {
                                                if (t) t->headerItem()->setText(c, v);
                                            }});
            }
        }
    } else if (type == u"Menu") {
        out.section = QStringLiteral("Menu");
        if (auto* action = qobject_cast<QAction*>(control))
            texts.push_back(textOf(action, [](QAction* a) { return a->text(); },
                                   [](QAction* a, const QString& v) { a->setText(v); }));
        else if (auto* menu = qobject_cast<QMenu*>(control))
            texts.push_back(textOf(menu, [](QMenu* m) { return m->title(); },
                                   [](QMenu* m, const QString& v) { m->setTitle(v); }));
    } else if (type == u"StatusBar") {
        // The panels are the status bar's own labels, left to right.
        for (QLabel* panel : control->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            texts.push_back(textOf(panel, [](QLabel* l) { return l->text(); },
                                   [](QLabel* l, const QString& v) { l->setText(v); }));
    } else if (type == u"TabStrip") {
        QTabBar* bar = qobject_cast<QTabBar*>(control);
        if (auto* tabs = qobject_cast<QTabWidget*>(control)) bar = tabs->tabBar();
        for (int i = 0; bar && i < bar->count(); ++i) {
            QPointer<QTabBar> b(bar);
            texts.push_back(ControlText{[b, i] { return b ? b->tabText(i) : QString(); },
                                        [b, i](const QString& v) {
                                            if (b) b->setTabText(i, v);
                                        }});
        }
    } else if (type == u"Toolbar") {
        out.section = QStringLiteral("Menu");  // tool tips, not the button captions
        for (QAction* action : qobject_cast<QToolBar*>(control)->actions())
            texts.push_back(textOf(action, [](QAction* a) { return a->toolTip(); },
                                   [](QAction* a, const QString& v) { a->setToolTip(v); }));
    } else if (type == u"TreeView") {
        if (auto* tree = qobject_cast<QTreeWidget*>(control))
            addTreeNodes(texts, tree, tree->invisibleRootItem());
    } else if (type == u"Label" || type == u"CheckBox" || type == u"OptionButton" ||
               type == u"CommandButton") {
        if (auto* label = qobject_cast<QLabel*>(control))
            texts.push_back(textOf(label, [](QLabel* l) { return designText(l, l->text()); },
                                   [](QLabel* l, const QString& v) { l->setText(v); }));
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            texts.push_back(textOf(button, [](QAbstractButton* b) { return designText(b, b->text()); },
                                   [](QAbstractButton* b, const QString& v) { b->setText(v); }));
    } else if (type == u"Frame") {
        if (auto* frame = qobject_cast<QGroupBox*>(control))
            texts.push_back(textOf(frame, [](QGroupBox* g) { return g->title(); },
                                   [](QGroupBox* g, const QString& v) { g->setTitle(v); }));
    }
    return out;
}

}  // namespace kxsim::platform
