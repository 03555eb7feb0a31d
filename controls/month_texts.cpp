#include "controls/month_texts.h"

namespace monthtexts {

QString RepeatMark()
{
    return QStringLiteral("(R)");
}

bool EveryLaterOccurrence(const QDate& start, int repeat, const QDate& day)
{
    if (!start.isValid() || !day.isValid() || day <= start)
        return false;
    switch (repeat) {
    case RepeatDaily: return true;
    case RepeatWeekly: return start.daysTo(day) % 7 == 0;
    case RepeatMonthly: return day.day() == start.day();
    case RepeatYearly: return day.month() == start.month() && day.day() == start.day();
    default: return false;
    }
}

bool FourLaterOccurrences(const QDate& start, int repeat, const QDate& day)
{
    constexpr int kOccurrences = 4;
    if (!start.isValid() || !day.isValid() || day <= start)
        return false;
    switch (repeat) {
    case RepeatDaily: return start.daysTo(day) <= kOccurrences;
    case RepeatWeekly: return start.daysTo(day) % 7 == 0 && start.daysTo(day) <= 7 * kOccurrences;
    case RepeatMonthly: {
        // A day that exists has the start's day number only in the months counted from it.
        const int months = (day.year() - start.year()) * 12 + day.month() - start.month();
        return day.day() == start.day() && months >= 1 && months <= kOccurrences;
    }
    case RepeatYearly: {
        const int years = day.year() - start.year();
        return day.month() == start.month() && day.day() == start.day() && years >= 1 && years <= kOccurrences;
    }
    default: return false;
    }
}

QStringList DayTexts(int year, int month, const std::vector<Entry>& entries, const RepeatRule& rule)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    const int days = first.daysInMonth();
    const QDate last(year, month, days);
    // Collected per day and joined once: a busy day may hold hundreds of texts.
    std::vector<QStringList> texts(static_cast<size_t>(days));
    const QString mark = RepeatMark();
    for (const Entry& entry : entries) {
        if (!entry.start.isValid() || entry.start > last)
            continue;
        if (entry.start >= first)
            texts[size_t(entry.start.day() - 1)].append(entry.text);
        if (entry.repeat == RepeatNone || !rule)
            continue;
        for (int d = 1; d <= days; ++d) {
            if (rule(entry.start, entry.repeat, QDate(year, month, d)))
                texts[size_t(d - 1)].append(mark + entry.text);
        }
    }
    QStringList result;
    result.reserve(days);
    for (const QStringList& day : texts)
        result.append(day.join(u'\r'));
    return result;
}

std::vector<int> EntriesOn(const std::vector<Entry>& entries, const QDate& day)
{
    std::vector<int> on;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (day.isValid() && entries[i].start == day)
            on.push_back(int(i));
    }
    return on;
}

DayAction ActionForDay(int ownEntries)
{
    if (ownEntries <= 0)
        return DayAction::New;
    return ownEntries == 1 ? DayAction::Edit : DayAction::Pick;
}

} // namespace monthtexts
