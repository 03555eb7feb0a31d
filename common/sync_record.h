#pragma once

#include "platform/ole_date_time.h"

#include <QString>

class CArchive;

namespace common {

// What every record of both programs carries to tie it to its places: the phone's storage index,
// the PIM item it mirrors, its state and the list that holds it (each program numbers its lists).
// Each program derives its own CSyncRecord, so that records of the two programs never mix.
class CSyncRecordBase {
public:
    enum State { StateUnchanged = 0, StateNew = 1, StateChanged = 2, StateDeleted = 3 };

    virtual ~CSyncRecordBase() = default;

    // The four fields in file order; each record class archives its own after them.
    virtual void Serialize(CArchive& ar);

    bool IsDeleted() const { return m_nState == StateDeleted; }

    int m_nIndex = -1;    // storage index on the phone, -1 when it has none
    QString m_strEntryID; // EntryID of the mirrored PIM item
    int m_nState = StateUnchanged;
    int m_nList = 0;

protected:
    CSyncRecordBase() = default;
    CSyncRecordBase(const CSyncRecordBase&) = default;
    CSyncRecordBase& operator=(const CSyncRecordBase&) = default;
};

// The Assign of a record class that takes any record of its program: a record of the same class
// is copied (by the class's own Assign), a record of another class is ignored.
template <typename Record, typename Base>
void AssignIfSame(Record& self, const Base& other)
{
    if (const auto* same = dynamic_cast<const Record*>(&other))
        self.Assign(*same);
}

// Where a new schedule entry starts in both programs: today at 12:00:00.
COleDateTime TodayAtNoon();

} // namespace common
