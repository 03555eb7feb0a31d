#pragma once

#include "link/records.h"

namespace dh1 {

// What the first family's phone keeps: the indices of its lists, as far as the program knows
// them (the ranges of the last read, the first values before one), and the values of a record
// it can store. The session refuses anything else before sending; the driver refuses it
// before it opens the port.

struct IndexBounds {
    int first = 1;
    int last = 0;
    bool Contains(int index) const { return index >= first && index <= last; }
    // The index of a write: a new entry (-1) or one of the list.
    bool TakesWrite(int index) const { return index == -1 || Contains(index); }
};

// Each list's indices are the range its last read reported; a SIM book has no index 0.

IndexBounds HandsetIndexBounds();
IndexBounds SimIndexBounds();
IndexBounds ScheduleIndexBounds();
IndexBounds MemoIndexBounds();

// The caller groups 0 to 6.
inline constexpr int kCallerGroupCount = 7;
bool IsCallerGroup(int group);

// The schedule date field carries the year in two digits after 2000.
inline constexpr int kFirstScheduleYear = 2000;
inline constexpr int kLastScheduleYear = 2099;
// A valid start from 2000-01-01 to 2099-12-31.
bool IsScheduleStart(const COleDateTime& start);
bool IsScheduleRepeat(int repeat);
bool IsScheduleAlarm(int alarm);

// What a number field takes of a number (Deskhand's number rule): the digits, '#', '*', every
// pause letter 'p' or 'P', and a '+' only as the first character.
QString CleanPhoneNumber(const QString& number);

} // namespace dh1
