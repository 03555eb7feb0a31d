// The second family's state file: the demo phones, round trips and what is refused.
#include "dialect2_support.h"

#include "phonesim/dialect2_state_file.h"

#include <QDir>

namespace {

using phonesim::MakeDialect2;
using phonesim::Phone;

QString DemoPath(int model)
{
    return QDir(QStringLiteral(DESKHAND_SOURCE_DIR)).filePath(QStringLiteral("phonesim/examples/demo_phone2_model%1.json").arg(model));
}

TEST(Dialect2StateFile, DemoPhonesLoadForTheirModelsAndRoundTrip)
{
    for (int model = 1; model <= 3; ++model) {
        Phone phone(MakeDialect2(model));
        QString error;
        ASSERT_TRUE(phonesim::LoadDialect2StateFile(DemoPath(model), phone.state(), &error)) << error.toStdString();
        const phonesim::Dialect2State& loaded = phone.state().dialect2;
        EXPECT_EQ(loaded.groups.size(), model == 1 ? 0u : model == 2 ? 7u : 8u) << model;
        EXPECT_EQ(loaded.handset.entries.at(3).name, QStringLiteral("王小明"));
        EXPECT_EQ(loaded.handset.entries.at(2).numbers[2].number, QStringLiteral("+2348031234567"));
        EXPECT_EQ(loaded.organizer.size(), 5u);
        EXPECT_EQ(*loaded.organizer[0].alarm, QDateTime(QDate(2004, 3, 7), QTime(8, 55)));
        EXPECT_EQ(phone.state().handsetMessages.entries.size(), 5u); // the last with a sound in it
        EXPECT_TRUE(phone.state().asleep);
        EXPECT_EQ(phone.state().sleepAfterMs, 5000);

        const QByteArray saved = phonesim::SerializeDialect2State(phone.state());
        Phone again(MakeDialect2(model));
        ASSERT_TRUE(phonesim::ParseDialect2State(saved, again.state(), &error)) << error.toStdString();
        EXPECT_EQ(phonesim::SerializeDialect2State(again.state()), saved) << model;
    }
}

// The model's defaults stay where the file says nothing; numbers left out take the kinds left.
TEST(Dialect2StateFile, MissingMembersKeepTheModelsDefaults)
{
    Phone phone(MakeDialect2(3));
    ASSERT_TRUE(phonesim::ParseDialect2State(
        R"({"line": {"asleep": false, "atPrompt": true}, "handset": {"entries": [{"index": 9, "numbers": [{"number": "1", "kind": 2}]}]}})",
        phone.state(), nullptr));
    const phonesim::Dialect2State& state = phone.state().dialect2;
    EXPECT_EQ(state.handset.last, 200);
    EXPECT_EQ(state.sim.last, 250);
    EXPECT_EQ(state.groups.size(), 8u);
    const auto& numbers = state.handset.entries.at(9).numbers;
    EXPECT_EQ(numbers[0].kind, 2);
    EXPECT_EQ(numbers[1].kind, 1);
    EXPECT_EQ(numbers[2].kind, 3);
    EXPECT_EQ(state.handset.entries.at(9).group, 255);
    EXPECT_FALSE(phone.state().asleep);
    EXPECT_TRUE(phone.state().atPrompt);
}

TEST(Dialect2StateFile, RefusesWhatThePhoneCannotHold)
{
    const struct {
        int model;
        const char* json;
        const char* error;
    } cases[] = {
        {1, R"({"groups": [{"name": "A"}]})", "state.groups: model 1 has no caller groups"},
        {2, R"({"groups": []})", "state.groups: expected 1 to 10 groups"},
        {2, R"({"handset": {"entries": [{"index": 1, "group": 7}]}})", "state.handset.entries[0].group: expected a group of the table or 255"},
        {2, R"({"handset": {"entries": [{"index": 201}]}})", "state.handset.entries[0].index: expected a whole number from 1 to 200"},
        {2, R"({"handset": {"entries": [{"index": 1, "numbers": [{}, {}, {}, {}]}]}})", "state.handset.entries[0]: at most three numbers"},
        {2, R"({"handset": {"entries": [{"index": 1, "mobile": "1"}]}})", "state.handset.entries[0]: unknown member \"mobile\""},
        {2, R"({"sim": {"ready": 1}})", "state.sim.ready: expected true or false"},
        {2, R"({"organizer": [{"index": 0, "kind": 2, "start": "2004-01-01T12:00:00", "repeat": 1}]})", "state.organizer[0]: a memo has no repeat or alarm"},
        {2, R"({"organizer": [{"index": 0, "start": "2004-01-01T12:00:00"}, {"index": 0, "start": "2004-01-01T12:00:00"}]})", "state.organizer[1].index: 0 is given twice"},
        {2, R"({"organizer": [{"index": 20, "start": "2004-01-01T12:00:00"}]})", "state.organizer[0].index: expected a whole number from 0 to 19"},
        {2, R"({"organizer": [{"index": 0, "start": "1850-01-01T12:00:00"}]})", "state.organizer[0].start: expected a time in 1900 to 2100"},
        {2, R"({"organizer": [{"index": 0}]})", "state.organizer[0].start: expected a time in 1900 to 2100"},
        {3, R"({"messages": {"sim": {"entries": [{"index": 1}]}}})", "state.messages.sim.entries[0]: needs a pdu, or a number and a text"},
    };
    for (const auto& c : cases) {
        Phone phone(MakeDialect2(c.model));
        QString error;
        EXPECT_FALSE(phonesim::ParseDialect2State(c.json, phone.state(), &error)) << c.json;
        EXPECT_EQ(error, QString::fromUtf8(c.error)) << c.json;
        EXPECT_TRUE(phone.state().dialect2.handset.entries.empty());
    }
}

} // namespace
