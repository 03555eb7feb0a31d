#include "link/record_rules.h"

#include "link/capacities.h"
#include "platform/phone_number.h"

#include <algorithm>

namespace dh1 {

IndexBounds HandsetIndexBounds()
{
    return {g_nHandsetFirstIndex, g_nHandsetFirstIndex + g_nHandsetCapacity - 1};
}

IndexBounds SimIndexBounds()
{
    return {std::max(1, g_nSimFirstIndex), g_nSimCapacity};
}

IndexBounds ScheduleIndexBounds()
{
    return {1, g_nScheduleCapacity};
}

IndexBounds MemoIndexBounds()
{
    return {g_nMemoFirstIndex, g_nMemoFirstIndex + g_nMemoCapacity - 1};
}

bool IsCallerGroup(int group)
{
    return group >= 0 && group < kCallerGroupCount;
}

bool IsScheduleStart(const COleDateTime& start)
{
    return start.GetStatus() == COleDateTime::valid && start.GetYear() >= kFirstScheduleYear
        && start.GetYear() <= kLastScheduleYear;
}

bool IsScheduleRepeat(int repeat)
{
    return repeat >= CScheduleEntry::RepeatNone && repeat <= CScheduleEntry::RepeatYearly;
}

bool IsScheduleAlarm(int alarm)
{
    return alarm >= CScheduleEntry::AlarmNone && alarm <= CScheduleEntry::Alarm1Day;
}

QString CleanPhoneNumber(const QString& number)
{
    return platform::kDeskhandNumbers.Clean(number);
}

} // namespace dh1
