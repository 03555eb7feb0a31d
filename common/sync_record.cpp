#include "common/sync_record.h"

#include "platform/archive.h"

namespace common {

void CSyncRecordBase::Serialize(CArchive& ar)
{
    SerializeFields(ar, m_nIndex, m_strEntryID, m_nState, m_nList);
}

} // namespace common
