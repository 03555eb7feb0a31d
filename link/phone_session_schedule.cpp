// Schedule entries ("AT+CXDR", "AT+CXDW") and memos ("AT+CMDR", "AT+CMDW").
#include "link/phone_session.h"

#include "link/capacities.h"
#include "link/phone_session_text.h"
#include "link/reply_parser.h"
#include "link/text_codec.h"
#include "platform/atoi.h"
#include "platform/string_table.h"

using namespace phonetext;

namespace {

constexpr int kSubjectLimit = 30;
constexpr int kWideSubjectLimit = 60;
constexpr int kMemoLimit = 40;
constexpr int kWideMemoLimit = 80;
// The date field carries the year as two digits after 2000.
constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2099;

int Pair(const QString& digits, int pair)
{
    return platform::Atoi(QStringView(digits).mid(pair * 2, 2));
}

QByteArray TwoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

// A text field as the phone takes it: cut to its limit (twice as long outside the GSM
// alphabet), stored back into the record, line breaks as "\n", in Base64.
QString CutToLimit(QString& text, int gsmLimit, int wideLimit)
{
    text = CutPhoneText(text, IsGsmEncodable(text) ? gsmLimit : wideLimit);
    return text;
}

} // namespace

bool CPhoneSession::ReadSchedules(RecordList<CScheduleEntry>& list)
{
    if (!Connect(false))
        return false;
    ShowProgress(61469);
    if (Send("AT+CXDR=?\r") != AT_OK)
        return FailRead();
    const QString rangeReply = TrimListReply(m_strReply);
    const std::optional<IndexRange> range = ParseIndexRange(rangeReply);
    if (!range) {
        m_nResult = SESSION_BAD_REPLY;
        return FailRead();
    }
    g_nScheduleCapacity = range->last - range->first + 1;
    if (const std::optional<int> length = NumberField(rangeReply, 3); length && *length > 0)
        g_nScheduleTextLen = *length;

    ShowProgressF(platform::LoadString(61469), range->first, range->last);
    if (Send("AT+CXDR=" + QByteArray::number(range->first) + ',' + QByteArray::number(range->last) + '\r') == AT_OK)
        ParseScheduleReply(list);
    const bool ok = m_nResult == AT_OK;
    Disconnect();
    return ok;
}

bool CPhoneSession::ParseScheduleReply(RecordList<CScheduleEntry>& list)
{
    return ParseListReply(QStringLiteral("+CXDR"), QStringLiteral("+CXDR:"), true,
        [&](const QString& line) { return ParseScheduleEntry(line, list); });
}

bool CPhoneSession::ParseScheduleEntry(const QString& line, RecordList<CScheduleEntry>& list)
{
    QString fields[6];
    for (int k = 0; k < 6; ++k) {
        if (!ExtractField(fields[k], line, k))
            return false;
    }
    bool ok = false;
    auto record = std::make_unique<CScheduleEntry>();
    record->m_nIndex = platform::Atoi(QStringView(fields[0]));
    record->m_nRepeat = platform::Atoi(QStringView(fields[1]));
    record->m_nAlarm = platform::Atoi(QStringView(fields[2]));
    const QString date = RemoveQuotes(fields[3]);
    const QString time = RemoveQuotes(fields[4]);
    // A date the phone garbled stays visible as an invalid start rather than failing the list.
    record->m_dtStart.SetDateTime(kFirstYear + Pair(date, 0), Pair(date, 1), Pair(date, 2), Pair(time, 0),
        Pair(time, 1), 0);
    record->m_strSubject = FromPhoneLines(DecodeBase64Text(RemoveQuotes(fields[5]), &ok));
    record->m_nList = 3;
    if (!ok)
        return false;
    list.push_back(std::move(record));
    return true;
}

QByteArray CPhoneSession::BuildScheduleWrite(CScheduleEntry& record)
{
    const COleDateTime& start = record.m_dtStart;
    if (start.GetStatus() != COleDateTime::valid || start.GetYear() < kFirstYear || start.GetYear() > kLastYear)
        return {};
    const QByteArray date = TwoDigits(start.GetYear() - kFirstYear) + TwoDigits(start.GetMonth())
        + TwoDigits(start.GetDay()) + TwoDigits(start.GetDayOfWeek() - 1);
    const QByteArray time = TwoDigits(start.GetHour()) + TwoDigits(start.GetMinute());
    const QString subject = CutToLimit(record.m_strSubject, kSubjectLimit, kWideSubjectLimit);
    return "AT+CXDW=" + IndexText(record.m_nIndex) + ',' + QByteArray::number(record.m_nRepeat) + ','
        + QByteArray::number(record.m_nAlarm) + ",\"" + date + "\",\"" + time + "\",\""
        + EncodeBase64Text(ToPhoneLines(subject)).toLatin1() + "\"\r";
}

bool CPhoneSession::WriteSchedule(CScheduleEntry& record)
{
    const QByteArray command = BuildScheduleWrite(record);
    if (command.isEmpty()) {
        m_nResult = SESSION_NOTHING_SENT;
        return false;
    }
    ShowProgress(61470);
    if (Send(command) != AT_OK)
        return false;
    record.m_nIndex = IndexFromWriteReply(m_strReply, record.m_nIndex);
    return true;
}

bool CPhoneSession::DeleteSchedule(int nIndex)
{
    if (nIndex < 0) {
        m_nResult = SESSION_NOTHING_SENT;
        return false;
    }
    ShowProgress(61471);
    return Send("AT+CXDW=" + QByteArray::number(nIndex) + '\r') == AT_OK;
}

bool CPhoneSession::ReadMemos(RecordList<CMemoEntry>& list)
{
    if (!Connect(false))
        return false;
    if (Send("AT+CMDR=?\r") != AT_OK)
        return FailRead();
    const QString rangeReply = TrimListReply(m_strReply);
    const std::optional<IndexRange> range = ParseIndexRange(rangeReply);
    if (!range) {
        m_nResult = SESSION_BAD_REPLY;
        return FailRead();
    }
    g_nMemoFirstIndex = range->first;
    g_nMemoCapacity = range->last - range->first + 1;
    if (const std::optional<int> length = NumberField(rangeReply, 1); length && *length > 0)
        g_nMemoTextLen = *length;

    ShowProgressF(platform::LoadString(61491), range->first, range->last);
    if (Send("AT+CMDR=" + QByteArray::number(range->first) + ',' + QByteArray::number(range->last) + '\r') == AT_OK)
        ParseMemoReply(list);
    const bool ok = m_nResult == AT_OK;
    Disconnect();
    return ok;
}

bool CPhoneSession::ParseMemoReply(RecordList<CMemoEntry>& list)
{
    return ParseListReply(QStringLiteral("+CMDR"), QStringLiteral("+CMDR:"), true,
        [&](const QString& line) { return ParseMemoEntry(line, list); });
}

bool CPhoneSession::ParseMemoEntry(const QString& line, RecordList<CMemoEntry>& list)
{
    QString index;
    QString text;
    if (!ExtractField(index, line, 0) || !ExtractField(text, line, 1))
        return false;
    bool ok = false;
    auto record = std::make_unique<CMemoEntry>();
    record->m_nIndex = platform::Atoi(QStringView(index));
    record->m_strText = FromPhoneLines(DecodeBase64Text(RemoveQuotes(text), &ok));
    record->m_nList = 3;
    if (!ok)
        return false;
    list.push_back(std::move(record));
    return true;
}

QByteArray CPhoneSession::BuildMemoWrite(CMemoEntry& record)
{
    const QString text = CutToLimit(record.m_strText, kMemoLimit, kWideMemoLimit);
    return "AT+CMDW=" + IndexText(record.m_nIndex) + ",\"" + EncodeBase64Text(ToPhoneLines(text)).toLatin1()
        + "\"\r";
}

bool CPhoneSession::WriteMemo(CMemoEntry& record)
{
    ShowProgress(61490);
    if (Send(BuildMemoWrite(record)) != AT_OK)
        return false;
    record.m_nIndex = IndexFromWriteReply(m_strReply, record.m_nIndex);
    return true;
}

bool CPhoneSession::DeleteMemo(int nIndex)
{
    if (nIndex < 0) {
        m_nResult = SESSION_NOTHING_SENT;
        return false;
    }
    ShowProgress(61492);
    return Send("AT+CMDW=" + QByteArray::number(nIndex) + '\r') == AT_OK;
}
