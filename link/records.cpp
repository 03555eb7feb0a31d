#include "link/records.h"

#include "platform/archive.h"

namespace dh1 {

void CSyncRecord::Serialize(CArchive& ar)
{
    CSyncRecordBase::Serialize(ar);
    SerializeFields(ar, m_strAux);
}

void CPhoneEntry::Serialize(CArchive& ar)
{
    CSyncRecord::Serialize(ar);
    SerializeFields(ar, m_strName, m_strMobile, m_strOffice, m_strHome, m_strEmail, m_strMemo, m_nGroup, m_nSimIndex,
                    m_strExtra);
}

void CPhoneEntry::Assign(const CPhoneEntry& other)
{
    m_nIndex = other.m_nIndex;
    m_strName = other.m_strName;
    m_strMobile = other.m_strMobile;
    m_strOffice = other.m_strOffice;
    m_strHome = other.m_strHome;
    m_strEmail = other.m_strEmail;
    m_strMemo = other.m_strMemo;
    m_nGroup = other.m_nGroup;
    m_nList = other.m_nList;
    m_nSimIndex = other.m_nSimIndex;
    m_strExtra = other.m_strExtra;
    m_nCopySource = other.m_nCopySource;
}

void CScheduleEntry::Serialize(CArchive& ar)
{
    CSyncRecord::Serialize(ar);
    SerializeFields(ar, m_strSubject, m_dtStart, m_nRepeat, m_nAlarm);
}

void CScheduleEntry::Assign(const CScheduleEntry& other)
{
    m_nIndex = other.m_nIndex;
    m_strSubject = other.m_strSubject;
    m_dtStart = other.m_dtStart;
    m_nRepeat = other.m_nRepeat;
    m_nAlarm = other.m_nAlarm;
}

void CMemoEntry::Serialize(CArchive& ar)
{
    CSyncRecord::Serialize(ar);
    SerializeFields(ar, m_strText);
}

void CMemoEntry::Assign(const CMemoEntry& other)
{
    m_nIndex = other.m_nIndex;
    m_strText = other.m_strText;
    m_strAux = other.m_strAux;
}

void CSmsEntry::Serialize(CArchive& ar)
{
    CSyncRecord::Serialize(ar);
    SerializeFields(ar, m_nStatus, m_strText, m_strNumber, m_strName, m_strDateTime);
}

void CSmsEntry::Assign(const CSmsEntry& other)
{
    m_nStatus = other.m_nStatus;
    m_nList = other.m_nList;
    m_nState = other.m_nState;
    m_strText = other.m_strText;
    m_strNumber = other.m_strNumber;
    m_strName = other.m_strName;
    m_strDateTime = other.m_strDateTime;
    m_nReserved = other.m_nReserved;
    for (int i = 0; i < kPartCount; ++i) {
        m_parts[size_t(i)].m_nIndex = other.m_parts[size_t(i)].m_nIndex;
        m_parts[size_t(i)].m_nStorage = other.m_parts[size_t(i)].m_nStorage;
    }
}

} // namespace dh1
