// Unsolicited result codes and line noise wherever they arrive in a list reply: every list of
// the second family still reads whole on every model, and a list whose pieces cannot be read
// fails instead of passing for the whole.
#include "session_fixture.h"
#include "support/unsolicited_faults.h"

#include "phonesim/fault.h"
#include "phonesim/sms_pdu.h"

#include <functional>

#include <gtest/gtest.h>

namespace {

using namespace dh2;
using link2test::SessionTest;
using link2test::Sync;
using phonesim::Fault;

std::string Text(const QStringList& summary)
{
    return summary.join(QStringLiteral(" | ")).toStdString();
}

class UnsolicitedListTest : public SessionTest, public ::testing::WithParamInterface<int> {
protected:
    // One list of the phone: the command of its read, and what a read brings back.
    struct List {
        const char* name;
        QByteArray pattern;
        std::function<QStringList(UnsolicitedListTest&, bool&)> read;
    };

    // Entries 1 and 3 in every list, named N1 and N3.
    UnsolicitedListTest() : SessionTest(GetParam())
    {
        for (const int index : {1, 3}) {
            const QString name = QStringLiteral("N%1").arg(index);
            phonesim::HandsetEntry2 contact;
            contact.name = name;
            contact.numbers[0] = {QStringLiteral("12%1").arg(index), 1};
            contact.email = name + QStringLiteral("@example.org");
            phoneState().handset.entries[index] = contact;
            phoneState().sim.entries[index] = {name, QStringLiteral("34%1").arg(index), 255};
            phone.state().handsetMessages.entries[index] = {1, {},
                phonesim::MakeDeliverPdu(QStringLiteral("+4917012345"), name, QDateTime(QDate(2004, 3, 7), QTime(9, 5))), {}, {},
                {}};
        }
        const QDateTime start(QDate(2004, 3, 7), QTime(9, 5));
        phoneState().organizer = {{1, 1, QStringLiteral("N1"), start, 0, start.addSecs(-600)},
            {2, 3, QStringLiteral("N3"), start, 0, std::nullopt}};
    }

    static QStringList Contacts(const RecordList<CPhoneEntry>& list, bool sim)
    {
        QStringList summary;
        for (const auto& entry : list) {
            summary << QStringLiteral("%1 %2%3%4").arg(sim ? entry->m_nSimIndex : entry->m_nIndex).arg(entry->m_strName,
                           entry->m_strMobile, entry->m_strEmail);
        }
        return summary;
    }

    const std::vector<List> lists {
        {"handset", "AT+CPBR=*",
            [](UnsolicitedListTest& t, bool& ok) {
                RecordList<CPhoneEntry> list;
                ok = t.session.ReadHandsetBook(list);
                return Contacts(list, false);
            }},
        {"sim", "AT+CPBR=*",
            [](UnsolicitedListTest& t, bool& ok) {
                RecordList<CPhoneEntry> list;
                ok = t.session.ReadSimBook(list);
                return Contacts(list, true);
            }},
        {"groups", "AT+CPGR=*",
            [](UnsolicitedListTest& t, bool& ok) {
                // Model 1 keeps no caller groups.
                const bool groups = t.GetParam() != 1;
                if (groups) {
                    t.phoneState().groups.at(1) = {QStringLiteral("N1"), 11};
                    t.phoneState().groups.at(3) = {QStringLiteral("N3"), 13};
                }
                ResetDefaultGroups();
                ok = t.session.Connect() && t.session.ReadGroups();
                t.session.Disconnect();
                if (!groups)
                    return QStringList({"1 N1 11", "3 N3 13"}); // nothing to read
                QStringList summary;
                for (const int index : {1, 3})
                    summary << QStringLiteral("%1 %2 %3").arg(index).arg(g_arrGroups[index].m_strName).arg(g_arrGroups[index].m_nCapacity);
                return summary;
            }},
        {"schedules", "AT+SSCR",
            [](UnsolicitedListTest& t, bool& ok) {
                RecordList<CScheduleEntry> list;
                ok = t.session.ReadSchedules(list);
                QStringList summary;
                for (const auto& record : list) {
                    summary << QStringLiteral("%1 %2 %3 %4").arg(record->m_nIndex).arg(record->m_strSubject,
                                   record->m_dtStart.ToQDateTime().toString(Qt::ISODate)).arg(record->m_nAlarm);
                }
                return summary;
            }},
        {"messages", "AT+CMGL=*",
            [](UnsolicitedListTest& t, bool& ok) {
                RecordList<CSmsEntry> list;
                ok = t.session.ReadMessages(list);
                QStringList summary;
                for (const auto& record : list)
                    summary << QStringLiteral("%1 %2 %3").arg(record->m_nIndex).arg(record->m_strText, record->m_strNumber);
                return summary;
            }},
    };

    // What each list reads without any fault.
    std::map<std::string, QStringList> Undisturbed()
    {
        std::map<std::string, QStringList> expected;
        for (const List& list : lists) {
            phone.clearFaults();
            bool ok = false;
            expected[list.name] = list.read(*this, ok);
            EXPECT_TRUE(ok) << list.name;
        }
        return expected;
    }
};

TEST_P(UnsolicitedListTest, ListsReadWholeWhereverUnsolicitedLinesAndNoiseArrive)
{
    const std::map<std::string, QStringList> expected = Undisturbed();
    ASSERT_EQ(expected.at("handset").size(), 2);
    ASSERT_EQ(expected.at("sim").size(), 2);
    ASSERT_EQ(expected.at("schedules").size(), 2);
    ASSERT_EQ(expected.at("messages").size(), 2);
    const std::vector<testsupport::UnsolicitedFault> faults = testsupport::UnsolicitedFaults();
    for (const List& list : lists) {
        for (const auto& f : faults) {
            phone.clearFaults();
            phone.injectFault(list.pattern, f.fault);
            bool ok = false;
            EXPECT_EQ(Text(list.read(*this, ok)), Text(expected.at(list.name))) << list.name << ", " << f.what;
            EXPECT_TRUE(ok) << list.name << ", " << f.what << ": result " << session.m_nResult;
        }
    }
}

// A record line that lost its start to noise, or to an unsolicited line without its line end, is
// a piece of the list that cannot be read: the read fails, or reads the list whole again by
// other commands; it never passes a shorter list for the whole.
TEST_P(UnsolicitedListTest, AListWhosePiecesCannotBeReadNeverPassesForTheWhole)
{
    const std::map<std::string, QStringList> expected = Undisturbed();
    const struct {
        const char* what;
        Fault fault;
    } faults[] = {
        {"noise before the second line", Fault::amid("\x7f~")},
        {"+CMTI without its line end", Fault::amid("+CMTI: \"SM\",5")},
    };
    for (const List& list : lists) {
        for (const auto& f : faults) {
            phone.clearFaults();
            phone.injectFault(list.pattern, f.fault);
            bool ok = false;
            const QStringList read = list.read(*this, ok);
            if (ok) {
                EXPECT_EQ(Text(read), Text(expected.at(list.name))) << list.name << ", " << f.what;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EachModel, UnsolicitedListTest, ::testing::Values(1, 2, 3));

} // namespace
