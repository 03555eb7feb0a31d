// Feeds arbitrary replies to the session's list parsers and the reply rules under them. The
// first byte picks the parser, the rest is the reply as the transport would hand it over.
// Must never crash; every record must come from a line, and GetReplyLine must agree with the
// one-pass segmentation. One mode builds well-formed lists from texts of the input instead
// and checks that the parse gives back the records that built them, whatever the texts'
// Base64 holds.
#include "common/reply_parser.h"
#include "link/phone_session.h"
#include "link/phone_session_text.h"

#include <cstdint>
#include <cstdlib>

using namespace dh1;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

template <typename Record, typename Parse>
void parseList(CPhoneSession& session, Parse parse)
{
    RecordList<Record> list;
    const bool ok = parse(list);
    check(ok || session.m_nResult == SESSION_BAD_LINE || session.m_nResult == SESSION_BAD_REPLY);
    for (const auto& record : list)
        check(record != nullptr);
}

// Texts from the input: UTF-16 units, low byte first, split at the unit FFFF. A zero unit
// ends a phone field, so none is kept; a text stays within what one field carries.
QStringList Texts(const uint8_t* data, size_t size)
{
    constexpr qsizetype kMaxUnits = 200;
    QStringList texts {QString()};
    for (size_t i = 0; i + 1 < size; i += 2) {
        const char16_t unit = char16_t(data[i] | data[i + 1] << 8);
        if (unit == 0xFFFF)
            texts << QString();
        else if (unit != 0 && texts.last().size() < kMaxUnits)
            texts.last() += QChar(unit);
    }
    return texts;
}

// A field as the phone sends it.
QString Field(const CPhoneSession& session, const QString& text)
{
    return u'"' + session.EncodeBase64Text(text) + u'"';
}

void RoundTrip(const uint8_t* data, size_t size)
{
    const QStringList texts = Texts(data, size);
    const qsizetype n = texts.size();
    const auto text = [&](qsizetype i) { return texts[i % n]; };
    CPhoneSession session;

    QString handset = QStringLiteral("\r\n");
    QString sim = handset;
    QString schedules = handset;
    QString memos = handset;
    for (qsizetype i = 0; i < n; ++i) {
        const QString index = QString::number(i + 1);
        const QString group = QString::number(i % 7);
        handset += QStringLiteral("+CPBR: %1,%2,\"%3\",129,\"\",255,\"\",255,%4,%5,%6\r\n")
                       .arg(index, group, QString::number(1000 + i), Field(session, text(i)), Field(session, text(i + 1)),
                           Field(session, text(i + 2)));
        sim += QStringLiteral("+CPBR: %1,%2,\"%3\",145,%4\r\n").arg(index, group, QString::number(2000 + i), Field(session, text(i)));
        schedules += QStringLiteral("+CXDR: %1,%2,%3,\"%4%5%6\",\"%7%8\",%9\r\n")
                         .arg(index, QString::number(i % 5), QString::number(i % 6),
                             QString::number(i % 100).rightJustified(2, u'0'), QString::number(1 + i % 12).rightJustified(2, u'0'),
                             QString::number(1 + i % 28).rightJustified(2, u'0'), QString::number(i % 24).rightJustified(2, u'0'),
                             QString::number(i % 60).rightJustified(2, u'0'), Field(session, text(i)));
        memos += QStringLiteral("+CMDR: %1,%2\r\n").arg(index, Field(session, text(i)));
    }

    const auto parse = [&](const QString& lines, auto& list, auto parseReply) {
        session.m_strReply = lines + QStringLiteral("\r\nOK");
        check(parseReply(list) && qsizetype(list.size()) == n);
    };
    RecordList<CPhoneEntry> contacts;
    parse(handset, contacts, [&](auto& list) { return session.ParseHandsetBookReply(list); });
    RecordList<CPhoneEntry> simContacts;
    parse(sim, simContacts, [&](auto& list) { return session.ParseSimBookReply(list); });
    RecordList<CScheduleEntry> scheduleList;
    parse(schedules, scheduleList, [&](auto& list) { return session.ParseScheduleReply(list); });
    RecordList<CMemoEntry> memoList;
    parse(memos, memoList, [&](auto& list) { return session.ParseMemoReply(list); });

    for (qsizetype i = 0; i < n; ++i) {
        const size_t k = size_t(i);
        const CPhoneEntry& contact = *contacts[k];
        check(contact.m_nIndex == i + 1 && contact.m_nGroup == i % 7 && contact.m_strMobile == QString::number(1000 + i));
        check(contact.m_strName == text(i) && contact.m_strEmail == text(i + 1));
        check(contact.m_strMemo == phonetext::FromPhoneLines(text(i + 2)));
        const CPhoneEntry& simContact = *simContacts[k];
        check(simContact.m_nSimIndex == i + 1 && simContact.m_strName == text(i));
        check(simContact.m_strMobile == u'+' + QString::number(2000 + i));
        const CScheduleEntry& schedule = *scheduleList[k];
        check(schedule.m_nIndex == i + 1 && schedule.m_nRepeat == i % 5 && schedule.m_nAlarm == i % 6);
        check(schedule.m_dtStart == COleDateTime(2000 + int(i % 100), 1 + int(i % 12), 1 + int(i % 28), int(i % 24), int(i % 60), 0));
        check(schedule.m_strSubject == phonetext::FromPhoneLines(text(i)));
        check(memoList[k]->m_nIndex == i + 1 && memoList[k]->m_strText == phonetext::FromPhoneLines(text(i)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int which = data[0] % 9;
    if (which == 8) {
        RoundTrip(data + 1, size - 1);
        return 0;
    }
    const QString reply = QString::fromLatin1(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    CPhoneSession session;
    session.m_strReply = reply;
    session.m_nResult = 1;
    switch (which) {
    case 0:
        parseList<CPhoneEntry>(session, [&](auto& list) { return session.ParseHandsetBookReply(list); });
        break;
    case 1:
        parseList<CPhoneEntry>(session, [&](auto& list) { return session.ParseSimBookReply(list); });
        break;
    case 2:
        parseList<CScheduleEntry>(session, [&](auto& list) { return session.ParseScheduleReply(list); });
        break;
    case 3:
        parseList<CMemoEntry>(session, [&](auto& list) { return session.ParseMemoReply(list); });
        break;
    case 4:
        parseList<CSmsEntry>(session, [&](auto& list) { return session.ParseMessageList(list, 4); });
        break;
    case 5: {
        const QStringList segments = common::ReplySegments(reply, QStringLiteral("+CPBR"));
        for (int n = 0; n <= segments.size() && n < 64; ++n) {
            QString out;
            const bool found = common::GetReplyLine(out, reply, n, QStringLiteral("+CPBR"));
            check(found == (n < segments.size()));
            check(!found || out == segments[n]);
        }
        break;
    }
    case 6: {
        const QString trimmed = common::TrimListReply(reply);
        check(trimmed.size() <= reply.size());
        if (const auto range = common::ParseIndexRange(trimmed))
            check(range->first >= 0 && range->first <= range->last);
        common::NumberField(trimmed, 1);
        break;
    }
    default:
        common::ReplyIndexField(reply);
        CScheduleEntry schedule;
        schedule.m_dtStart.m_dt = double(size % 100000) - 1000.0;
        session.BuildScheduleWrite(schedule);
        break;
    }
    return 0;
}
