#include "phonesim/phone.h"
#include "phonesim/state_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using phonesim::PhoneState;

QString DemoStatePath()
{
    return QDir(QStringLiteral(DESKHAND_SOURCE_DIR)).filePath(QStringLiteral("phonesim/examples/demo_phone.json"));
}

TEST(StateFile, TheDemoPhoneLoads)
{
    PhoneState state;
    QString error;
    ASSERT_TRUE(phonesim::LoadPhoneStateFile(DemoStatePath(), state, &error)) << error.toStdString();
    EXPECT_EQ(state.groups.size(), PhoneState::kGroupCount);
    EXPECT_GE(state.handset.entries.size(), 5u);
    EXPECT_EQ(state.handset.entries.at(3).name, QStringLiteral("王小明"));
    EXPECT_GE(state.sim.entries.size(), 2u);
    EXPECT_GE(state.schedules.entries.size(), 2u);
    EXPECT_GE(state.memos.entries.size(), 2u);
    EXPECT_EQ(state.handsetMessages.entries.size() + state.simMessages.entries.size(), 2u);
    // Messages given by number and text got their PDU.
    EXPECT_FALSE(state.simMessages.entries.at(1).pdu.isEmpty());
}

TEST(StateFile, RoundTrip)
{
    PhoneState state;
    ASSERT_TRUE(phonesim::LoadPhoneStateFile(DemoStatePath(), state, nullptr));
    state.fdn = true;
    state.handset.memoLength = 70;
    const QByteArray saved = phonesim::SerializePhoneState(state);
    PhoneState loaded;
    QString error;
    ASSERT_TRUE(phonesim::ParsePhoneState(saved, loaded, &error)) << error.toStdString();
    EXPECT_EQ(phonesim::SerializePhoneState(loaded), saved);
    EXPECT_TRUE(loaded.fdn);
    EXPECT_EQ(loaded.schedules.entries.at(1).start, QDateTime(QDate(2004, 3, 7), QTime(9, 5)));
}

TEST(StateFile, MissingMembersKeepTheDefaults)
{
    PhoneState state;
    ASSERT_TRUE(phonesim::ParsePhoneState(R"({"handset": {"entries": [{"index": 9, "name": "X"}]}})", state, nullptr));
    EXPECT_EQ(state.handset.last, 255);
    EXPECT_EQ(state.handset.entries.at(9).group, 6);
    EXPECT_EQ(state.sim.last, 100);
    EXPECT_EQ(state.groups.last(), QStringLiteral("Others"));
    ASSERT_TRUE(phonesim::ParsePhoneState("{}", state, nullptr));
}

TEST(StateFile, RefusesBadStatesAndSaysWhere)
{
    const struct {
        const char* json;
        const char* error;
    } cases[] = {
        {"[", "not JSON"},
        {"[]", "state: expected an object"},
        {R"({"phone": {}})", "state: unknown member \"phone\""},
        {R"({"handset": {"last": "255"}})", "state.handset.last: expected a whole number"},
        {R"({"handset": {"first": 10, "last": 5}})", "state.handset: last comes before first"},
        {R"({"handset": {"entries": [{"index": 256}]}})", "state.handset.entries[0].index: expected a whole number from 1 to 255"},
        {R"({"handset": {"entries": [{"index": 2}, {"index": 2}]}})", "state.handset.entries[1].index: 2 is given twice"},
        {R"({"handset": {"entries": [{"name": "x"}]}})", "state.handset.entries[0].index: missing"},
        {R"({"handset": {"entries": [{"index": 1, "email": 5}]}})", "state.handset.entries[0].email: expected a string"},
        {R"({"sim": {"entries": [{"index": 1, "email": ""}]}})", "state.sim.entries[0]: unknown member \"email\""},
        {R"({"sim": {"fdn": 1}})", "state.sim.fdn: expected true or false"},
        {R"({"groups": ["a","b","c","d","e","f","g","h"]})", "state.groups: expected an array of up to seven names"},
        {R"({"schedules": {"entries": [{"index": 1, "start": "1999-12-31T10:00"}]}})", "state.schedules.entries[0].start: expected a time in 2000 to 2099"},
        {R"({"schedules": {"entries": [{"index": 1, "start": "tomorrow"}]}})", "state.schedules.entries[0].start: expected a date and time"},
        {R"({"memos": {"entries": [{"index": 1, "text": null}]}})", "state.memos.entries[0].text: expected a string"},
        {R"({"messages": {"sim": {"entries": [{"index": 1}]}}})", "state.messages.sim.entries[0]: needs a pdu, or a number and a text"},
        {R"({"messages": {"sim": {"entries": [{"index": 1, "pdu": "0G"}]}}})", "state.messages.sim.entries[0].pdu: expected hexadecimal octets"},
        {R"({"messages": {"sim": {"total": 1, "entries": [{"index": 1, "pdu": "00"}, {"index": 2, "pdu": "00"}]}}})",
            "state.messages.sim.entries[1]: more messages than the storage holds"},
    };
    for (const auto& c : cases) {
        PhoneState state;
        state.handset.entries[1].name = QStringLiteral("kept");
        QString error;
        EXPECT_FALSE(phonesim::ParsePhoneState(c.json, state, &error)) << c.json;
        EXPECT_TRUE(error.startsWith(QString::fromLatin1(c.error))) << c.json << " -> " << error.toStdString();
        // A refused file changes nothing.
        EXPECT_EQ(state.handset.entries.size(), 1u) << c.json;
        EXPECT_EQ(state.handset.last, 255) << c.json;
    }
}

TEST(StateFile, ThePhoneSavesEveryChange)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("phone.json"));
    phonesim::Phone phone;
    phone.state().echo = false;
    int saves = 0;
    phone.setContentsObserver([&](const PhoneState& state) {
        ++saves;
        ASSERT_TRUE(phonesim::SavePhoneStateFile(path, state, nullptr));
    });
    phone.receive("AT+CMDW=,\"\"\r");
    phone.receive("AT+CMDR=1,20\r"); // reading changes nothing
    EXPECT_EQ(saves, 1);
    PhoneState reloaded;
    ASSERT_TRUE(phonesim::LoadPhoneStateFile(path, reloaded, nullptr));
    EXPECT_EQ(reloaded.memos.entries.count(1), 1u);
    EXPECT_EQ(QFile(path).permissions() & (QFile::ReadOther | QFile::WriteOther), QFile::Permissions());
}

} // namespace
