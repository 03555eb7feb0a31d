#pragma once

#include "common/sync_record.h"
#include "platform/ole_date_time.h"

#include <QString>

#include <array>
#include <memory>
#include <vector>

class CArchive;

namespace dh1 {

// The records every list of the program holds. The same classes serve the PC-side, PIM-side
// and phone-side lists; m_nList says which (1 PC, 2 PIM, 3 handset/phone, 4 SIM). Serialize's
// field orders are the data file format.
class CSyncRecord : public common::CSyncRecordBase {
public:
    void Serialize(CArchive& ar) override;
    // Copies from a record of the same class; a record of another class is ignored.
    virtual void Assign(const CSyncRecord& other) = 0;

    QString m_strAux;        // spare, archived; copied only by memos

protected:
    CSyncRecord() = default;
    CSyncRecord(const CSyncRecord&) = default;
    CSyncRecord& operator=(const CSyncRecord&) = default;
};

class CPhoneEntry final : public CSyncRecord {
public:
    void Serialize(CArchive& ar) override;
    void Assign(const CSyncRecord& other) override { common::AssignIfSame(*this, other); }
    void Assign(const CPhoneEntry& other);

    int m_nSimIndex = -1;
    QString m_strName;
    QString m_strMobile;     // a SIM entry keeps its single number here
    QString m_strOffice;
    QString m_strHome;
    QString m_strEmail;
    QString m_strExtra;      // spare, archived and copied
    QString m_strMemo;       // may hold several lines ("\r\n")
    int m_nGroup = 6;        // caller group 0-6; damaged input may hold anything, users check
    int m_nCopySource = 0;   // 1 mobile, 2 home, 3 office: which number a SIM copy took; not archived
};

class CScheduleEntry final : public CSyncRecord {
public:
    enum Repeat { RepeatNone, RepeatDaily, RepeatWeekly, RepeatMonthly, RepeatYearly };
    enum Alarm { AlarmNone, AlarmOnTime, Alarm15Min, Alarm30Min, Alarm1Hour, Alarm1Day };

    void Serialize(CArchive& ar) override;
    void Assign(const CSyncRecord& other) override { common::AssignIfSame(*this, other); }
    void Assign(const CScheduleEntry& other);

    QString m_strSubject;
    COleDateTime m_dtStart = common::TodayAtNoon();
    int m_nRepeat = RepeatNone;
    int m_nAlarm = AlarmNone;
};

class CMemoEntry final : public CSyncRecord {
public:
    void Serialize(CArchive& ar) override;
    void Assign(const CSyncRecord& other) override { common::AssignIfSame(*this, other); }
    void Assign(const CMemoEntry& other);

    QString m_strText;
};

class CSmsEntry final : public CSyncRecord {
public:
    enum Status { StatusUnsent = 1, StatusSent = 2, StatusUnread = 3, StatusRead = 4 };

    // One stored piece of a message.
    struct Part {
        int m_nIndex = -1;
        int m_nStorage = 0;  // 3 handset, 4 SIM
        QString m_strText;
    };
    static constexpr int kPartCount = 4;

    void Serialize(CArchive& ar) override;
    void Assign(const CSyncRecord& other) override { common::AssignIfSame(*this, other); }
    void Assign(const CSmsEntry& other);

    int m_nStatus = StatusUnsent;
    QString m_strText;
    QString m_strNumber;
    QString m_strName;       // the alpha field of a phone list line
    QString m_strDateTime;
    QString m_strPdu;        // hexadecimal PDU as the phone stores it; not archived
    int m_nReserved = -1;
    std::array<Part, kPartCount> m_parts;
};

// A list of records that owns them; the lists of the document and the fresh lists a phone read
// fills.
template <typename Record>
using RecordList = std::vector<std::unique_ptr<Record>>;

} // namespace dh1
