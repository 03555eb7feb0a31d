#pragma once

#include "common/sync_record.h"
#include "platform/ole_date_time.h"

#include <QString>

#include <memory>
#include <vector>

class CArchive;

namespace dh2 {

// The records of Deskhand2's lists: contacts, the phone's combined list of schedule entries and
// memos (one class, told apart by m_nKind), and messages. The same classes serve the PC-side,
// PIM-side and phone-side lists; m_nList says which (contacts 1 PC, 2 PIM, 3 handset ("PM"), 4
// SIM ("SM"); others 1, 2, 3 phone). Serialize's field orders are the data file format.
class CSyncRecord : public common::CSyncRecordBase {
public:
    // Copies from a record of the same class; a record of another class is ignored.
    virtual void Assign(const CSyncRecord& other) = 0;

protected:
    CSyncRecord() = default;
    CSyncRecord(const CSyncRecord&) = default;
    CSyncRecord& operator=(const CSyncRecord&) = default;
};

class CPhoneEntry final : public CSyncRecord {
public:
    static constexpr int kNoGroup = 7;

    void Serialize(CArchive& ar) override;
    void Assign(const CSyncRecord& other) override { common::AssignIfSame(*this, other); }
    void Assign(const CPhoneEntry& other);

    QString m_strName;
    QString m_strMobile; // a SIM entry keeps its single number here
    QString m_strOffice;
    QString m_strHome;
    QString m_strFax;
    QString m_strEmail;
    int m_nSimIndex = -1;
    // Set when writing the entry to the phone counted it in its group; not archived.
    bool m_bCountsInGroup = false;
    // A position in the group table; 7 is "No group". Files and phones may hold anything:
    // users check it against the table.
    int m_nGroup = kNoGroup;
};

// The years of the phone's calendar.
inline constexpr int kFirstPhoneYear = 1900;
inline constexpr int kLastPhoneYear = 2100;

// A schedule entry (kind 1) or a memo (kind 2).
class CScheduleEntry final : public CSyncRecord {
public:
    enum Kind { KindSchedule = 1, KindMemo = 2 };
    enum Repeat { RepeatOnce, RepeatDaily, RepeatWeekly, RepeatMonthly, RepeatYearly };
    enum Alarm { AlarmNone, AlarmOnTime, Alarm10Min, Alarm30Min, Alarm1Hour, Alarm1Day };

    void Serialize(CArchive& ar) override;
    void Assign(const CSyncRecord& other) override { common::AssignIfSame(*this, other); }
    void Assign(const CScheduleEntry& other);

    bool IsMemo() const { return m_nKind == KindMemo; }

    QString m_strSubject;   // the memo text for a memo
    COleDateTime m_dtStart = common::TodayAtNoon();
    int m_nRepeat = RepeatOnce;
    int m_nAlarm = AlarmNone;
    int m_nKind = KindSchedule;
};

class CSmsEntry final : public CSyncRecord {
public:
    enum Status { StatusUnsent = 1, StatusSent = 2, StatusUnread = 3, StatusRead = 4 };

    void Serialize(CArchive& ar) override;
    void Assign(const CSyncRecord& other) override { common::AssignIfSame(*this, other); }
    void Assign(const CSmsEntry& other);

    int m_nStatus = StatusUnsent;
    QString m_strText;
    QString m_strNumber;
    QString m_strName;
    QString m_strDate; // "%d/%d/%d"
    QString m_strTime; // "%d:%d:%d %d"
};

// A list of records that owns them.
template <typename Record>
using RecordList = std::vector<std::unique_ptr<Record>>;

} // namespace dh2
