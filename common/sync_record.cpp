#include "common/sync_record.h"

#include "platform/archive.h"

namespace common {

void CSyncRecordBase::Serialize(CArchive& ar)
{
    SerializeFields(ar, m_nIndex, m_strEntryID, m_nState, m_nList);
}

COleDateTime TodayAtNoon()
{
    const COleDateTime now = COleDateTime::GetCurrentTime();
    COleDateTime noon;
    noon.SetDateTime(now.GetYear(), now.GetMonth(), now.GetDay(), 12, 0, 0);
    return noon;
}

} // namespace common
