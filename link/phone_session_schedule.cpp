// Schedule entries ("AT+CXDR", "AT+CXDW") and memos ("AT+CMDR", "AT+CMDW").
#include "link/phone_session.h"

#include "common/reply_parser.h"
#include "common/text_codec.h"
#include "link/capacities.h"
#include "link/phone_session_text.h"
#include "link/record_rules.h"
#include "platform/atoi.h"
#include "platform/string_table.h"

namespace dh1 {

using namespace phonetext;

namespace {

constexpr int kSubjectLimit = 30;
constexpr int kWideSubjectLimit = 60;
constexpr int kMemoLimit = 40;
constexpr int kWideMemoLimit = 80;

int Pair(const QString& digits, int pair)
{
    return platform::Atoi(QStringView(digits).mid(pair * 2, 2));
}

QByteArray TwoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

// A text field as the phone takes it: what a field carries, cut to its limit (twice as long
// outside the GSM alphabet), stored back into the record.
QString CutToLimit(QString& text, int gsmLimit, int wideLimit)
{
    text = StorableText(text, CPhoneSession::kTextUnitLimit);
    text = CutPhoneText(text, common::IsGsmEncodable(text) ? gsmLimit : wideLimit);
    return text;
}

} // namespace

bool CPhoneSession::ReadWholeList(const QByteArray& command, int nProgressId,
    const std::function<void(const QString&, const common::IndexRange&)>& noteSizes, const std::function<bool()>& parseReply)
{
    if (Send(command + "=?\r") != AT_OK)
        return FailRead();
    const std::optional<QString> rangeLine = AnswerLine(QString::fromLatin1(command.mid(2)));
    if (!rangeLine)
        return FailRead();
    const QString& rangeReply = *rangeLine;
    const std::optional<common::IndexRange> range = Required(common::ParseIndexRange(rangeReply));
    if (!range)
        return FailRead();
    noteSizes(rangeReply, *range);

    ShowProgressF(platform::LoadString(nProgressId), range->first, range->last);
    // A list that does not parse fails the whole read as an unreadable reply.
    if (Send(RangeCommand(command, range->first, range->last)) == AT_OK && !parseReply())
        m_nResult = SESSION_BAD_REPLY;
    return FinishRead();
}

bool CPhoneSession::ReadSchedules(RecordList<CScheduleEntry>& list)
{
    if (!Connect(false))
        return false;
    ShowProgress(61469);
    return ReadWholeList("AT+CXDR", 61469,
        [](const QString& rangeReply, const common::IndexRange& range) {
            g_nScheduleCapacity = range.last - range.first + 1;
            NoteLength(g_nScheduleTextLen, rangeReply, 3);
        },
        [&] { return ParseScheduleReply(list); });
}

bool CPhoneSession::ParseScheduleReply(RecordList<CScheduleEntry>& list)
{
    return ParseListReply(QStringLiteral("+CXDR"), [&](const QString& line) { return ParseScheduleEntry(line, list); });
}

bool CPhoneSession::ParseScheduleEntry(const QString& line, RecordList<CScheduleEntry>& list)
{
    QString fields[6];
    if (!ExtractFields(fields, line))
        return false;
    bool ok = false;
    auto record = std::make_unique<CScheduleEntry>();
    record->m_nIndex = platform::Atoi(QStringView(fields[0]));
    record->m_nRepeat = platform::Atoi(QStringView(fields[1]));
    record->m_nAlarm = platform::Atoi(QStringView(fields[2]));
    const QString date = common::RemoveQuotes(fields[3]);
    const QString time = common::RemoveQuotes(fields[4]);
    // A date the phone garbled stays visible as an invalid start rather than failing the list.
    record->m_dtStart.SetDateTime(kFirstScheduleYear + Pair(date, 0), Pair(date, 1), Pair(date, 2), Pair(time, 0),
        Pair(time, 1), 0);
    record->m_strSubject = FromPhoneLines(DecodeBase64Text(common::RemoveQuotes(fields[5]), &ok));
    record->m_nList = 3;
    if (!ok)
        return false;
    list.push_back(std::move(record));
    return true;
}

QByteArray CPhoneSession::BuildScheduleWrite(CScheduleEntry& record)
{
    const COleDateTime& start = record.m_dtStart;
    if (!IsScheduleStart(start))
        return {};
    const QByteArray date = TwoDigits(start.GetYear() - kFirstScheduleYear) + TwoDigits(start.GetMonth())
        + TwoDigits(start.GetDay()) + TwoDigits(start.GetDayOfWeek() - 1);
    const QByteArray time = TwoDigits(start.GetHour()) + TwoDigits(start.GetMinute());
    const QString subject = CutToLimit(record.m_strSubject, kSubjectLimit, kWideSubjectLimit);
    return "AT+CXDW=" + IndexText(record.m_nIndex) + ',' + QByteArray::number(record.m_nRepeat) + ','
        + QByteArray::number(record.m_nAlarm) + ",\"" + date + "\",\"" + time + "\",\""
        + EncodeBase64Text(ToPhoneLines(subject)).toLatin1() + "\"\r";
}

bool CPhoneSession::WriteSchedule(CScheduleEntry& record)
{
    const bool known = IsScheduleRepeat(record.m_nRepeat) && IsScheduleAlarm(record.m_nAlarm);
    if (!known || !ScheduleIndexBounds().TakesWrite(record.m_nIndex))
        return NothingSent();
    const QByteArray command = BuildScheduleWrite(record);
    if (command.isEmpty())
        return NothingSent();
    ShowProgress(61470);
    return SendWrite(command, record.m_nIndex);
}

bool CPhoneSession::DeleteSchedule(int nIndex)
{
    if (!ScheduleIndexBounds().Contains(nIndex))
        return NothingSent();
    return SendDelete("AT+CXDW", nIndex, 61471);
}

bool CPhoneSession::ReadMemos(RecordList<CMemoEntry>& list)
{
    if (!Connect(false))
        return false;
    return ReadWholeList("AT+CMDR", 61491,
        [](const QString& rangeReply, const common::IndexRange& range) {
            g_nMemoFirstIndex = range.first;
            g_nMemoCapacity = range.last - range.first + 1;
            NoteLength(g_nMemoTextLen, rangeReply, 1);
        },
        [&] { return ParseMemoReply(list); });
}

bool CPhoneSession::ParseMemoReply(RecordList<CMemoEntry>& list)
{
    return ParseListReply(QStringLiteral("+CMDR"), [&](const QString& line) { return ParseMemoEntry(line, list); });
}

bool CPhoneSession::ParseMemoEntry(const QString& line, RecordList<CMemoEntry>& list)
{
    QString fields[2];
    if (!ExtractFields(fields, line))
        return false;
    bool ok = false;
    auto record = std::make_unique<CMemoEntry>();
    record->m_nIndex = platform::Atoi(QStringView(fields[0]));
    record->m_strText = FromPhoneLines(DecodeBase64Text(common::RemoveQuotes(fields[1]), &ok));
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
    if (!MemoIndexBounds().TakesWrite(record.m_nIndex))
        return NothingSent();
    ShowProgress(61490);
    return SendWrite(BuildMemoWrite(record), record.m_nIndex);
}

bool CPhoneSession::DeleteMemo(int nIndex)
{
    if (!MemoIndexBounds().Contains(nIndex))
        return NothingSent();
    return SendDelete("AT+CMDW", nIndex, 61492);
}

} // namespace dh1
