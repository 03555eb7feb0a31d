// A write or delete that went out and whose answer never came: the phone may have carried it
// out, so the session says so, keeps no index it was not given, and names a reason.
#include "phone_session_fixture.h"

#include "link/message_pump.h"
#include "phonesim/sms_pdu.h"

#include <functional>

namespace {

using phonesim::Fault;

class UnansweredCommandTest : public PhoneSessionTest {
protected:
    struct Operation {
        const char* name;
        const char* pattern;
        bool forMessages;
        // Runs the operation; *index is the written record's index afterwards.
        std::function<bool(CPhoneSession&, int* index)> run;
        // True once the phone holds the change.
        std::function<bool(const phonesim::PhoneState&)> done;
    };

    void fill()
    {
        auto& state = phone.state();
        state.handset.entries = {{5, {0, QStringLiteral("Old"), QStringLiteral("1")}}};
        state.sim.entries = {{5, {0, QStringLiteral("Old"), QStringLiteral("1")}}};
        state.schedules.entries = {{5, {QDateTime(QDate(2004, 3, 7), QTime(9, 5)), 0, 0, QStringLiteral("Old")}}};
        state.memos.entries = {{5, QStringLiteral("Old")}};
        phonesim::StoredMessage message;
        message.pdu = phonesim::MakeDeliverPdu(QStringLiteral("+4917012345"), QStringLiteral("x"), QDateTime(QDate(2004, 3, 7), QTime(9, 5)));
        state.simMessages.entries = {{5, message}};
    }

    const std::vector<Operation> operations {
        {"handset write", "AT+CPBW=*", false,
            [](CPhoneSession& s, int* index) {
                CPhoneEntry record;
                record.m_strName = QStringLiteral("New");
                const bool ok = s.SelectHandsetBook() && s.WriteHandsetEntry(record);
                *index = record.m_nIndex;
                return ok;
            },
            [](const phonesim::PhoneState& p) { return p.handset.entries.size() == 2; }},
        {"SIM write", "AT+CPBW=*", false,
            [](CPhoneSession& s, int* index) {
                CPhoneEntry record;
                record.m_strName = QStringLiteral("New");
                record.m_strMobile = QStringLiteral("2");
                const bool ok = s.SelectSimBook() && s.WriteSimEntry(record);
                *index = record.m_nSimIndex;
                return ok;
            },
            [](const phonesim::PhoneState& p) { return p.sim.entries.size() == 2; }},
        {"schedule write", "AT+CXDW=*", false,
            [](CPhoneSession& s, int* index) {
                CScheduleEntry record;
                record.m_dtStart.SetDateTime(2004, 3, 8, 9, 5, 0);
                const bool ok = s.Connect(false) && s.WriteSchedule(record);
                *index = record.m_nIndex;
                return ok;
            },
            [](const phonesim::PhoneState& p) { return p.schedules.entries.size() == 2; }},
        {"memo write", "AT+CMDW=*", false,
            [](CPhoneSession& s, int* index) {
                CMemoEntry record;
                record.m_strText = QStringLiteral("New");
                const bool ok = s.Connect(false) && s.WriteMemo(record);
                *index = record.m_nIndex;
                return ok;
            },
            [](const phonesim::PhoneState& p) { return p.memos.entries.size() == 2; }},
        {"handset delete", "AT+CPBW=*", false,
            [](CPhoneSession& s, int*) { return s.SelectHandsetBook() && s.DeleteHandsetEntry(5); },
            [](const phonesim::PhoneState& p) { return p.handset.entries.empty(); }},
        {"SIM delete", "AT+CPBW=*", false,
            [](CPhoneSession& s, int*) { return s.SelectSimBook() && s.DeleteSimEntry(5); },
            [](const phonesim::PhoneState& p) { return p.sim.entries.empty(); }},
        {"schedule delete", "AT+CXDW=*", false,
            [](CPhoneSession& s, int*) { return s.Connect(false) && s.DeleteSchedule(5); },
            [](const phonesim::PhoneState& p) { return p.schedules.entries.empty(); }},
        {"memo delete", "AT+CMDW=*", false,
            [](CPhoneSession& s, int*) { return s.Connect(false) && s.DeleteMemo(5); },
            [](const phonesim::PhoneState& p) { return p.memos.entries.empty(); }},
        {"message delete", "AT+CMGD=*", true,
            [](CPhoneSession& s, int*) { return s.Connect(true) && s.DeleteMessage(5, 4); },
            [](const phonesim::PhoneState& p) { return p.simMessages.entries.empty(); }},
    };
};

TEST_F(UnansweredCommandTest, TheOutcomeOfEveryWriteAndDeleteIsToldApart)
{
    const struct {
        const char* what;
        Fault fault;
        bool unconfirmed;
        const char* reason;
    } faults[] = {
        {"silent after acting", Fault::lost(), true, "Timeout"},
        {"line lost after acting", Fault::lostThenClose(), true, "The line to the phone was lost"},
        {"answer past the time limit", Fault::delay(15000), true, "Timeout"},
        {"a call, the final result late", Fault::lateFinal(3000), true, "Calling"},
        // Answers, though not the hoped-for ones: the phone said what it did.
        {"refused", Fault::error(), false, "The phone refused the command"},
        {"refused with a code", Fault::cmeError(100), false, "The phone reported an error"},
    };
    for (const Operation& op : operations) {
        for (const auto& f : faults) {
            fill();
            phone.clearFaults();
            phone.injectFault(op.pattern, f.fault, 1);
            g_nLastError = 0;
            int index = -7;
            EXPECT_FALSE(op.run(session, &index)) << op.name << ", " << f.what;
            EXPECT_EQ(session.m_bUnconfirmed, f.unconfirmed) << op.name << ", " << f.what;
            EXPECT_EQ(op.done(phone.state()), f.fault.carriesOutCommand()) << op.name << ", " << f.what;
            // A new entry takes no index the phone never named.
            if (index != -7) {
                EXPECT_EQ(index, -1) << op.name << ", " << f.what;
            }
            EXPECT_EQ(ErrorReasonText(g_nLastError), QString::fromLatin1(f.reason)) << op.name << ", " << f.what;
            session.Disconnect();
        }
    }
}

TEST_F(UnansweredCommandTest, ARefusalBeforeAnyCommandIsNoUnansweredOne)
{
    fill();
    phone.injectFault("AT+CPBW=*", Fault::lost(), 1);
    ASSERT_TRUE(session.SelectHandsetBook());
    EXPECT_FALSE(session.DeleteHandsetEntry(5));
    EXPECT_TRUE(session.m_bUnconfirmed);
    // The next command that never went out clears it.
    EXPECT_FALSE(session.DeleteHandsetEntry(9999));
    EXPECT_FALSE(session.m_bUnconfirmed);
    EXPECT_EQ(ErrorReasonText(g_nLastError), QStringLiteral("Nothing was sent to the phone"));
    session.Disconnect();

    // A SIM write the phone took without naming where fails with that reason.
    ASSERT_TRUE(session.SelectSimBook());
    phone.injectFault("AT+CPBW=*", Fault::reply("\r\nOK\r\n"), 1);
    CPhoneEntry record;
    EXPECT_FALSE(session.WriteSimEntry(record));
    EXPECT_EQ(session.m_nResult, SESSION_NO_INDEX);
    EXPECT_FALSE(session.m_bUnconfirmed);
    EXPECT_EQ(ErrorReasonText(g_nLastError), QStringLiteral("The phone named no index for the new entry"));
    session.Disconnect();
}

TEST_F(UnansweredCommandTest, APortThatDoesNotOpenIsNamed)
{
    lines.setHeldElsewhere(true);
    RecordList<CMemoEntry> list;
    EXPECT_FALSE(session.ReadMemos(list));
    EXPECT_EQ(session.m_nResult, SESSION_NO_PORT);
    EXPECT_EQ(ErrorReasonText(g_nLastError), QStringLiteral("Port is invalid"));
    EXPECT_TRUE(phone.commandLog().isEmpty());
}

} // namespace
