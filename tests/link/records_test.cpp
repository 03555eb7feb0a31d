#include "link/records.h"

#include "platform/archive.h"

#include <gtest/gtest.h>

using namespace dh1;

namespace {

template <typename Record>
Record roundTrip(const Record& record, QByteArray* bytes = nullptr)
{
    CArchive out;
    const_cast<Record&>(record).Serialize(out);
    if (bytes)
        *bytes = out.Data();
    CArchive in(out.Data());
    Record loaded;
    loaded.Serialize(in);
    EXPECT_TRUE(in.ok());
    EXPECT_EQ(in.BytesLeft(), 0);
    return loaded;
}

CPhoneEntry sampleContact()
{
    CPhoneEntry e;
    e.m_nIndex = 17;
    e.m_strEntryID = QStringLiteral("uid-1");
    e.m_nState = CSyncRecord::StateChanged;
    e.m_nList = 3;
    e.m_strAux = QStringLiteral("aux");
    e.m_nSimIndex = 4;
    e.m_strName = QStringLiteral("张三");
    e.m_strMobile = QStringLiteral("+4930123");
    e.m_strOffice = QStringLiteral("0301");
    e.m_strHome = QStringLiteral("0302");
    e.m_strEmail = QStringLiteral("z@example.org");
    e.m_strExtra = QStringLiteral("x");
    e.m_strMemo = QStringLiteral("line 1\r\nline 2");
    e.m_nGroup = 2;
    e.m_nCopySource = 3;
    return e;
}

TEST(Records, Defaults)
{
    const CPhoneEntry contact;
    EXPECT_EQ(contact.m_nIndex, -1);
    EXPECT_EQ(contact.m_nSimIndex, -1);
    EXPECT_EQ(contact.m_nGroup, 6);
    EXPECT_EQ(contact.m_nState, 0);
    EXPECT_EQ(contact.m_nList, 0);

    const CScheduleEntry schedule;
    const QDate today = QDate::currentDate();
    EXPECT_EQ(schedule.m_dtStart.ToQDateTime(), QDateTime(today, QTime(12, 0)));
    EXPECT_EQ(schedule.m_nRepeat, 0);
    EXPECT_EQ(schedule.m_nAlarm, 0);

    const CSmsEntry sms;
    EXPECT_EQ(sms.m_nStatus, 1);
    EXPECT_EQ(sms.m_nReserved, -1);
    for (const auto& part : sms.m_parts) {
        EXPECT_EQ(part.m_nIndex, -1);
        EXPECT_EQ(part.m_nStorage, 0);
    }
}

TEST(Records, PhoneEntryArchiveOrderAndRoundTrip)
{
    CPhoneEntry e;
    e.m_nIndex = 1;
    e.m_strName = QStringLiteral("N");
    e.m_strMobile = QStringLiteral("M");
    e.m_nGroup = 2;
    QByteArray bytes;
    roundTrip(e, &bytes);
    // index, entry id, state, list, aux, name, mobile, office, home, email, memo, group, sim, extra
    EXPECT_EQ(bytes, QByteArray::fromHex("01000000" "00" "00000000" "00000000" "00"
                                         "014e" "014d" "00" "00" "00" "00" "02000000" "ffffffff" "00"));

    const CPhoneEntry loaded = roundTrip(sampleContact());
    const CPhoneEntry original = sampleContact();
    EXPECT_EQ(loaded.m_nIndex, original.m_nIndex);
    EXPECT_EQ(loaded.m_strEntryID, original.m_strEntryID);
    EXPECT_EQ(loaded.m_nState, original.m_nState);
    EXPECT_EQ(loaded.m_nList, original.m_nList);
    EXPECT_EQ(loaded.m_strAux, original.m_strAux);
    EXPECT_EQ(loaded.m_nSimIndex, original.m_nSimIndex);
    EXPECT_EQ(loaded.m_strName, original.m_strName);
    EXPECT_EQ(loaded.m_strMobile, original.m_strMobile);
    EXPECT_EQ(loaded.m_strOffice, original.m_strOffice);
    EXPECT_EQ(loaded.m_strHome, original.m_strHome);
    EXPECT_EQ(loaded.m_strEmail, original.m_strEmail);
    EXPECT_EQ(loaded.m_strExtra, original.m_strExtra);
    EXPECT_EQ(loaded.m_strMemo, original.m_strMemo);
    EXPECT_EQ(loaded.m_nGroup, original.m_nGroup);
    EXPECT_EQ(loaded.m_nCopySource, 0);

    // A group out of range is kept as stored; its users check it.
    e.m_nGroup = 99;
    EXPECT_EQ(roundTrip(e).m_nGroup, 99);
}

TEST(Records, NameLengthPrefixes)
{
    for (const int length : {254, 255}) {
        CPhoneEntry e;
        e.m_strName = QString(length, u'n');
        QByteArray bytes;
        EXPECT_EQ(roundTrip(e, &bytes).m_strName, e.m_strName);
        // The name follows the 14 bytes of the base part.
        const QByteArray prefix = length == 254 ? QByteArray::fromHex("fe") : QByteArray::fromHex("ffff00");
        EXPECT_EQ(bytes.mid(14, prefix.size()), prefix) << length;
    }
}

TEST(Records, ScheduleMemoAndMessageRoundTrips)
{
    CScheduleEntry s;
    s.m_nIndex = 5;
    s.m_nList = 1;
    s.m_strSubject = QStringLiteral("Dentist, 2nd floor");
    s.m_dtStart = COleDateTime(2004, 3, 7, 9, 5, 0);
    s.m_nRepeat = 4;
    s.m_nAlarm = 5;
    const CScheduleEntry sl = roundTrip(s);
    EXPECT_EQ(sl.m_strSubject, s.m_strSubject);
    EXPECT_EQ(sl.m_dtStart, s.m_dtStart);
    EXPECT_EQ(sl.m_nRepeat, 4);
    EXPECT_EQ(sl.m_nAlarm, 5);
    EXPECT_EQ(sl.m_nList, 1);

    CMemoEntry m;
    m.m_strText = QStringLiteral("buy milk");
    m.m_strAux = QStringLiteral("a");
    const CMemoEntry ml = roundTrip(m);
    EXPECT_EQ(ml.m_strText, m.m_strText);
    EXPECT_EQ(ml.m_strAux, m.m_strAux);

    CSmsEntry sms;
    sms.m_nStatus = 2;
    sms.m_strText = QStringLiteral("hello");
    sms.m_strNumber = QStringLiteral("+123");
    sms.m_strName = QStringLiteral("Bob");
    sms.m_strDateTime = QStringLiteral("04/03/07 09:05");
    sms.m_strPdu = QStringLiteral("0011000B91");
    sms.m_parts[0] = {3, 4, QStringLiteral("hello")};
    const CSmsEntry smsl = roundTrip(sms);
    EXPECT_EQ(smsl.m_nStatus, 2);
    EXPECT_EQ(smsl.m_strText, sms.m_strText);
    EXPECT_EQ(smsl.m_strNumber, sms.m_strNumber);
    EXPECT_EQ(smsl.m_strName, sms.m_strName);
    EXPECT_EQ(smsl.m_strDateTime, sms.m_strDateTime);
    EXPECT_TRUE(smsl.m_strPdu.isEmpty());
    EXPECT_EQ(smsl.m_parts[0].m_nIndex, -1);
    EXPECT_EQ(smsl.m_parts[0].m_nStorage, 0);
}

TEST(Records, TruncatedRecordFailsTheArchive)
{
    CArchive out;
    CPhoneEntry e = sampleContact();
    e.Serialize(out);
    for (qsizetype cut = 0; cut < out.Data().size(); ++cut) {
        CArchive in(out.Data().left(cut));
        CPhoneEntry loaded;
        loaded.Serialize(in);
        EXPECT_FALSE(in.ok()) << cut;
    }
}

TEST(Records, AssignCopiesItsTable)
{
    CPhoneEntry target;
    target.m_strEntryID = QStringLiteral("keep");
    target.m_nState = 1;
    target.m_strAux = QStringLiteral("keep");
    target.Assign(sampleContact());
    const CPhoneEntry source = sampleContact();
    EXPECT_EQ(target.m_nIndex, source.m_nIndex);
    EXPECT_EQ(target.m_strName, source.m_strName);
    EXPECT_EQ(target.m_strMemo, source.m_strMemo);
    EXPECT_EQ(target.m_nGroup, source.m_nGroup);
    EXPECT_EQ(target.m_nList, 3); // the list number travels too; callers reset it
    EXPECT_EQ(target.m_nSimIndex, source.m_nSimIndex);
    EXPECT_EQ(target.m_strExtra, source.m_strExtra);
    EXPECT_EQ(target.m_nCopySource, 3);
    EXPECT_EQ(target.m_strEntryID, QStringLiteral("keep"));
    EXPECT_EQ(target.m_nState, 1);
    EXPECT_EQ(target.m_strAux, QStringLiteral("keep"));

    CScheduleEntry s;
    s.m_nIndex = 3;
    s.m_nList = 3;
    s.m_strEntryID = QStringLiteral("id");
    s.m_nState = 2;
    s.m_strAux = QStringLiteral("aux");
    s.m_strSubject = QStringLiteral("subject");
    s.m_dtStart = COleDateTime(2020, 1, 2, 3, 4, 5);
    s.m_nRepeat = 2;
    s.m_nAlarm = 3;
    CScheduleEntry st;
    st.m_nList = 1;
    st.Assign(s);
    EXPECT_EQ(st.m_nIndex, 3);
    EXPECT_EQ(st.m_strSubject, s.m_strSubject);
    EXPECT_EQ(st.m_dtStart, s.m_dtStart);
    EXPECT_EQ(st.m_nRepeat, 2);
    EXPECT_EQ(st.m_nAlarm, 3);
    EXPECT_EQ(st.m_nList, 1);
    EXPECT_TRUE(st.m_strEntryID.isEmpty());
    EXPECT_EQ(st.m_nState, 0);
    EXPECT_TRUE(st.m_strAux.isEmpty());

    CMemoEntry m;
    m.m_nIndex = 2;
    m.m_nList = 3;
    m.m_nState = 1;
    m.m_strEntryID = QStringLiteral("id");
    m.m_strText = QStringLiteral("t");
    m.m_strAux = QStringLiteral("aux");
    CMemoEntry mt;
    mt.Assign(m);
    EXPECT_EQ(mt.m_nIndex, 2);
    EXPECT_EQ(mt.m_strText, QStringLiteral("t"));
    EXPECT_EQ(mt.m_strAux, QStringLiteral("aux"));
    EXPECT_EQ(mt.m_nList, 0);
    EXPECT_EQ(mt.m_nState, 0);
    EXPECT_TRUE(mt.m_strEntryID.isEmpty());

    CSmsEntry sms;
    sms.m_nIndex = 9;
    sms.m_nList = 4;
    sms.m_nState = 2;
    sms.m_nStatus = 3;
    sms.m_strEntryID = QStringLiteral("id");
    sms.m_strAux = QStringLiteral("aux");
    sms.m_strText = QStringLiteral("text");
    sms.m_strPdu = QStringLiteral("00");
    sms.m_nReserved = 7;
    sms.m_parts[1] = {5, 4, QStringLiteral("piece")};
    CSmsEntry smst;
    smst.Assign(sms);
    EXPECT_EQ(smst.m_nIndex, -1);
    EXPECT_EQ(smst.m_nList, 4);
    EXPECT_EQ(smst.m_nState, 2);
    EXPECT_EQ(smst.m_nStatus, 3);
    EXPECT_EQ(smst.m_strText, QStringLiteral("text"));
    EXPECT_EQ(smst.m_nReserved, 7);
    EXPECT_EQ(smst.m_parts[1].m_nIndex, 5);
    EXPECT_EQ(smst.m_parts[1].m_nStorage, 4);
    EXPECT_TRUE(smst.m_parts[1].m_strText.isEmpty());
    EXPECT_TRUE(smst.m_strPdu.isEmpty());
    EXPECT_TRUE(smst.m_strEntryID.isEmpty());
    EXPECT_TRUE(smst.m_strAux.isEmpty());

    // A record of another class is left alone.
    CMemoEntry other;
    other.Assign(static_cast<const CSyncRecord&>(sampleContact()));
    EXPECT_EQ(other.m_nIndex, -1);
}

} // namespace
