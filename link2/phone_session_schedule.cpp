// The combined list of schedule entries and memos: read whole, written whole.
#include "link2/phone_session.h"

#include "common/text_codec.h"
#include "link2/reply_parser.h"
#include "platform/ansi_width.h"
#include "platform/clock.h"


#include <algorithm>
#include <vector>

namespace dh2 {

namespace {

constexpr int kSavingText = 62468;  // "Saving data..."
constexpr int kLoadingText = 62467; // "Loading data... %d-%d"
constexpr int kBeforeListMs = 1000;
constexpr int kBetweenRecordsMs = 10;

// A moment as the phone's command takes it, "Y,M,D,h,m,s".
QByteArray PhoneMoment(const COleDateTime& moment)
{
    return QString::asprintf("%04d,%02d,%02d,%02d,%02d,%02d", moment.GetYear(), moment.GetMonth(), moment.GetDay(),
        moment.GetHour(), moment.GetMinute(), moment.GetSecond())
        .toLatin1();
}

int AlarmOffsetMinutes(int alarm)
{
    switch (alarm) {
    case CScheduleEntry::Alarm10Min: return 10;
    case CScheduleEntry::Alarm30Min: return 30;
    case CScheduleEntry::Alarm1Hour: return 60;
    case CScheduleEntry::Alarm1Day: return 1440;
    default: return 0;
    }
}

bool HasPhoneStart(const CScheduleEntry& entry)
{
    return entry.m_dtStart.GetStatus() == COleDateTime::valid && entry.m_dtStart.GetYear() > 0;
}

COleDateTime AlarmMoment(const CScheduleEntry& entry)
{
    return entry.m_dtStart - COleDateTimeSpan(0, 0, AlarmOffsetMinutes(entry.m_nAlarm), 0);
}

// Why the phone cannot keep the record as it is sent: a date it can hold, the kind, repeat,
// alarm and index within their ranges. Nothing when it can.
std::optional<ScheduleProblem> RecordProblem(const CScheduleEntry& entry)
{
    const auto within = [](int value, int first, int last) { return value >= first && value <= last; };
    if (!HasPhoneStart(entry))
        return ScheduleProblem::NoStart;
    if (!within(entry.m_dtStart.GetYear(), kFirstPhoneYear, kLastPhoneYear))
        return ScheduleProblem::StartYear;
    if (!within(entry.m_nKind, CScheduleEntry::KindSchedule, CScheduleEntry::KindMemo))
        return ScheduleProblem::Kind;
    if (!within(entry.m_nRepeat, CScheduleEntry::RepeatOnce, CScheduleEntry::RepeatYearly))
        return ScheduleProblem::Repeat;
    if (!within(entry.m_nAlarm, CScheduleEntry::AlarmNone, CScheduleEntry::Alarm1Day))
        return ScheduleProblem::Alarm;
    if (entry.m_nAlarm != CScheduleEntry::AlarmNone && AlarmMoment(entry).GetYear() < kFirstPhoneYear)
        return ScheduleProblem::AlarmYear;
    if (!within(entry.m_nIndex, 0, CPhoneSession::kScheduleCapacity - 1))
        return ScheduleProblem::Index;
    return std::nullopt;
}

} // namespace

std::optional<ScheduleListFault> CheckScheduleList(const RecordList<CScheduleEntry>& list)
{
    std::vector<int> places;
    for (size_t i = 0; i < list.size(); ++i) {
        const CScheduleEntry& entry = *list[i];
        if (entry.IsDeleted())
            continue;
        if (const std::optional<ScheduleProblem> problem = RecordProblem(entry))
            return ScheduleListFault {i, *problem};
        if (std::find(places.begin(), places.end(), entry.m_nIndex) != places.end())
            return ScheduleListFault {i, ScheduleProblem::DuplicateIndex};
        places.push_back(entry.m_nIndex);
    }
    return std::nullopt;
}

bool CPhoneSession::ReadSchedules(RecordList<CScheduleEntry>& list)
{
    if (!OpenRead(1, kScheduleCapacity))
        return false;
    Send("AT\r");
    platform::Sleep(kBeforeListMs);
    if (Send("AT+SSCR\r") == AT_OK
        && !ParseScheduleReply(m_strReply, list, [this] { ShowProgress(kLoadingText); }))
        m_nResult = SESSION_BAD_LIST;
    return Finish();
}

QByteArray CPhoneSession::BuildScheduleWrite(CScheduleEntry& entry) const
{
    if (!HasPhoneStart(entry))
        return {};
    entry.m_strSubject = common::StorableText(entry.m_strSubject, kTextUnitLimit);
    entry.m_strSubject = platform::ansiLeft(entry.m_strSubject, IsGsmText(entry.m_strSubject) ? 30 : 28);
    if (entry.m_strSubject.isEmpty())
        entry.m_strSubject = QStringLiteral(" ");
    const bool alarm = entry.m_nAlarm != CScheduleEntry::AlarmNone;
    const QByteArray alarmMoment = alarm
        ? PhoneMoment(AlarmMoment(entry))
        : QByteArray("1001,1,1,0,0,0");
    return "AT+SSCM=" + QByteArray::number(entry.m_nKind) + ',' + QByteArray::number(entry.m_nIndex) + ",\""
        + EncodeBase64Text(entry.m_strSubject).toLatin1() + "\"," + PhoneMoment(entry.m_dtStart) + ','
        + QByteArray::number(entry.m_nRepeat) + ',' + (alarm ? '1' : '0') + ',' + alarmMoment + '\r';
}

bool CPhoneSession::WriteSchedules(const RecordList<CScheduleEntry>& list)
{
    // What the phone cannot take is refused before anything is sent.
    m_bUnconfirmed = false;
    const auto live = std::count_if(list.begin(), list.end(), [](const auto& entry) { return !entry->IsDeleted(); });
    if (live > kScheduleCapacity || CheckScheduleList(list)) {
        m_nResult = SESSION_BAD_LIST;
        return false;
    }
    if (!OpenPort())
        return false;

    int failure = 0; // the result of the step that failed, 0 while none has
    int failedCommand = 0; // the transport's result there
    std::vector<CScheduleEntry*> written;
    if (!Handshake()) {
        failure = SESSION_WAKE_UP_FAILED;
    } else {
        ShowProgress(kSavingText);
        if (!CheckModel())
            failure = SESSION_NOT_SUPPORTED;
        else if (!Resync())
            failure = SESSION_RESYNC_FAILED;
        else if (Send("AT+SSCI\r") != AT_OK)
            failure = m_nResult;
        failedCommand = m_nResult;
    }
    for (size_t i = 0; failure == 0 && i < list.size(); ++i) {
        platform::Sleep(kBetweenRecordsMs);
        CScheduleEntry& entry = *list[i];
        if (entry.IsDeleted())
            continue;
        if (int(written.size()) >= kScheduleCapacity || Send(BuildScheduleWrite(entry)) != AT_OK) {
            // The phone takes no list that was not ended: it keeps its old one.
            return FailUnchanged(true);
        }
        written.push_back(&entry);
    }

    // The phone takes the new list only now; without it the old list stays. An AT+SSCW whose
    // answer never came may have made the new list the phone's.
    const bool committed = Send("AT+SSCW\r") == AT_OK;
    const bool unconfirmed = failure == 0 && m_bUnconfirmed;
    Disconnect();
    m_bUnconfirmed = unconfirmed;
    if (failure != 0) {
        m_nResult = failedCommand;
        SetResult(failure);
        return false;
    }
    if (!committed)
        return false;
    for (CScheduleEntry* entry : written) {
        entry->m_nList = 3;
        entry->m_nState = CSyncRecord::StateUnchanged;
    }
    return true;
}

} // namespace dh2
