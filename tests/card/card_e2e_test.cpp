// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The card tasks end to end: a real pcscd with the vpcd reader, the virtual
// SIM of virtual_sim.py, the library's dialogs driven in this process as a
// user would, and the card's image checked after each write.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <deque>
#include <functional>

#include "card_panel.h"
#include "card_tasks.h"
#include "support/kxsim_process.h"
#include "surface/tooling.h"

using namespace kxsim::card;

namespace {

constexpr int kWaitMs = 5000;
const char* const kReaders[] = {"Kestrix Virtual 00 00", "Kestrix Virtual 00 01"};

// pcscd and the card emulator, once for all tests.
class Rig {
public:
    static Rig& get() {
        static Rig rig;
        return rig;
    }
    const QString& skip() const { return skip_; }
    // Each returns once pcscd has seen the change, so the next task finds the slot settled.
    void insert(int slot, const QString& image) {
        remove(slot);
        command(QStringLiteral("insert %1 %2").arg(slot).arg(image));
        settle(slot, true);
    }
    void remove(int slot) {
        command(QStringLiteral("remove %1").arg(slot));
        settle(slot, false);
    }
    ~Rig() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.write("quit\n");
        process_.closeWriteChannel();
        if (!process_.waitForFinished(15'000)) process_.kill(), process_.waitForFinished();
    }

private:
    Rig() {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral("python3"), {QStringLiteral(KXSIM_SOURCE_DIR "/tests/card/virtual_sim.py"),
                                                  QStringLiteral("rig")});
        const QJsonObject first = QJsonDocument::fromJson(line()).object();
        if (first.contains(QStringLiteral("skip")) || !first.contains(QStringLiteral("socket"))) {
            skip_ = first.value(QStringLiteral("skip")).toString(
                QStringLiteral("python3 tests/card/virtual_sim.py did not start (%1)").arg(process_.errorString()));
            return;
        }
        socket_ = first.value(QStringLiteral("socket")).toString().toUtf8();
        ::setenv("PCSCLITE_CSOCK_NAME", socket_.constData(), 1);
    }
    void settle(int slot, bool present) {
        QElapsedTimer timer;
        timer.start();
        while (PcscReader::cardPresent(kReaders[slot]) != present && timer.elapsed() < 10'000) QThread::msleep(20);
        EXPECT_EQ(PcscReader::cardPresent(kReaders[slot]), present) << "slot " << slot;
    }
    QByteArray line() {
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(20'000)) return {};
        return process_.readLine().trimmed();
    }
    void command(const QString& text) {
        process_.write((text + QLatin1Char('\n')).toUtf8());
        EXPECT_EQ(line(), QByteArray("ok")) << text.toStdString();
    }
    QProcess process_;
    QString skip_;
    QByteArray socket_;
};

// PINs and answers given in turn; every prompt is kept.
struct Script : Interaction {
    explicit Script(std::deque<std::string> p = {}, bool y = true) : pins(std::move(p)), yes(y) {}
    std::deque<std::string> pins;
    bool yes;
    std::vector<std::string> prompts;
    std::string askPin(const std::string& prompt) override {
        prompts.push_back(prompt);
        if (pins.empty()) return {};
        std::string pin = pins.front();
        pins.pop_front();
        return pin;
    }
    bool confirm(const std::string& question) override {
        prompts.push_back(question);
        return yes;
    }
};

// Acts on the next dialog named \a form once it is shown, then presses OK.
std::shared_ptr<void> whenShown(const QString& form, std::function<void(QDialog&)> act) {
    return kxsim::tooling::observeDisplayedDialogs([=](QDialog& window) {
        if (window.objectName() != form) return;
        QTimer::singleShot(0, &window, [&window, act] {
            act(window);
            if (auto* ok = window.findChild<QAbstractButton*>(QStringLiteral("CBAction(1)"))) ok->click();
        });
    });
}

void type(QDialog& window, const char* field, const QString& text) {
    if (auto* edit = window.findChild<QLineEdit*>(QLatin1String(field))) edit->setText(text);
    else ADD_FAILURE() << "no field " << field;
}

enum class Kind { Gsm, Usim, Dual };

// Where a kind keeps its application's files in the image.
QString appFile(Kind kind, const QString& ef) {
    return (kind == Kind::Gsm ? QStringLiteral("3F00/7F20/") : QStringLiteral("3F00/7FFF/")) + ef;
}

const char* kindName(Kind kind) { return kind == Kind::Gsm ? "GSM SIM" : kind == Kind::Usim ? "USIM" : "dual card"; }

QJsonObject readJson(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QJsonDocument::fromJson(f.readAll()).object();
}

// A task's end: "written: [EF ACM, ...] " and the note, or the error and its kind in brackets.
std::string outcome(const std::function<QJsonObject()>& task) {
    static const char* const kinds[] = {"reader", "removed", "card", "answer", "refused"};
    try {
        const QJsonObject out = task();
        QStringList written;
        for (const auto& v : out[QStringLiteral("written")].toArray()) written << v.toString();
        return ("written: [" + written.join(QStringLiteral(", ")) + "] " + out[QStringLiteral("note")].toString()).toStdString();
    } catch (const CardError& e) {
        return e.what() + std::string(" (") + kinds[int(e.kind)] + ")";
    }
}

QStringList names(const QJsonValue& list) {
    QStringList out;
    for (const auto& v : list.toArray()) out << (v.isObject() ? v.toObject()[QStringLiteral("file")].toString() : v.toString());
    return out;
}

class CardTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Rig::get().skip().isEmpty()) GTEST_SKIP() << "card tests skipped: " << Rig::get().skip().toStdString();
    }
    void TearDown() override {
        if (Rig::get().skip().isEmpty()) Rig::get().remove(0), Rig::get().remove(1);
    }
    // A GSM SIM (sim.json), a UICC with a USIM only (usim.json) or a card with both.
    static QJsonObject kindImage(Kind kind) {
        const QString base = QStringLiteral(KXSIM_SOURCE_DIR "/tests/card/");
        if (kind == Kind::Gsm) return readJson(base + "sim.json");
        QJsonObject image = readJson(base + "usim.json");
        if (kind == Kind::Dual) {
            QJsonObject files = image[QStringLiteral("files")].toObject();
            const QJsonObject gsm = readJson(base + "sim.json")[QStringLiteral("files")].toObject();
            for (auto it = gsm.begin(); it != gsm.end(); ++it)
                if (!files.contains(it.key())) files.insert(it.key(), it.value());
            image[QStringLiteral("files")] = files;
            image[QStringLiteral("classes")] = QJsonArray{QStringLiteral("A0"), QStringLiteral("00")};
        }
        return image;
    }
    // A copy of the base image of \a kind, changed by \a edit, in the card slot \a slot.
    QString insert(int slot, const std::function<void(QJsonObject&)>& edit = {}, Kind kind = Kind::Gsm) {
        QJsonObject image = kindImage(kind);
        if (edit) edit(image);
        const QString path = dir_.filePath(QStringLiteral("card%1.json").arg(slot));
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(QJsonDocument(image).toJson());
        out.close();
        Rig::get().insert(slot, path);
        return path;
    }
    // A file of the card's image: its data, or its records joined by commas.
    static QString content(const QString& card, const QString& name) {
        const QJsonObject files = readJson(card)[QStringLiteral("files")].toObject();
        if (!files.contains(name)) ADD_FAILURE() << "no file " << name.toStdString();
        const QJsonObject f = files[name].toObject();
        if (f.contains(QStringLiteral("data"))) return f[QStringLiteral("data")].toString();
        QStringList records;
        for (const auto& r : f[QStringLiteral("records")].toArray()) records << r.toString();
        return records.join(u',');
    }
    static void setFile(QJsonObject& image, const QString& name, const char* member, const QJsonValue& value) {
        QJsonObject files = image[QStringLiteral("files")].toObject();
        QJsonObject f = files[name].toObject();
        f[QLatin1String(member)] = value;
        files[name] = f;
        image[QStringLiteral("files")] = files;
    }
    static std::function<void(QJsonObject&)> fault(const char* name, const QJsonValue& value) {
        return [=](QJsonObject& image) { image[QStringLiteral("faults")] = QJsonObject{{QLatin1String(name), value}}; };
    }
    static int tries(const QString& path, const char* chv) {
        return readJson(path)[QStringLiteral("chv")].toObject()[QLatin1String(chv)].toObject()[QStringLiteral("tries")].toInt();
    }
    // The meter task with the dialog filled as \a fields says, \a look run before, closed with OK.
    static QJsonObject meter(Script& user, SessionOptions options, std::map<const char*, QString> fields,
                             std::function<void(QDialog&)> look = {}) {
        PcscReader reader(kReaders[0], {}, kWaitMs);
        CardSession card(reader, user, options);
        auto guard = whenShown(QStringLiteral("WAcm"), [&](QDialog& w) {
            if (look) look(w);
            for (const auto& [name, text] : fields) type(w, name, text);
        });
        return editMeter(card);
    }
    // The clone task from slot 0 to slot 1, \a pick choosing the files in its dialog.
    static QJsonObject clone(Script& user, std::function<void(QDialog&)> pick) {
        PcscReader from(kReaders[0], {}, kWaitMs), to(kReaders[1], {}, kWaitMs);
        CardSession a(from, user, {}), b(to, user, {});
        auto guard = whenShown(QStringLiteral("WCopysim"), std::move(pick));
        return cloneCard(a, b);
    }
    QTemporaryDir dir_;
};

// The meter files after the task: those a row names hold what it says, the others are as they were.
TEST_F(CardTest, meter_tasks_write_what_the_dialog_changed_or_stop_before_a_bad_write) {
    const auto invalidated = [](Kind kind) {
        return [=](QJsonObject& image) { setFile(image, appFile(kind, "6F39"), "invalidated", true); };
    };
    const auto price = [](const char* puct) {
        return [=](QJsonObject& image) { setFile(image, "3F00/7F20/6F41", "data", QLatin1String(puct)); };
    };
    const std::map<const char*, QString> all{{"TBAcm", "250"}, {"TBAmv", "2000"}, {"TBPpu", "4500"}, {"TBCcu", "CHF"}};
    const std::map<const char*, QString> units{{"TBAcm", "300"}, {"TBAmv", "3000"}};
    const std::deque<std::string> pins{"1234", "5678"};
    const struct { const char* what; Kind kind; std::function<void(QJsonObject&)> edit; std::map<const char*, QString> fields;
                   std::deque<std::string> pins; const char* outcome; std::map<const char*, const char*> after = {};
                   const char* price = nullptr; bool agree = true; } cases[] = {
        // The new value is record 1 of the cyclic file; the oldest one is gone.
        {"all four fields, GSM SIM", Kind::Gsm, {}, all, pins, "written: [EF ACM, EF ACMmax, EF PUCT] ",
         {{"6F39", "0000FA,0000C8,000064"}, {"6F37", "0007D0"}, {"6F41", "4348461C32"}}},  // 450 x 10^-1
        {"all four fields, USIM", Kind::Usim, {}, all, pins, "written: [EF ACM, EF ACMmax, EF PUCT] ",
         {{"6F39", "0000FA,0000C8,000064"}, {"6F37", "0007D0"}, {"6F41", "4348461C32"}}},
        // A price of 100.00 or more per unit does not fit the dialog: the meter is still written, the price left alone.
        {"a dear price stays on the card", Kind::Gsm, price("455552FF0F"), {{"TBAcm", "0"}, {"TBAmv", "500"}}, pins,
         "written: [EF ACM, EF ACMmax] the card's price per unit, 409500 hundredths", {{"6F39", "000000,0000C8,000064"},
         {"6F37", "0001F4"}}, ""},  // 4095.00 EUR
        // A price not in whole hundredths is rounded only when the user agrees, and not written back.
        {"a rounded price shown", Kind::Gsm, price("455552077D"), {}, {"1234"}, "written: [] ", {}, "13"},  // 125 x 10^-3
        {"a rounded price refused", Kind::Gsm, price("455552077D"), {}, {"1234"},
         "the price per unit was not rounded; nothing was changed (refused)", {}, "(no dialog)", false},
        {"a card pulled mid write, GSM SIM", Kind::Gsm, fault("remove_after_updates", 1), units, pins,
         "Written: EF ACM; not written: EF ACMmax (removed)", {{"6F39", "00012C,0000C8,000064"}}},
        {"a card pulled mid write, USIM", Kind::Usim, fault("remove_after_updates", 1), units, pins,
         "Written: EF ACM; not written: EF ACMmax (removed)", {{"6F39", "00012C,0000C8,000064"}}},
        // Card answers the tool cannot use: a clear error, and nothing written.
        {"technical problem on read", Kind::Gsm, fault("read_sw", "6F00"), {}, pins, "6F00: technical problem"},
        {"unknown status word", Kind::Gsm, fault("read_sw", "6A82"), {}, pins, "6A82: a status word a GSM SIM does not give"},
        {"ACM not cyclic", Kind::Gsm, fault("structure", QJsonObject{{"6F39", "transparent"}}), {}, pins,
         "EF ACM is not a cyclic file"},
        {"ACM invalidated on a GSM SIM", Kind::Gsm, invalidated(Kind::Gsm), {}, pins, "EF ACM is invalidated on the card"},
        {"ACM deactivated on a USIM", Kind::Usim, invalidated(Kind::Usim), {}, pins, "EF ACM is invalidated on the card"},
        {"security status on a USIM", Kind::Usim, fault("read_sw", "6982"), {}, pins, "6982: security status not satisfied"},
        {"a USIM without advice of charge", Kind::Usim,
         [](QJsonObject& image) { setFile(image, "3F00/7FFF/6F38", "data", "076E18000002"); }, {}, pins,
         "does not offer advice of charge (the call meter) (service 13 in EF UST)"},
    };
    for (const auto& c : cases) {
        const QString card = insert(0, c.edit, c.kind);
        std::map<QString, QString> expected;
        for (const char* ef : {"6F39", "6F37", "6F41"}) expected[ef] = content(card, appFile(c.kind, ef));
        for (const auto& [ef, data] : c.after) expected[ef] = data;
        Script user(c.pins, c.agree);
        QString shown = QStringLiteral("(no dialog)");
        const std::string result = outcome([&] {
            return meter(user, {}, c.fields, [&](QDialog& w) { shown = w.findChild<QLineEdit*>(QStringLiteral("TBPpu"))->text(); });
        });
        EXPECT_NE(result.find(c.outcome), std::string::npos) << c.what << ": " << result;
        if (c.price) {
            EXPECT_EQ(shown, QLatin1String(c.price)) << c.what;
        }
        for (const auto& [ef, data] : expected) EXPECT_EQ(content(card, appFile(c.kind, ef)), data) << c.what << ", " << ef.toStdString();
        for (const auto& prompt : user.prompts) EXPECT_EQ(prompt.find("1234"), std::string::npos) << c.what;
    }
}

TEST_F(CardTest, wrong_pin2_counts_down_and_the_tool_stops_at_one_try_left) {
    const struct { std::deque<std::string> pins; bool lastTry; const char* outcome; int triesAfter; } steps[] = {
        {{"1234", "0000"}, false, "wrong PIN2 for the card in \"Kestrix Virtual 00 00\": 2 tries left", 2},
        {{"1234", "0000"}, false, "1 try left", 1},
        {{"1234", "5678"}, false, "only one try is left for PIN2", 1},
        {{"1234", "5678"}, true, "written: [EF ACMmax] ", 3},
    };
    for (const Kind kind : {Kind::Gsm, Kind::Usim}) {
        const QString card = insert(0, {}, kind);
        for (const auto& step : steps) {
            Rig::get().insert(0, card);  // a fresh card for each step: a USIM keeps a verified PIN while it stays powered
            Script user(step.pins);
            const std::string result = outcome([&] { return meter(user, {step.lastTry, false}, {{"TBAmv", "900"}}); });
            EXPECT_NE(result.find(step.outcome), std::string::npos) << kindName(kind) << ": " << result;
            EXPECT_EQ(tries(card, "2"), step.triesAfter) << kindName(kind);
        }
        EXPECT_EQ(content(card, appFile(kind, "6F37")), QStringLiteral("000384")) << kindName(kind);
    }
}

TEST_F(CardTest, networks_round_trip_padded_with_empty_entries) {
    const QString ini = dir_.filePath(QStringLiteral("operators.ini"));
    QFile f(ini);
    f.open(QIODevice::WriteOnly);
    f.write("[Operators]\n26201=Telekom\n26202=Vodafone D2\n23415=Vodafone UK\n310260=T-Mobile US\n");
    f.close();
    // Drop the first network, add T-Mobile US at the end.
    const auto swap = [](QDialog& w) {
        auto* selected = w.findChild<QListWidget*>(QStringLiteral("List2"));
        auto* available = w.findChild<QListWidget*>(QStringLiteral("List1"));
        selected->setCurrentRow(0);
        w.findChild<QAbstractButton*>(QStringLiteral("CmdAddRemove(1)"))->click();
        available->setCurrentItem(available->findItems(QStringLiteral("T-Mobile US"), Qt::MatchExactly).value(0));
        w.findChild<QAbstractButton*>(QStringLiteral("CmdAddRemove(0)"))->click();
    };
    const auto forbidden = [](QJsonObject& image) {  // a test network and an international code first
        setFile(image, QStringLiteral("3F00/7FFF/6F7B"), "data", QStringLiteral("00F11009F14162F230FFFFFF"));
    };
    const struct { const char* what; Kind kind; NetworkList list; std::function<void(QJsonObject&)> edit;
                   std::function<void(QDialog&)> act; const char* before; const char* keys; const char* ef; QString data; } cases[] = {
        {"GSM preferred", Kind::Gsm, NetworkList::Preferred, {}, swap, "Telekom|Vodafone D2|Vodafone UK",
         "26202;23415;310260;", "6F30", QStringLiteral("62F22032F451130062") + QStringLiteral("FFFFFF").repeated(5)},
        {"USIM preferred: kept entries keep their access technologies", Kind::Usim, NetworkList::Preferred, {}, swap,
         "Telekom|Vodafone D2|? 00101", "26202;00101;310260;", "6F60",
         QStringLiteral("62F220808000F110C880130062C880") + QStringLiteral("FF").repeated(25)},
        {"USIM forbidden, unchanged: 001-01 and 901-14 come back as themselves", Kind::Usim, NetworkList::Forbidden,
         forbidden, {}, "? 00101|? 90114|? 26203", "00101;90114;26203;", "6F7B", QStringLiteral("00F11009F14162F230FFFFFF")},
        {"USIM operator list, shown only", Kind::Usim, NetworkList::Operator, {}, swap, "Telekom", "310260;", "6F61",
         QStringLiteral("62F210C880") + QStringLiteral("FF").repeated(35)},
    };
    for (const auto& c : cases) {
        const QString card = insert(0, c.edit, c.kind);
        Script user({"1234"});
        PcscReader reader(kReaders[0], {}, kWaitMs);
        CardSession session(reader, user, {});
        QStringList selectedBefore;
        auto guard = whenShown(QStringLiteral("WNetze"), [&](QDialog& w) {
            auto* selected = w.findChild<QListWidget*>(QStringLiteral("List2"));
            for (int i = 0; i < selected->count(); ++i) selectedBefore << selected->item(i)->text();
            if (c.act) c.act(w);
        });
        const QJsonObject out = editNetworks(session, c.list, ini.toStdU16String());
        EXPECT_EQ(selectedBefore.join(u'|'), QLatin1String(c.before)) << c.what;
        EXPECT_EQ(out[QStringLiteral("keys")].toString(), QLatin1String(c.keys)) << c.what;
        EXPECT_EQ(content(card, appFile(c.kind, c.ef)), c.data) << c.what;
    }
}

TEST_F(CardTest, clone_copies_matching_files_record_by_record_and_converts_between_a_gsm_sim_and_a_usim) {
    const auto blankPhonebook = [](QJsonObject& image) {
        QJsonArray records;
        for (int i = 0; i < 5; ++i) records << QStringLiteral("FF").repeated(20);
        const bool usim = image[QStringLiteral("files")].toObject().contains(QStringLiteral("3F00/7FFF"));
        setFile(image, usim ? QStringLiteral("3F00/7FFF/5F3A/4F3A") : QStringLiteral("3F00/7F10/6F3A"), "records", records);
    };
    const auto otherSizes = [](QJsonObject& image) {
        const auto blank = [](int count, int length, char c) {
            QJsonArray records;
            for (int i = 0; i < count; ++i) records << QString(length, QLatin1Char(c));
            return records;
        };
        setFile(image, "3F00/7F10/6F42", "records", blank(2, 56, 'F'));  // another size
        setFile(image, "3F00/7F10/6F3A", "records", blank(5, 40, '0'));
        setFile(image, "3F00/7F10/6F44", "records", blank(3, 28, '0'));
        QJsonObject files = image[QStringLiteral("files")].toObject();
        files.remove(QStringLiteral("3F00/7F10/6F3C"));  // no SMS file
        image[QStringLiteral("files")] = files;
    };
    const char* const gsmAdn = "3F00/7F10/6F3A";
    const char* const usimAdn = "3F00/7FFF/5F3A/4F3A";
    const struct { const char* what; Kind from, to; std::function<void(QJsonObject&)> target; const char* copied; const char* skipped;
                   std::vector<std::pair<const char*, const char*>> same;  // a target's file, the source's it now equals
                   std::vector<std::pair<const char*, QString>> data; } cases[] = {
        {"GSM SIM to GSM SIM", Kind::Gsm, Kind::Gsm, otherSizes,
         "EF ADN|EF FDN|EF MSISDN|EF LND|EF EXT1|EF PLMNsel|EF CBMI|EF FPLMN|EF LP", "EF SMS|EF EXT2|EF CCP|EF SMSP|EF SMSR",
         {{gsmAdn, gsmAdn}, {"3F00/7F10/6F44", "3F00/7F10/6F44"}, {"3F00/7F20/6F30", "3F00/7F20/6F30"}}, {}},
        {"GSM SIM to USIM", Kind::Gsm, Kind::Usim, blankPhonebook,
         "EF ADN|EF FDN|EF MSISDN|EF SMS|EF EXT1|EF SMSP|EF PLMNsel to EF PLMNwAcT|EF CBMI|EF FPLMN|EF LP to EF LI",
         "EF LND|EF EXT2|EF CCP|EF SMSR", {{usimAdn, gsmAdn}},
         {{"3F00/7FFF/6F60", QStringLiteral("62F210400062F220808032F451C880") + QStringLiteral("FF").repeated(25)},
          {"3F00/7FFF/6F05", QStringLiteral("656E6974FFFF")}, {"3F00/7FFF/6F45", QStringLiteral("0032FFFF")}}},
        {"USIM to GSM SIM", Kind::Usim, Kind::Gsm, blankPhonebook,
         "EF ADN|EF FDN|EF MSISDN|EF SMS|EF EXT1|EF SMSP|EF PLMNwAcT to EF PLMNsel|EF CBMI|EF FPLMN|EF LI to EF LP",
         "EF LND|EF EXT2|EF CCP|EF SMSR", {{gsmAdn, usimAdn}},
         {{"3F00/7F20/6F30", QStringLiteral("62F21062F22000F110") + QStringLiteral("FFFFFF").repeated(5)},
          {"3F00/7F20/6F05", QStringLiteral("0001FF")}}},
        {"USIM to USIM", Kind::Usim, Kind::Usim, blankPhonebook,
         "EF ADN|EF FDN|EF MSISDN|EF SMS|EF EXT1|EF EXT2|EF CCP2|EF SMSP|EF SMSR|EF PLMNwAcT|EF CBMI|EF FPLMN|EF LI", "EF LND",
         {{usimAdn, usimAdn}}, {{"3F00/7FFF/6F60", QStringLiteral("62F210400062F220808000F110C880") + QStringLiteral("FF").repeated(25)}}},
    };
    for (const auto& c : cases) {
        const QString source = insert(0, {}, c.from);
        const QString target = insert(1, c.target, c.to);
        Script user({"1234", "1234", "5678"});  // PIN of each card, the target's PIN2 (FDN)
        const QJsonObject out = clone(user, [](QDialog& w) { w.findChild<QAbstractButton*>(QStringLiteral("CBAll"))->click(); });
        EXPECT_EQ(out[QStringLiteral("result")].toInt(), -1) << c.what;
        EXPECT_EQ(names(out[QStringLiteral("copied")]).join(u'|').toStdString(), c.copied) << c.what;
        EXPECT_EQ(names(out[QStringLiteral("skipped")]).join(u'|').toStdString(), c.skipped)
            << c.what << ": " << QJsonDocument(out[QStringLiteral("skipped")].toArray()).toJson().toStdString();
        for (const auto& [to, from] : c.same) EXPECT_EQ(content(target, to), content(source, from)) << c.what << " " << to;
        for (const auto& [name, data] : c.data) EXPECT_EQ(content(target, name), data) << c.what << " " << name;
    }
}

// A refusal or a failure: before the first write nothing is written; after it, the summary says what was.
TEST_F(CardTest, clone_stops_name_what_was_copied) {
    const auto invalidatedSms = [](QJsonObject& image) { setFile(image, QStringLiteral("3F00/7F10/6F3C"), "invalidated", true); };
    const struct { const char* what; std::function<void(QJsonObject&)> target; std::deque<std::string> pins; const char* error;
                   const char* copied; const char* partly; const char* notCopied; } cases[] = {
        {"a wrong PIN2 for the target's FDN", {}, {"1234", "1234", "0000"}, "wrong PIN2", nullptr, nullptr, nullptr},
        {"the target pulled after three records", fault("remove_after_updates", 3), {"1234", "1234", "5678"}, "removed", "",
         "EF ADN", "EF FDN|EF SMS|EF EXT1"},
        {"an invalidated file is skipped", invalidatedSms, {"1234", "1234", "5678"}, nullptr, "EF ADN|EF FDN|EF EXT1", "", ""},
    };
    for (const auto& c : cases) {
        insert(0);
        const QString target = insert(1, c.target);
        const QString adnBefore = content(target, QStringLiteral("3F00/7F10/6F3A"));
        Script user(c.pins);
        try {
            const QJsonObject out = clone(user, [](QDialog& w) {  // ADN, FDN, SMS and the extensions and reports they bring
                for (const char* box : {"CBFile(1)", "CBFile(2)", "CBFile(5)"}) w.findChild<QAbstractButton*>(QLatin1String(box))->click();
            });
            EXPECT_EQ(c.error, nullptr) << c.what;
            EXPECT_EQ(names(out[QStringLiteral("copied")]).join(u'|'), QLatin1String(c.copied)) << c.what;
            EXPECT_TRUE(out[QStringLiteral("skipped")].toArray().first().toObject()[QStringLiteral("reason")].toString().contains(
                QStringLiteral("invalidated"))) << c.what;
        } catch (const TaskStopped& e) {
            ASSERT_NE(c.error, nullptr) << c.what << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
            EXPECT_EQ(names(e.summary[QStringLiteral("copied")]).join(u'|'), QLatin1String(c.copied)) << c.what;
            EXPECT_EQ(names(e.summary[QStringLiteral("partly")]).join(u'|'), QLatin1String(c.partly)) << c.what;
            EXPECT_EQ(names(e.summary[QStringLiteral("not_copied")]).join(u'|'), QLatin1String(c.notCopied)) << c.what;
        } catch (const CardError& e) {
            ASSERT_NE(c.error, nullptr) << c.what << ": " << e.what();
            EXPECT_EQ(c.copied, nullptr) << c.what << ": stopped after writing, with no summary: " << e.what();
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
            EXPECT_EQ(content(target, QStringLiteral("3F00/7F10/6F3A")), adnBefore) << c.what << ": written before the refusal";
        }
    }
}

}  // namespace

TEST_F(CardTest, status_of_a_card_and_of_an_empty_slot_on_the_command_line) {
    const struct { Kind kind; const char* app; QString out; } cases[] = {
        {Kind::Gsm, nullptr,
         QStringLiteral("{\"application\":\"GSM\",\"atr\":\"3B021450\",\"chv1\":{\"enabled\":true,\"tries\":3},\"chv2\":{\"enabled\":"
                        "true,\"tries\":3},\"iccid\":\"89490200001234567890\",\"present\":true,"
                        "\"reader\":\"Kestrix Virtual 00 00\"}\n")},
        {Kind::Usim, nullptr,  // a UICC that refuses class A0
         QStringLiteral("{\"aid\":\"A0000000871002FF49FF0589\",\"application\":\"USIM\",\"atr\":"
                        "\"3B9F96801FC78031A073BE21136743200718000001A5\",\"chv1\":{\"enabled\":true,\"tries\":3},"
                        "\"chv2\":{\"enabled\":true,\"tries\":3},\"iccid\":\"89490200001234567891\",\"present\":true,"
                        "\"reader\":\"Kestrix Virtual 00 00\"}\n")},
        {Kind::Dual, nullptr, QStringLiteral("\"application\":\"USIM\"")},
        {Kind::Dual, "gsm", QStringLiteral("\"application\":\"GSM\"")},
        {Kind::Usim, "gsm", QStringLiteral("class 00")},
    };
    for (const auto& c : cases) {
        insert(0, {}, c.kind);
        QStringList args{QStringLiteral("card"), QStringLiteral("status"), QStringLiteral("--reader"), QString::fromLatin1(kReaders[0])};
        if (c.app) args << QStringLiteral("--app") << QLatin1String(c.app);
        const auto run = kxsim::test::runKxsim(args);
        const bool refused = c.out.startsWith(QStringLiteral("class"));
        EXPECT_EQ(run.exitCode, refused ? 3 : 0) << run.err.toStdString();
        EXPECT_TRUE((refused ? run.err : run.out).contains(c.out)) << run.out.toStdString() << run.err.toStdString();
        if (c.out.endsWith(u'\n')) {
            EXPECT_EQ(run.out.toStdString(), c.out.toStdString());
        }
    }
    EXPECT_EQ(cardStatus(kReaders[1], {})[QStringLiteral("present")].toBool(), false);
}

// --timeout closes a card task's dialog as its close box would: exit 5, nothing written.
TEST_F(CardTest, a_timed_out_dialog_writes_nothing) {
    const QString card = insert(0, {}, Kind::Usim);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KXSIM_PROGRAM), {QStringLiteral("card"), QStringLiteral("meter"), QStringLiteral("--reader"),
                                           QString::fromLatin1(kReaders[0]), QStringLiteral("--timeout"), QStringLiteral("0.3"),
                                           QStringLiteral("--title"), QStringLiteral("Meter")});
    p.write("1234\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60'000));
    EXPECT_EQ(p.exitCode(), 5) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(p.readAllStandardOutput().contains("\"written\":[]"));
    EXPECT_EQ(content(card, QStringLiteral("3F00/7FFF/6F39")), QStringLiteral("0000C8,000064,000000"));
}

// The workbench's card page as a user works it: mouse and keys only, the PIN in the page's password field.
TEST_F(CardTest, workbench_card_page_edits_the_meter_with_clicks_and_keys) {
    const QString card = insert(0);
    ASSERT_TRUE(kxsim::tooling::startApplication());
    QWidget window;
    auto* root = new QHBoxLayout(&window);
    auto* buttons = new QVBoxLayout;
    auto* pages = new QStackedWidget;
    auto* log = new QPlainTextEdit;
    root->addLayout(buttons);
    root->addWidget(pages);
    root->addWidget(log);
    QButtonGroup group(&window);
    kxsim::tool::addCardPage(group, *buttons, *pages, log);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Every button shows its whole text, with the virtual readers' long names in the lists.
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        EXPECT_GE(button->width(), button->minimumSizeHint().width()) << button->text().toStdString();
    auto* reader = window.findChild<QComboBox*>(QStringLiteral("card-reader"));
    reader->setCurrentIndex(reader->findText(QLatin1String(kReaders[0])));
    ASSERT_EQ(reader->currentText(), QLatin1String(kReaders[0]));

    // Each modal window is answered once it is up; anything else is cancelled so nothing waits forever.
    QStringList answered;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal || !modal->isVisible()) return;
        if (modal->objectName() == u"card-pin") {
            auto* field = modal->findChild<QLineEdit*>(QStringLiteral("card-pin-field"));
            answered << (field->echoMode() == QLineEdit::Password ? QStringLiteral("PIN") : QStringLiteral("PIN shown"));
            QTest::keyClicks(field, QStringLiteral("1234"));
            QTest::keyClick(field, Qt::Key_Return);
        } else if (modal->objectName() == u"WAcm") {
            answered << modal->objectName();
            auto* total = modal->findChild<QLineEdit*>(QStringLiteral("TBAcm"));
            QTest::keyClick(total, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(total, QStringLiteral("321"));
            QTest::mouseClick(modal->findChild<QAbstractButton*>(QStringLiteral("CBAction(1)")), Qt::LeftButton);
        } else {
            answered << QStringLiteral("unexpected ") + modal->objectName() + modal->windowTitle();
            modal->reject();
        }
    });
    user.start(20);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("card-meter")), Qt::LeftButton);
    user.stop();

    EXPECT_EQ(answered.join(QStringLiteral(", ")).toStdString(), "PIN, WAcm");
    const QString line = log->toPlainText();
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^\d\d:\d\d:\d\d card meter: \{"acm":"321","amv".*"application":"GSM".*"result":1,"written":\["EF ACM"\]\}$)"))
                    .match(line).hasMatch()) << line.toStdString();
    EXPECT_FALSE(line.contains(QStringLiteral("1234")));
    // The readable fields beside the log.
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("card-fact-application"))->text(), QStringLiteral("GSM"));
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("card-fact-meter"))->text().startsWith(QStringLiteral("321 of 1000 units")));
    EXPECT_EQ(content(card, QStringLiteral("3F00/7F20/6F39")), QStringLiteral("000141,0000C8,000064"));
}
