// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The help window under the offscreen platform: the card reader's "?" opens
// the topic of the dialog from the built help file, without blocking it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QStyle>
#include <QTest>
#include <QTextBrowser>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

#include "kxsimlib/cdialogs.h"
#include "platform/help_viewer.h"
#include "platform/design.h"
#include "platform/help_window.h"
#include "platform/library_identity.h"
#include "services/settings.h"
#include "support/dialog_driver.h"
#include "support/temp_files.h"

using namespace kxsim;
using namespace kxsim::test;
using platform::HelpWindow;

namespace {

const std::u16string kTwoReaders(u"Reader A\0Reader B", 17);

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setLibraryFolder(u"" KXSIM_HELP_FOLDER); }
    void TearDown() override {
        platform::setLibraryFolder({});
        if (HelpWindow* w = HelpWindow::instance()) w->hide();
    }

    // Shows the card reader, opens its help with "?", runs \a act, then presses OK; returns the reader.
    std::u16string withHelpOpen(const std::function<void(QDialog&, HelpWindow&)>& act) {
        WhenShown driver(QStringLiteral("WLeser"), [&act](QDialog& w) {
            click(w, QStringLiteral("BAction(112)"));
            QTRY_VERIFY(HelpWindow::instance() && HelpWindow::instance()->isVisible());
            act(w, *HelpWindow::instance());
            click(w, QStringLiteral("BAction(1)"));
        });
        std::u16string readers = kTwoReaders, result;
        EXPECT_TRUE(CDialogs().Kartenleser(readers, result));
        EXPECT_EQ(driver.runs(), 1);
        return result;
    }

    core::MemorySettingsStore store;
    services::ScopedSettingsStore scope{store};
};

// Clicks the link whose text is \a text in the help window, through the
// window system as a user would, so a window blocked by a modal dialog
// would not get the click.
void clickLink(QTextBrowser& browser, const QString& text) {
    QTextCursor cursor = browser.document()->find(text);
    ASSERT_FALSE(cursor.isNull()) << text.toStdString();
    cursor.setPosition(cursor.selectionStart() + 1);
    browser.setTextCursor(cursor);
    browser.ensureCursorVisible();
    const QPoint at = browser.viewport()->mapTo(browser.window(), browser.cursorRect(cursor).center());
    QTest::mouseClick(browser.window()->windowHandle(), Qt::LeftButton, {}, at);
}

TEST_F(HelpWindowTest, card_reader_help_opens_its_topic_its_links_work_and_the_dialog_stays_usable) {
    HelpWindow* first = nullptr;
    EXPECT_EQ(withHelpOpen([&first](QDialog& w, HelpWindow& help) {
        first = &help;
        EXPECT_EQ(first->problem(), QString());
        EXPECT_EQ(first->source(), QUrl(QStringLiteral("kxhelp:/card_reader.htm")));
        EXPECT_FALSE(first->isModal());

        // The dialog is still up, modal, and takes input.
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), &w);
        auto* list = control<QListWidget>(w, QStringLiteral("PrefList"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        EXPECT_EQ(list->currentRow(), 1);

        // A second request reuses the one window.
        first->setSource(QUrl(QStringLiteral("kxhelp:/index.htm")));
        QTest::keyClick(&w, Qt::Key_F1);
        EXPECT_EQ(HelpWindow::instance(), first);
        EXPECT_EQ(first->source(), QUrl(QStringLiteral("kxhelp:/card_reader.htm")));
        EXPECT_EQ(std::ranges::count_if(QApplication::topLevelWidgets(),
                                        [](QWidget* top) { return qobject_cast<HelpWindow*>(top) != nullptr; }), 1);

        // Its links can be followed while the dialog is modal.
        clickLink(help, QStringLiteral("Contents"));
        QTRY_COMPARE(help.source(), QUrl(QStringLiteral("kxhelp:/index.htm")));
        clickLink(help, QStringLiteral("Accumulated Call Meter"));
        QTRY_COMPARE(help.source(), QUrl(QStringLiteral("kxhelp:/call_meter.htm")));
    }), u"Reader B");
    // The help window outlives the dialog and serves the next one.
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(HelpWindow::instance(), first);
    EXPECT_TRUE(first->isVisible());
}

TEST_F(HelpWindowTest, a_missing_help_file_shows_a_page_naming_it_and_no_modal_box) {
    TempFolder empty;
    const QString folder = QString::fromStdString(empty.path().string());
    platform::setLibraryFolder(folder.toStdU16String());
    withHelpOpen([&folder](QDialog& w, HelpWindow& help) {
        const QString expected = QStringLiteral("The help file %1/kxhelpd.chm was not found.").arg(folder);
        EXPECT_EQ(help.problem(), expected);
        EXPECT_TRUE(help.toPlainText().contains(expected));
        EXPECT_EQ(QApplication::activeModalWidget(), &w);
        EXPECT_TRUE(w.isVisible());
    });
}

TEST_F(HelpWindowTest, esc_and_ctrl_w_close_the_window) {
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::CTRL, Qt::Key_W)}) {
        platform::openHelp(7105, nullptr);
        HelpWindow* help = HelpWindow::instance();
        ASSERT_TRUE(help && help->isVisible());
        QTest::keyClick(help, key.key(), key.keyboardModifiers());
        EXPECT_FALSE(help->isVisible()) << QKeySequence(key).toString().toStdString();
    }
}

// What a fragment of a page is drawn on: its own background, its table cell's,
// its block's, else the window's base colour.
QColor behind(const HelpWindow& help, const QTextFragment& fragment, const QTextBlock& block) {
    if (fragment.charFormat().hasProperty(QTextFormat::BackgroundBrush)) return fragment.charFormat().background().color();
    QTextCursor cursor(block);
    if (const QTextTable* table = cursor.currentTable()) {
        const QTextCharFormat cell = table->cellAt(cursor).format();
        if (cell.hasProperty(QTextFormat::BackgroundBrush)) return cell.background().color();
    }
    if (block.blockFormat().hasProperty(QTextFormat::BackgroundBrush)) return block.blockFormat().background().color();
    return help.viewport()->palette().color(QPalette::Base);
}

// Every text of a page against what is behind it; the headings in the forms'
// heading colour. A light palette keeps the pages' own colours.
TEST_F(HelpWindowTest, pages_follow_a_light_and_a_dark_palette) {
    platform::openHelp(7105, nullptr);
    HelpWindow& help = *HelpWindow::instance();
    for (const QPalette& palette : {platform::darkPalette(), QApplication::style()->standardPalette()}) {
        const bool light = platform::isLightPalette(palette);
        // The window's own palette: the application's reaches windows made
        // earlier only while its event loop runs. The page shown follows too.
        help.setPalette(palette);
        for (const int topic : {0, 7108, 7111, 7120, 8030, 8040, 8100}) {
            if (topic) platform::openHelp(topic, nullptr);
            ASSERT_EQ(help.problem(), QString()) << topic;
            int headings = 0, links = 0;
            for (QTextBlock block = help.document()->begin(); block.isValid(); block = block.next()) {
                for (auto it = block.begin(); !it.atEnd(); ++it) {
                    const QTextFragment fragment = it.fragment();
                    if (fragment.text().trimmed().isEmpty()) continue;
                    const QTextCharFormat format = fragment.charFormat();
                    const QColor text = format.hasProperty(QTextFormat::ForegroundBrush)
                                            ? format.foreground().color()
                                            : help.viewport()->palette().color(QPalette::Text);
                    const QColor back = behind(help, fragment, block);
                    const std::string where = std::string(light ? "light " : "dark ") + std::to_string(topic) + " \"" + fragment.text().toStdString() + "\" " +
                                              text.name().toStdString() + " on " + back.name().toStdString();
                    EXPECT_GE(platform::contrastRatio(text, back), platform::kMinContrast) << where;
                    EXPECT_EQ(back == QColor(Qt::white) || back.lightness() > 200, light) << where;
                    if (block.blockFormat().headingLevel() > 0) {
                        ++headings;
                        EXPECT_EQ(text.rgb(), (light ? QColor(0x00, 0x33, 0x99) : platform::headingColor(palette)).rgb()) << where;
                    } else if (format.isAnchor()) {
                        ++links;
                    } else if (!format.fontFamilies().toStringList().join(u' ').contains(u"Mono")) {
                        EXPECT_EQ(text.rgb(), (light ? QColor(0x20, 0x20, 0x20) : palette.color(QPalette::Text)).rgb()) << where;
                    }
                }
            }
            EXPECT_GT(headings, 0) << topic;
            EXPECT_GT(links, 0) << topic;
        }
    }
    help.setPalette(QPalette());
}

}  // namespace
