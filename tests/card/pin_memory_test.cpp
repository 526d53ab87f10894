// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// No PIN byte may reach freed memory. This program puts itself in front of
// the C library's free and realloc: every block is searched for the PIN (as
// bytes and as UTF-16) before it goes back, while a test has the scan armed.

#include <gtest/gtest.h>
#include <malloc.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <cstring>

#include "gsm_sim.h"
#include "pin_entry.h"
#include "scripted_card.h"
#include "surface/tooling.h"
#include "usim_app.h"

extern "C" {
void* __libc_malloc(size_t size);
void __libc_free(void* block);
}

namespace {

constexpr char kPin[] = "73915";
std::atomic<bool> armed{false};
std::atomic<int> found{0};

bool holdsPin(const unsigned char* p, size_t size) {
    const size_t n = sizeof kPin - 1;
    unsigned char wide[2 * (sizeof kPin - 1)];
    for (size_t i = 0; i < n; ++i) wide[2 * i] = uint8_t(kPin[i]), wide[2 * i + 1] = 0;
    return memmem(p, size, kPin, n) || memmem(p, size, wide, sizeof wide);
}

void scan(void* block) {
    if (block && armed.load(std::memory_order_relaxed) && holdsPin(static_cast<unsigned char*>(block), malloc_usable_size(block)))
        found.fetch_add(1);
}

}  // namespace

extern "C" void free(void* block) {
    scan(block);
    __libc_free(block);
}

// A realloc that moves a block goes through free, so its old block is searched too.
extern "C" void* realloc(void* block, size_t size) {
    if (!block) return __libc_malloc(size);
    if (size == 0) {
        free(block);
        return nullptr;
    }
    void* moved = __libc_malloc(size);
    if (!moved) return nullptr;
    std::memcpy(moved, block, std::min(size, malloc_usable_size(block)));
    free(block);
    return moved;
}

namespace {

using namespace kxsim::card;
using test::ScriptedCard;

struct Armed {
    Armed() { found = 0, armed = true; }
    ~Armed() { armed = false; }
};

TEST(pin_memory, the_scan_sees_a_pin_in_a_freed_block) {
    auto* block = static_cast<char*>(std::malloc(32));
    std::memcpy(block, kPin, sizeof kPin);
    {
        Armed scan;
        std::free(block);
        EXPECT_EQ(found.load(), 1);
    }
}

TEST(pin_memory, verify_leaves_no_pin_behind) {
    for (const std::string answer : {"9000", "9804", "63C2"}) {
        ScriptedCard card;
        Armed scan;
        std::string pin = kPin;
        if (answer == "63C2") {  // a USIM
            card.answers = test::usimOpening();
            card.answers.insert(card.answers.end(), {"6126", test::kUsimAdf, answer});
            UsimApp usim(card);
            EXPECT_FALSE(usim.verify(1, pin));
        } else {
            card.answers = {answer};
            SimCard sim(card);
            EXPECT_EQ(sim.verify(1, pin), answer == "9000");
        }
        EXPECT_EQ(found.load(), 0) << "a freed block held the PIN after VERIFY answered " << answer;
    }
}

TEST(pin_memory, the_workbench_pin_field_leaves_no_pin_behind) {
    ASSERT_TRUE(kxsim::tooling::startApplication());
    std::string pin;
    {
        Armed scan;
        QTimer::singleShot(0, [] {
            auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(window);
            auto* field = window->findChild<QLineEdit*>(QStringLiteral("card-pin-field"));
            ASSERT_TRUE(field);
            EXPECT_EQ(field->echoMode(), QLineEdit::Password);
            // Key by key: a string of the digits made here would itself be freed holding the PIN.
            for (const char* d = kPin; *d; ++d) QTest::keyClick(field, Qt::Key(Qt::Key_0 + (*d - '0')));
            QTest::keyClick(field, Qt::Key_8);
            QTest::keyClick(field, Qt::Key_Backspace);  // a digit taken back
            EXPECT_FALSE(field->text().contains(QLatin1String(kPin)));
            QTest::keyClick(field, Qt::Key_Return);
        });
        pin = kxsim::tool::askPinInWindow(nullptr, QStringLiteral("PIN of the card"));
        QApplication::processEvents();
        EXPECT_EQ(pin, kPin);
        wipe(pin);
        EXPECT_EQ(found.load(), 0) << "a freed block held the PIN typed in the workbench";
    }
}

}  // namespace
