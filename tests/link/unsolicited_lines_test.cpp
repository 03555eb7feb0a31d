// Unsolicited result codes and line noise wherever they arrive in a reply: every list still reads
// whole, every write learns the index the phone gave it, and a list whose pieces cannot be read
// fails instead of passing for the whole.
#include "phone_session_fixture.h"
#include "support/unsolicited_faults.h"

#include "phonesim/sms_pdu.h"

#include <functional>

namespace {

using phonesim::Fault;

class UnsolicitedLinesTest : public PhoneSessionTest {
protected:
    // One list of the phone: the commands of its read, and the indices a read gives.
    struct List {
        const char* name;
        QStringList patterns;
        std::function<QStringList(CPhoneSession&, bool&)> read;
    };

    // Entries 1 and 3 in every list, and the session's view of what a read brings back.
    UnsolicitedLinesTest()
    {
        phone.state().handset.last = 10;
        phone.state().sim.last = 10;
        for (const int index : {1, 3}) {
            const QString name = QStringLiteral("N%1").arg(index);
            phone.state().handset.entries[index] = {0, name, QStringLiteral("12%1").arg(index)};
            phone.state().sim.entries[index] = {0, name, QStringLiteral("34%1").arg(index)};
            phone.state().schedules.entries[index] = {QDateTime(QDate(2004, 3, index), QTime(9, 5)), 0, 0, name};
            phone.state().memos.entries[index] = name;
            phonesim::StoredMessage message;
            message.pdu = phonesim::MakeDeliverPdu(QStringLiteral("+4917012345"), name, QDateTime(QDate(2004, 3, 7), QTime(9, 5)));
            phone.state().simMessages.entries[index] = message;
        }
    }

    // "1 N1" for entry 1 named N1: its index and every text field, so that a stray line shows
    // wherever it ends up.
    template <typename Record, typename Index, typename... Texts>
    static QStringList Summary(const RecordList<Record>& list, Index index, Texts... texts)
    {
        QStringList summary;
        for (const auto& record : list)
            summary << QString::number((*record).*index) + u' ' + (QString() + ... + ((*record).*texts));
        return summary;
    }

    const std::vector<List> lists {
        {"handset", {"AT+CPGR=*", "AT+CPBS?", "AT+CPBR=*"},
            [](CPhoneSession& s, bool& ok) {
                RecordList<CPhoneEntry> list;
                ok = s.ReadHandsetBook(list);
                return Summary(list, &CPhoneEntry::m_nIndex, &CPhoneEntry::m_strName, &CPhoneEntry::m_strEmail,
                    &CPhoneEntry::m_strMemo);
            }},
        {"sim", {"AT+CPGR=*", "AT+CPBS?", "AT+CPBR=*"},
            [](CPhoneSession& s, bool& ok) {
                RecordList<CPhoneEntry> list;
                ok = s.ReadSimBook(list);
                return Summary(list, &CPhoneEntry::m_nSimIndex, &CPhoneEntry::m_strName);
            }},
        {"schedules", {"AT+CXDR=*"},
            [](CPhoneSession& s, bool& ok) {
                RecordList<CScheduleEntry> list;
                ok = s.ReadSchedules(list);
                return Summary(list, &CScheduleEntry::m_nIndex, &CScheduleEntry::m_strSubject);
            }},
        {"memos", {"AT+CMDR=*"},
            [](CPhoneSession& s, bool& ok) {
                RecordList<CMemoEntry> list;
                ok = s.ReadMemos(list);
                return Summary(list, &CMemoEntry::m_nIndex, &CMemoEntry::m_strText);
            }},
        {"messages", {"AT+CPMS=*", "AT+CMGL=*"},
            [this](CPhoneSession& s, bool& ok) {
                RecordList<CSmsEntry> list;
                ok = s.ReadMessages(list);
                // Each message keeps its own PDU, never one that came unasked.
                QStringList summary;
                for (const auto& record : list) {
                    const bool own = record->m_strPdu.toLatin1() == phone.state().simMessages.entries[record->m_nIndex].pdu;
                    summary << QStringLiteral("%1 %2").arg(record->m_nIndex).arg(own ? QStringLiteral("N%1").arg(record->m_nIndex) : record->m_strPdu);
                }
                return summary;
            }},
    };
};

TEST_F(UnsolicitedLinesTest, ListsReadWholeWhereverUnsolicitedLinesAndNoiseArrive)
{
    // A RING is a call: it ends the command with the "Calling" box, as it always has.
    const std::vector<testsupport::UnsolicitedFault> faults = testsupport::UnsolicitedFaults(false);
    for (const List& list : lists) {
        for (const auto& f : faults) {
            phone.clearFaults();
            for (const QString& pattern : list.patterns)
                phone.injectFault(pattern.toLatin1(), f.fault);
            bool ok = false;
            EXPECT_EQ(list.read(session, ok), QStringList({"1 N1", "3 N3"})) << list.name << ", " << f.what;
            EXPECT_TRUE(ok) << list.name << ", " << f.what << ": result " << session.m_nResult;
        }
    }
    // A text-mode message that looks like an entry belongs to its +CMT line and is no entry.
    phone.clearFaults();
    phone.injectFault("AT+CPBR=0,10", Fault::amid("+CMT: \"+1999\",,\"04/03/07,09:05:00+04\"\r\n"
                                                  "+CPBR: 9,0,\"1999\",129,\"\",255,\"\",255,\"QQBC\",\"\",\"\"\r\n"));
    bool ok = false;
    EXPECT_EQ(lists[0].read(session, ok), QStringList({"1 N1", "3 N3"}));
    EXPECT_TRUE(ok);
    // The capacities came from the lines that answered, not from "+CMTI: \"SM\",5".
    EXPECT_EQ(g_nHandsetCapacity, 10);
    EXPECT_EQ(g_nHandsetNumberLen, phone.state().handset.numberLength);
    EXPECT_EQ(g_nSmsSimUsed, 2);
}

TEST_F(UnsolicitedLinesTest, AListWhosePiecesCannotBeReadFails)
{
    const QByteArray entry1 = "+CPBR: 1,0,\"121\",129,\"\",255,\"\",255,\"TgAxAA==\",\"\",\"\"";
    const struct {
        const char* what;
        int list; // of `lists`
        const char* command;
        QByteArray reply;
    } cases[] = {
        {"an entry lost: fewer than the book holds", 0, "AT+CPBR=0,10", "\r\n" + entry1 + "\r\n\r\nOK\r\n"},
        {"an entry behind noise on its line", 0, "AT+CPBR=0,10",
            "\r\n" + entry1 + "\r\n\x01~+CPBR: 3,0,\"123\",129,\"\",255,\"\",255,\"TgAzAA==\",\"\",\"\"\r\n\r\nOK\r\n"},
        {"an entry cut inside its name", 0, "AT+CPBR=0,10",
            "\r\n" + entry1 + "\r\n+CPBR: 3,0,\"123\",129,\"\",255,\"\",255,\"TgAzAA==\",\"\",\"TgA\r\n\r\nOK\r\n"},
        {"a schedule entry behind noise", 2, "AT+CXDR=1,30",
            "\r\n+CXDR: 1,0,0,\"040301\",\"0905\",\"TgAxAA==\"\r\n\x02\x03+CXDR: 3,0,0,\"040303\",\"0905\",\"TgAzAA==\"\r\n\r\nOK\r\n"},
        {"a message without its PDU", 4, "AT+CMGL=4", "\r\n+CMGL: 1,1,,23\r\n+CMGL: 3,1,,23\r\n\r\nOK\r\n"},
        {"a message lost", 4, "AT+CMGL=4",
            "\r\n+CMGL: 1,1,,23\r\n" + phone.state().simMessages.entries[1].pdu + "\r\n\r\nOK\r\n"},
        {"no used count", 0, "AT+CPBS?", "\r\n+CMTI: \"SM\",5\r\n\r\nOK\r\n"},
    };
    for (const auto& c : cases) {
        phone.clearFaults();
        phone.injectFault(c.command, Fault::reply(c.reply), 1);
        bool ok = true;
        lists[c.list].read(session, ok);
        EXPECT_FALSE(ok) << c.what;
        EXPECT_TRUE(session.m_nResult == SESSION_BAD_REPLY || session.m_nResult == SESSION_BAD_LINE)
            << c.what << ": result " << session.m_nResult;
        EXPECT_FALSE(session.m_bConnected) << c.what;
    }
}

TEST_F(UnsolicitedLinesTest, AWriteTakesItsIndexFromItsOwnAnswer)
{
    // Entry 1 belongs to someone else in every list; a new entry goes to 2.
    const struct {
        const char* name;
        const char* pattern;
        std::function<bool(CPhoneSession&)> open;
        std::function<int(CPhoneSession&, bool&)> write;
    } writes[] = {
        {"handset", "AT+CPBW=*", [](CPhoneSession& s) { return s.SelectHandsetBook(); },
            [](CPhoneSession& s, bool& ok) {
                CPhoneEntry record;
                record.m_strName = QStringLiteral("New");
                ok = s.WriteHandsetEntry(record);
                return record.m_nIndex;
            }},
        {"sim", "AT+CPBW=*", [](CPhoneSession& s) { return s.SelectSimBook(); },
            [](CPhoneSession& s, bool& ok) {
                CPhoneEntry record;
                record.m_strName = QStringLiteral("New");
                record.m_strMobile = QStringLiteral("555");
                ok = s.WriteSimEntry(record);
                return record.m_nSimIndex;
            }},
        {"schedule", "AT+CXDW=*", [](CPhoneSession& s) { return s.Connect(false); },
            [](CPhoneSession& s, bool& ok) {
                CScheduleEntry record;
                record.m_dtStart.SetDateTime(2004, 3, 7, 9, 5, 0);
                ok = s.WriteSchedule(record);
                return record.m_nIndex;
            }},
        {"memo", "AT+CMDW=*", [](CPhoneSession& s) { return s.Connect(false); },
            [](CPhoneSession& s, bool& ok) {
                CMemoEntry record;
                record.m_strText = QStringLiteral("New");
                ok = s.WriteMemo(record);
                return record.m_nIndex;
            }},
    };
    const struct {
        const char* what;
        Fault fault;
    } faults[] = {
        {"+CREG: 1 first", Fault::before("\r\n+CREG: 1\r\n")},
        {"+CMTI first", Fault::before("\r\n+CMTI: \"SM\",5\r\n")},
        {"noise first", Fault::before("\r\n1 \r\n")},
        {"+CREG: 1 amid", Fault::amid("+CREG: 1\r\n")},
    };
    for (const auto& w : writes) {
        for (const auto& f : faults) {
            phone.state().handset.entries = {{1, {}}};
            phone.state().sim.entries = {{1, {}}};
            phone.state().schedules.entries = {{1, {}}};
            phone.state().memos.entries = {{1, QStringLiteral("Other")}};
            phone.clearFaults();
            ASSERT_TRUE(w.open(session)) << w.name;
            phone.injectFault(w.pattern, f.fault);
            bool ok = false;
            EXPECT_EQ(w.write(session, ok), 2) << w.name << ", " << f.what;
            EXPECT_TRUE(ok) << w.name << ", " << f.what;
            session.Disconnect();
        }
    }
}

} // namespace
