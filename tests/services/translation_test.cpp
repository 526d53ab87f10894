// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/translation.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>

#include "kxsimlib/cdialogs.h"
#include "platform/design.h"
#include "platform/form.h"
#include "core/module_data.h"
#include "support/temp_files.h"

using namespace kxsim;
using kxsim::test::TempFolder;

namespace {

// One control of every kind the walk knows, plus the caption-less ones.
class SampleForm : public platform::Form {
public:
    SampleForm() : Form(QStringLiteral("WSample")) {}
    template <class T>
    T* get(const char* name) { return window().findChild<T*>(QLatin1String(name)); }

protected:
    void build(QDialog& w) override {
        w.setWindowTitle(QStringLiteral("Sample Form"));
        add(new QTableWidget(0, 2, &w), QStringLiteral("ListView1"))
            ->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Number")});
        add(new QAction(QStringLiteral("File"), &w), QStringLiteral("mnuFile"));
        auto* status = add(new QStatusBar(&w), QStringLiteral("StatusBar1"));
        status->addWidget(new QLabel(QStringLiteral("Ready"), status));
        status->addWidget(new QLabel(QStringLiteral("Name"), status));
        auto* tabs = add(new QTabBar(&w), QStringLiteral("TabStrip1"));
        tabs->addTab(QStringLiteral("Name"));
        tabs->addTab(QStringLiteral("Settings"));
        QAction* tool = add(new QToolBar(&w), QStringLiteral("Toolbar1"))->addAction(QStringLiteral("Name"));
        tool->setToolTip(QStringLiteral("File"));
        auto* tree = add(new QTreeWidget(&w), QStringLiteral("TreeView1"));
        auto* root = new QTreeWidgetItem(tree, {QStringLiteral("Name")});
        new QTreeWidgetItem(root, {QStringLiteral("Settings")});
        add(new QLabel(QStringLiteral("Name"), &w), QStringLiteral("Label1"));
        add(new QLabel(QStringLiteral("Name"), &w), QStringLiteral("Doomed"));
        add(new QLabel(QStringLiteral("Name"), &w), QStringLiteral("Label2"));
        add(new QLabel(QString(), &w), QStringLiteral("Label3"));
        add(new QGroupBox(QStringLiteral("Settings"), &w), QStringLiteral("Frame1"));
        add(new QPushButton(QStringLiteral("Cancel"), &w), QStringLiteral("CBAction"), 2);
        add(new QCheckBox(QStringLiteral("File"), &w), QStringLiteral("Check1"));
        add(new QRadioButton(QStringLiteral("Ready   "), &w), QStringLiteral("Option1"));
        add(new QLineEdit(QStringLiteral("Name"), &w), QStringLiteral("Text1"));
        add(new QListWidget(&w), QStringLiteral("List1"))->addItem(QStringLiteral("Name"));
        add(new QComboBox(&w), QStringLiteral("Combo1"))->addItem(QStringLiteral("Name"));
        add(platform::makeImage(&w, 32), QStringLiteral("IMIcon"));
        add(new QSlider(&w), QStringLiteral("Slider1"));
    }
};

constexpr std::string_view kLanguage =
    "[Label]\nsample form=Beispiel\nNAME=Name (de)\nNumber=Nummer\nSettings=Einstellungen\nReady=Bereit\n"
    "Cancel=\nFile=Datei (Label)\n[Menu]\nFile=Datei (Menu)\nName=Name (Menu)\n";

class Translation : public ::testing::Test {
protected:
    TempFolder dir;
    void useLanguage(std::u16string path) { CDialogs().Language(path); }
    void TearDown() override { useLanguage(u""); }
};

}  // namespace

TEST_F(Translation, the_walk_translates_each_kind_of_text_from_its_section) {
    useLanguage(dir.write("de.ini", kLanguage));
    SampleForm form;
    form.window();
    delete form.get<QLabel>("Doomed");  // a control gone before the walk is skipped; the walk goes on
    services::TranslateForm(form);

    EXPECT_EQ(form.window().windowTitle(), QStringLiteral("Beispiel"));
    EXPECT_EQ(form.get<QTableWidget>("ListView1")->horizontalHeaderItem(0)->text(), QStringLiteral("Name (de)"));
    EXPECT_EQ(form.get<QTableWidget>("ListView1")->horizontalHeaderItem(1)->text(), QStringLiteral("Nummer"));
    EXPECT_EQ(form.get<QAction>("mnuFile")->text(), QStringLiteral("Datei (Menu)"));
    const auto panels = form.get<QStatusBar>("StatusBar1")->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    EXPECT_EQ(panels[0]->text(), QStringLiteral("Bereit"));
    EXPECT_EQ(panels[1]->text(), QStringLiteral("Name (de)"));
    EXPECT_EQ(form.get<QTabBar>("TabStrip1")->tabText(0), QStringLiteral("Name (de)"));
    EXPECT_EQ(form.get<QTabBar>("TabStrip1")->tabText(1), QStringLiteral("Einstellungen"));
    EXPECT_EQ(form.get<QToolBar>("Toolbar1")->actions()[0]->toolTip(), QStringLiteral("Datei (Menu)"));
    EXPECT_EQ(form.get<QToolBar>("Toolbar1")->actions()[0]->text(), QStringLiteral("Name"));  // captions stay
    EXPECT_EQ(form.get<QTreeWidget>("TreeView1")->topLevelItem(0)->text(0), QStringLiteral("Name (de)"));
    EXPECT_EQ(form.get<QTreeWidget>("TreeView1")->topLevelItem(0)->child(0)->text(0), QStringLiteral("Einstellungen"));
    EXPECT_EQ(form.get<QLabel>("Label1")->text(), QStringLiteral("Name (de)"));
    EXPECT_EQ(form.get<QLabel>("Label2")->text(), QStringLiteral("Name (de)"));
    EXPECT_EQ(form.get<QLabel>("Label3")->text(), QString());
    EXPECT_EQ(form.get<QGroupBox>("Frame1")->title(), QStringLiteral("Einstellungen"));
    EXPECT_EQ(form.get<QPushButton>("CBAction(2)")->text(), QString());  // an empty value blanks it
    EXPECT_EQ(form.get<QCheckBox>("Check1")->text(), QStringLiteral("Datei (Label)"));  // never the Menu entry
    // Trailing blanks are not part of the key.
    EXPECT_EQ(form.get<QRadioButton>("Option1")->text(), QStringLiteral("Bereit"));
    // Caption-less controls keep their contents, list items included.
    EXPECT_EQ(form.get<QLineEdit>("Text1")->text(), QStringLiteral("Name"));
    EXPECT_EQ(form.get<QListWidget>("List1")->item(0)->text(), QStringLiteral("Name"));
    EXPECT_EQ(form.get<QComboBox>("Combo1")->itemText(0), QStringLiteral("Name"));
}

TEST_F(Translation, lookup_and_text_rules) {
    const std::string longValue(600, 'x');
    useLanguage(dir.write("de.ini", "[Label]\nTwo lines=Zeile 1\\nZeile 2\nLong=" + longValue +
                                        "\nslash=a\\\\nb\n[Menu]\nOnly menu=Nur Menü\n"));
    const struct { std::u16string key, section, expected; } lookups[] = {
        {u"two LINES", u"Label", u"Zeile 1\\nZeile 2"},  // a lookup keeps "\n" as two characters
        {u"Only menu", u"Label", u"Only menu"},
        {u"Only menu", u"Menu", u"Nur Menü"},
        {u"Missing   ", u"Label", u"Missing"},
        {u"", u"Label", u""},
    };
    for (const auto& row : lookups) EXPECT_EQ(services::LookupText(row.key, row.section), row.expected);
    EXPECT_EQ(services::LookupText(u"Long", u"Label").size(), 511u);

    const struct { std::u16string text, expected; } texts[] = {
        {u"", u""},
        {u"Two lines", u"Zeile 1\nZeile 2"},
        {u"No entry\\nhere", u"No entry\nhere"},  // applied to the text itself too
        {u"slash", u"a\\\nb"},
        {u"Only menu", u"Only menu"},
    };
    for (const auto& row : texts) EXPECT_EQ(services::TranslateText(row.text), row.expected);
}

// Without an ordinary language file (here a folder; which paths name none is
// the profile reader's test) a form keeps its design texts, blanks included.
TEST_F(Translation, a_changed_language_or_file_is_seen_by_the_next_form) {
    std::filesystem::create_directory(dir.path() / "folder.ini");
    const auto first = dir.write("one.ini", "[Label]\nSample Form=Eins\nReady=Bereit\n");
    const auto second = dir.write("two.ini", "[Label]\nSample Form=Zwei\n");
    const auto texts = [] {
        SampleForm form;
        form.window();
        services::TranslateForm(form);
        return QStringList{form.window().windowTitle(), form.get<QRadioButton>("Option1")->text(),
                           form.get<QPushButton>("CBAction(2)")->text()};
    };
    useLanguage(first);
    EXPECT_EQ(texts(), (QStringList{"Eins", "Bereit", "Cancel"}));
    useLanguage(dir.file("folder.ini"));
    EXPECT_EQ(texts(), (QStringList{"Sample Form", "Ready   ", "Cancel"}));
    useLanguage(second);
    EXPECT_EQ(texts().front(), QStringLiteral("Zwei"));
    dir.write("two.ini", "[Label]\nSample Form=Zwei, geändert\n");
    EXPECT_EQ(texts().front(), QStringLiteral("Zwei, geändert"));
}
