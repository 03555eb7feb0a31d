#include "link2/records.h"

#include "platform/archive.h"

namespace dh2 {

void CPhoneEntry::Serialize(CArchive& ar)
{
    CSyncRecord::Serialize(ar);
    SerializeFields(ar, m_strName, m_strMobile, m_strOffice, m_strHome, m_strFax, m_strEmail, m_nGroup, m_nSimIndex);
    if (ar.IsLoading())
        m_bCountsInGroup = false;
}

void CPhoneEntry::Assign(const CPhoneEntry& other)
{
    m_nIndex = other.m_nIndex;
    m_strName = other.m_strName;
    m_strMobile = other.m_strMobile;
    m_strOffice = other.m_strOffice;
    m_strHome = other.m_strHome;
    m_strFax = other.m_strFax;
    m_strEmail = other.m_strEmail;
    m_nGroup = other.m_nGroup;
    m_nList = other.m_nList;
    m_nSimIndex = other.m_nSimIndex;
}

void CScheduleEntry::Serialize(CArchive& ar)
{
    CSyncRecord::Serialize(ar);
    SerializeFields(ar, m_strSubject, m_dtStart, m_nRepeat, m_nAlarm, m_nKind);
}

void CScheduleEntry::Assign(const CScheduleEntry& other)
{
    m_nKind = other.m_nKind;
    m_nIndex = other.m_nIndex;
    m_strSubject = other.m_strSubject;
    m_dtStart = other.m_dtStart;
    m_nRepeat = other.m_nRepeat;
    m_nAlarm = other.m_nAlarm;
    m_nList = other.m_nList;
}

void CSmsEntry::Serialize(CArchive& ar)
{
    CSyncRecord::Serialize(ar);
    SerializeFields(ar, m_nStatus, m_strText, m_strNumber, m_strName, m_strDate, m_strTime);
}

void CSmsEntry::Assign(const CSmsEntry& other)
{
    m_nStatus = other.m_nStatus;
    m_strText = other.m_strText;
    m_strNumber = other.m_strNumber;
    m_strName = other.m_strName;
    m_strDate = other.m_strDate;
    m_strTime = other.m_strTime;
    m_nList = other.m_nList;
    m_nIndex = other.m_nIndex;
}

} // namespace dh2
